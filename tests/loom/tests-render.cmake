# Tests of the render engine: the portable logic natively (ASan/UBSan) and,
# in the Windows build, the same plus painting into DIB sections under Wine.
set(render_portable_tests
  ${CMAKE_CURRENT_LIST_DIR}/RenderValueReadersTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ImageStringParserTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ImageScaleTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HtmlTokenizerTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HtmlLayoutTest.cpp)
if(WIN32 AND TARGET loom)
  # The test program carries its own PNG resources for LoadImage.
  set(render_images ${CMAKE_CURRENT_LIST_DIR}/images)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/RenderTest.rc.in ${CMAKE_CURRENT_BINARY_DIR}/RenderTest.rc @ONLY)
  velmora_add_test(loom_render_test
    SOURCES ${render_portable_tests}
      ${CMAKE_CURRENT_LIST_DIR}/RenderImageTest.cpp
      ${CMAKE_CURRENT_LIST_DIR}/RenderColorTest.cpp
      ${CMAKE_CURRENT_LIST_DIR}/HtmlTextTest.cpp
      ${CMAKE_CURRENT_LIST_DIR}/RenderLeakTest.cpp
      ${CMAKE_CURRENT_BINARY_DIR}/RenderTest.rc
    LIBS loom)
elseif(WIN32)
  velmora_add_test(loom_render_test
    SOURCES ${render_portable_tests}
    LIBS loom_render)
else()
  velmora_add_test(loom_render_portable_test
    SOURCES ${render_portable_tests}
    LIBS loom_render)
endif()
