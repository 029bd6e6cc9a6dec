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
list(APPEND LOOM_RENDER_WIN32
  ${render_dir}/Render.cpp
  ${render_dir}/RenderImage.cpp
  ${render_dir}/RenderClip.cpp
  ${render_dir}/RenderBlend.cpp
  ${render_dir}/RenderHtmlCanvas.cpp)

# stb_image comes from the build machine's /usr/include/stb, which the cross
# compiler does not search; only the decoding source gets to see it, through
# a directory that holds nothing but a link to it.
set(render_stb_dir ${CMAKE_BINARY_DIR}/stb-include)
if(NOT EXISTS ${render_stb_dir}/stb/stb_image.h)
  file(MAKE_DIRECTORY ${render_stb_dir})
  file(CREATE_LINK /usr/include/stb ${render_stb_dir}/stb SYMBOLIC)
endif()
set_source_files_properties(${render_dir}/RenderImage.cpp PROPERTIES INCLUDE_DIRECTORIES ${render_stb_dir})
