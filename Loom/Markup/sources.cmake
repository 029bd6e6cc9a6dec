# The markup reader's portable sources. It meets the code page and the file
# system through one file per platform: GBK and stdio natively
# (MarkupPlatformNative.cpp), the ANSI code page and Win32 files in the
# Windows build (MarkupPlatformWin32.cpp).
set(LOOM_MARKUP_PORTABLE
  ${CMAKE_CURRENT_LIST_DIR}/XmlMarkup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/XmlMarkupNode.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MarkupPlatform.cpp)
if(NOT WIN32)
  list(APPEND LOOM_MARKUP_PORTABLE ${CMAKE_CURRENT_LIST_DIR}/MarkupPlatformNative.cpp)
endif()
