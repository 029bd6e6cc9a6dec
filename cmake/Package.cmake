# The release packages, made by scripts/package with CPack: an installer
# (NSIS, per machine, with a Start menu shortcut and an uninstaller) and a
# portable zip (the program and a short text on how to start it). Their names
# carry the project version, like the version resource and the About dialog.
if(NOT (WIN32 AND TARGET VelmoraConfig))
  return()
endif()

# The program needs nothing beside itself: the runtime is linked in
# statically and the images, icon and manifest are its resources. Its console
# twin (VelmoraConfig.com, the command line for prompts and batch files) goes
# beside it.
install(TARGETS VelmoraConfig VelmoraConfigConsole RUNTIME DESTINATION . COMPONENT program)
# The user guide, in English and Chinese, beside the program: F1 opens it.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/guide/ DESTINATION guide COMPONENT program)
set(velmora_readme ${CMAKE_BINARY_DIR}/package/ReadMe.txt)
configure_file(${CMAKE_CURRENT_LIST_DIR}/package/ReadMe.txt.in ${velmora_readme} @ONLY NEWLINE_STYLE WIN32)
install(FILES ${velmora_readme} DESTINATION . COMPONENT portable EXCLUDE_FROM_ALL)

# cpack builds the program alone, not the tests and benchmarks.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)

set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VENDOR "Quillet")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Velmora Configuration Tool for UHF data radios")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME ${VELMORA_PACKAGE_FILE_NAME})
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Velmora Configuration Tool")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY ${PROJECT_NAME})
set(CPACK_STRIP_FILES TRUE)
set(CPACK_GENERATOR NSIS ZIP)

set(CPACK_NSIS_DISPLAY_NAME "Velmora Configuration Tool")
set(CPACK_NSIS_PACKAGE_NAME "Velmora Configuration Tool")
if(VELMORA_ARCH STREQUAL x64)
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
  set(CPACK_VELMORA_NSIS_TARGET amd64-unicode)
  set(CPACK_VELMORA_REG_VIEW 64)
else()
  # A 32-bit program: "Program Files (x86)" on a 64-bit Windows.
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES")
  set(CPACK_VELMORA_NSIS_TARGET x86-unicode)
  set(CPACK_VELMORA_REG_VIEW 32)
endif()
set(CPACK_NSIS_UNINSTALL_NAME "Uninstall")
set(CPACK_VELMORA_PROGRAM "VelmoraConfig.exe")
set(CPACK_VELMORA_ICON "${CMAKE_SOURCE_DIR}/res/VelmoraConfig.ico")
set(CPACK_VELMORA_VERSION4 "${VELMORA_VERSION_MAJOR}.${VELMORA_VERSION_MINOR}.${VELMORA_VERSION_PATCH}.${VELMORA_VERSION_BUILD}")
# The installer's script is our own (cmake/package/NSIS.template.in).
list(APPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/package)

# The installer takes the program alone, the zip the text on how to start it
# as well.
set(CPACK_VELMORA_BUILD_DIR ${CMAKE_BINARY_DIR})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/package/PerGenerator.cmake)

include(CPack)
