# The render engine's portable sources: image strings, html text, value
# readers, pixel arithmetic. Paths are taken from this file's folder, so the
# fuzz targets can include it.
set(LOOM_RENDER_PORTABLE
  ${CMAKE_CURRENT_LIST_DIR}/ValueReaders.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ImageStringParser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ImageScale.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HtmlTokenizer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HtmlTagArgs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HtmlLayout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RenderPixels.cpp)
