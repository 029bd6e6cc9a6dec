# The control model, the layouts and the paint manager of the Loom toolkit.
# Paths are taken from this file's folder, so other folders (the fuzz targets) can include it.
# Portable files hold logic free of <windows.h>; they are built natively too.
set(LOOM_CONTROL_PORTABLE
  ${CMAKE_CURRENT_LIST_DIR}/Core/AttributeList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Core/EventSource.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Core/TextRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Core/XmlMarkup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Core/XmlMarkupNode.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Layout/LayoutArithmetic.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Control/ScrollBarGeometry.cpp
)
# The markup reader meets the code page and the file system through one file
# per platform: GBK and stdio natively, the ANSI code page and Win32 files in
# the Windows build.
if(NOT WIN32)
  list(APPEND LOOM_CONTROL_PORTABLE ${CMAKE_CURRENT_LIST_DIR}/Core/MarkupPlatformNative.cpp)
endif()
set(LOOM_CONTROL_WIN32
  ${CMAKE_CURRENT_LIST_DIR}/Core/MarkupPlatformWin32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Core/DialogBuilder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Core/ControlUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Core/ContainerUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Core/UIManager.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Core/UIManagerMessages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Core/UIManagerResources.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Core/WindowWnd.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Core/NotifyPump.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Core/WindowImplBase.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Layout/StackChildren.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Layout/StackLayoutUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Layout/VerticalLayoutUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Layout/HorizontalLayoutUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Layout/TabLayoutUI.cpp
)
# The standard controls: every source of Control/ is Windows code, except
# the portable ones listed above.
file(GLOB loom_control_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/Control/*.cpp)
list(REMOVE_ITEM loom_control_sources ${LOOM_CONTROL_PORTABLE})
list(APPEND LOOM_CONTROL_WIN32 ${loom_control_sources})
