# Tests of the control model, the layouts and the paint manager: the portable
# arithmetic natively (ASan/UBSan) and, in the Windows build, the same plus
# real windows on the virtual display under Wine.
set(control_portable_tests
  ${CMAKE_CURRENT_LIST_DIR}/LayoutArithmeticTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ControlPortableTest.cpp)
file(GLOB control_window_tests CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_LIST_DIR}/Control*Win32Test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Layout*Win32Test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Manager*Win32Test.cpp)
if(WIN32 AND TARGET loom)
  velmora_add_test(loom_control_test
    SOURCES ${control_portable_tests} ${control_window_tests} ${CMAKE_CURRENT_LIST_DIR}/LoomTestWindow.cpp
    LIBS loom test_support DISPLAY)
else()
  velmora_add_test(loom_portable_test
    SOURCES ${control_portable_tests}
    LIBS loom_portable)
endif()
