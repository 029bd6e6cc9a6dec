# Common flags and helpers for every target of the project.

# Sources and the program's narrow texts are UTF-8, whatever the ANSI code
# page of the Windows they run on: every text crosses into Windows through
# the wide functions (platform/Wide.h).
add_compile_options(-finput-charset=UTF-8 -fexec-charset=UTF-8)
add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-Wall> $<$<COMPILE_LANGUAGE:CXX>:-Wextra>)

if(WIN32)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  # Test executables run under Wine through this wrapper: private prefix,
  # code page 936, COM ports mapped to pseudo-terminals, Xvfb on demand.
  set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_SOURCE_DIR}/scripts/wine-run;${CMAKE_BINARY_DIR}")
elseif(VELMORA_FUZZ)
  # Every library the fuzz targets link is built with the fuzzer's coverage.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(VELMORA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# The precompiled headers every test program shares, made once per build.
function(velmora_test_headers)
  if(TARGET velmora_test_headers)
    return()
  endif()
  set(source ${CMAKE_BINARY_DIR}/velmora_test_headers.cpp)
  file(WRITE ${source} "// The headers every test parses, compiled once.\n")
  add_library(velmora_test_headers OBJECT ${source})
  target_link_libraries(velmora_test_headers PRIVATE GTest::gtest)
  if(WIN32)
    target_precompile_headers(velmora_test_headers PRIVATE <gtest/gtest.h> <windows.h> <string> <vector>)
  else()
    target_precompile_headers(velmora_test_headers PRIVATE <gtest/gtest.h> <string> <vector>)
  endif()
endfunction()

# velmora_add_test(NAME SOURCES ... [LIBS ...] [DISPLAY] [SIM] [SETTINGS] [PORTS n ...])
# Declares one test executable (GoogleTest) and its ctest entry.
#   DISPLAY  the test opens windows (every program run by the Wine wrapper
#            gets its shared virtual display; the flag marks the need, and
#            such tests run one at a time).
#   SIM      the test starts the simulated radio: VELMORA_RADIOSIM names it.
#   SETTINGS the test reads or writes the program's settings key.
#   PORTS    COM numbers the test may map to pseudo-terminals; two tests
#            that run at the same time must not share one.
function(velmora_add_test NAME)
  cmake_parse_arguments(T "DISPLAY;SIM;SETTINGS" "" "SOURCES;LIBS;PORTS" ${ARGN})
  # A test without sources would vanish from the run unseen: it fails the
  # configure instead.
  if(NOT T_SOURCES)
    message(FATAL_ERROR "test ${NAME} has no sources")
  endif()
  add_executable(${NAME} ${T_SOURCES})
  target_link_libraries(${NAME} PRIVATE ${T_LIBS} GTest::gtest_main)
  # Every test file parses GoogleTest (and under Windows the Windows
  # headers): parsed once for all the test programs, which saves a third
  # of their build.
  velmora_test_headers()
  target_precompile_headers(${NAME} REUSE_FROM velmora_test_headers)
  add_test(NAME ${NAME} COMMAND ${NAME})
  # Under Wine the program is stopped 30 s before ctest's time-out of 600 s,
  # so that a test that hangs shows where (ctest's own kill shows nothing).
  set(env "VELMORA_TIME_LIMIT=570")
  if(T_DISPLAY)
    list(APPEND env "VELMORA_DISPLAY=1")
    # Programs with windows share one Wine desktop: run side by side, one
    # takes the keyboard focus (and closes the other's edit windows and
    # drop-downs) or covers what the other captures from the screen.
    set_tests_properties(${NAME} PROPERTIES RESOURCE_LOCK wine_desktop)
  endif()
  if(T_SETTINGS)
    # The program's settings key is one per Wine prefix: a test that deletes
    # it must not run beside one that checks it.
    set_property(TEST ${NAME} APPEND PROPERTY RESOURCE_LOCK settings_key)
  endif()
  if(T_PORTS)
    string(REPLACE ";" "," ports "${T_PORTS}")
    list(APPEND env "VELMORA_PORTS=${ports}")
  endif()
  if(T_SIM)
    add_dependencies(${NAME} radiosim)
    list(APPEND env "VELMORA_RADIOSIM=${VELMORA_RADIOSIM_PATH}")
  endif()
  if(env)
    set_tests_properties(${NAME} PROPERTIES ENVIRONMENT "${env}")
  endif()
endfunction()

# velmora_folder_library(NAME [LIBS ...]): a static library of every *.cpp in
# the current folder. Files named *Win32.cpp use the Windows API and are left
# out of the native build; the rest is portable.
function(velmora_folder_library NAME)
  cmake_parse_arguments(L "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT WIN32)
    list(FILTER sources EXCLUDE REGEX "Win32\\.cpp$")
  endif()
  add_library(${NAME} STATIC ${sources})
  target_include_directories(${NAME} PUBLIC ${CMAKE_SOURCE_DIR})
  if(L_LIBS)
    target_link_libraries(${NAME} PUBLIC ${L_LIBS})
  endif()
endfunction()

# velmora_write_library_graph(): writes BUILD_DIR/library-graph.txt, the
# project's own targets as the build declares them, for scripts/check-includes:
#   target NAME TYPE
#   source NAME PATH     (a source of the target, relative to the source root)
#   link NAME DEPENDENCY (a project target it links directly)
# and adds the target include_graph (built with everything) that runs the
# check, so that an include against the graph fails the build.
function(velmora_write_library_graph)
  set(targets "")
  set(pending ${CMAKE_SOURCE_DIR})
  while(pending)
    list(POP_FRONT pending dir)
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    get_property(here DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(subdir ${subdirs})
      # GoogleTest's own targets are not the project's.
      if(NOT subdir MATCHES "googletest")
        list(APPEND pending ${subdir})
      endif()
    endforeach()
    list(APPEND targets ${here})
  endwhile()
  set(lines "")
  foreach(t ${targets})
    get_target_property(type ${t} TYPE)
    if(NOT type MATCHES "^(STATIC_LIBRARY|EXECUTABLE|INTERFACE_LIBRARY)$")
      continue()
    endif()
    string(APPEND lines "target ${t} ${type}\n")
    get_target_property(dir ${t} SOURCE_DIR)
    get_target_property(sources ${t} SOURCES)
    if(sources)
      foreach(s ${sources})
        if(NOT IS_ABSOLUTE "${s}")
          set(s ${dir}/${s})
        endif()
        file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR} ${s})
        if(NOT rel MATCHES "^\\.\\." AND s MATCHES "\\.(cpp|c|h)$")
          string(APPEND lines "source ${t} ${rel}\n")
        endif()
      endforeach()
    endif()
    if(type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(links ${t} INTERFACE_LINK_LIBRARIES)
    else()
      get_target_property(links ${t} LINK_LIBRARIES)
    endif()
    if(links)
      foreach(l ${links})
        if(TARGET ${l} AND l IN_LIST targets)
          string(APPEND lines "link ${t} ${l}\n")
        endif()
      endforeach()
    endif()
  endforeach()
  file(WRITE ${CMAKE_BINARY_DIR}/library-graph.txt "${lines}")
  add_custom_target(include_graph ALL
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-includes ${CMAKE_BINARY_DIR}
    COMMENT "Checking that every include runs down the library graph" VERBATIM)
endfunction()

# velmora_json_headers(): the interface target json_headers, JSON for Modern
# C++ from the build machine's /usr/include/nlohmann (Debian's header-only
# package). The cross compilers do not search /usr/include, and must not:
# they see it through a folder that holds nothing but a link to it.
function(velmora_json_headers)
  if(TARGET json_headers)
    return()
  endif()
  set(dir ${CMAKE_BINARY_DIR}/json-include)
  if(NOT EXISTS /usr/include/nlohmann/json.hpp)
    message(FATAL_ERROR "nlohmann/json.hpp is missing: scripts/setup installs nlohmann-json3-dev")
  endif()
  if(NOT EXISTS ${dir}/nlohmann/json.hpp)
    file(MAKE_DIRECTORY ${dir})
    file(CREATE_LINK /usr/include/nlohmann ${dir}/nlohmann SYMBOLIC)
  endif()
  add_library(json_headers INTERFACE)
  target_include_directories(json_headers SYSTEM INTERFACE ${dir})
endfunction()
