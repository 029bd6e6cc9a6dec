# The render engine: image strings, html text, value readers (portable) and
# the GDI drawing operations (Windows).
set(render_dir ${CMAKE_CURRENT_LIST_DIR}/Core)
list(APPEND LOOM_RENDER_PORTABLE
  ${render_dir}/ValueReaders.cpp
  ${render_dir}/ImageStringParser.cpp
  ${render_dir}/HtmlTokenizer.cpp
  ${render_dir}/HtmlTagArgs.cpp
  ${render_dir}/HtmlLayout.cpp
  ${render_dir}/RenderPixels.cpp)
