# Tests of the control model, the layouts and the paint manager: the portable
# arithmetic natively (ASan/UBSan) and, in the Windows build, the same plus
# real windows on the virtual display under Wine.
set(control_portable_tests
  ${CMAKE_CURRENT_LIST_DIR}/DpiScaleTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LayoutArithmeticTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ControlPortableTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScrollBarGeometryTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/XmlMarkupTest.cpp)
file(GLOB control_window_tests CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_LIST_DIR}/Control*Win32Test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Layout*Win32Test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Manager*Win32Test.cpp)
if(WIN32 AND TARGET loom)
  # The standard controls' tests carry their own PNG resources; TestHeap
  # replaces this program's global operator new and delete (and no other's).
  set(control_images ${CMAKE_CURRENT_LIST_DIR}/images)
  set(control_rc ${CMAKE_CURRENT_BINARY_DIR}/ControlTest.rc)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/ControlTest.rc.in ${control_rc} @ONLY)
  set_source_files_properties(${control_rc} PROPERTIES OBJECT_DEPENDS
    "${control_images}/control_solid.png;${control_images}/control_scaled.png;${control_images}/control_scaled@150.png")
  velmora_add_test(loom_control_test
    SOURCES ${control_portable_tests} ${control_window_tests} ${CMAKE_CURRENT_LIST_DIR}/TestHeap.cpp ${control_rc}
    LIBS loom testkit oleacc DISPLAY)
else()
  velmora_add_test(loom_portable_test
    SOURCES ${control_portable_tests}
    LIBS loom_core)
endif()

# The visible check: the showcase window (testkit/Showcase.h, with its
# images), painted on the virtual display and saved as showcase.png beside
# the test program, and the standard controls' window built from markup,
# saved as controls_showcase.png.
if(WIN32 AND TARGET loom)
  velmora_add_test(loom_showcase_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/ShowcaseWin32Test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/ShowcaseControlsWin32Test.cpp
    LIBS loom testkit testkit_showcase_images DISPLAY)
  target_compile_definitions(loom_showcase_test PRIVATE LOOM_SHOWCASE_PNG="${CMAKE_CURRENT_BINARY_DIR}/showcase.png"
    LOOM_CONTROLS_SHOWCASE_PNG="${CMAKE_CURRENT_BINARY_DIR}/controls_showcase.png")
endif()
