# Read by cpack for each package it makes: what goes into it.
set(_velmora_program "${CPACK_VELMORA_BUILD_DIR};${CPACK_PACKAGE_NAME};program;/")
if(CPACK_GENERATOR STREQUAL "ZIP")
  set(CPACK_INSTALL_CMAKE_PROJECTS "${_velmora_program};${CPACK_VELMORA_BUILD_DIR};${CPACK_PACKAGE_NAME};portable;/")
else()
  set(CPACK_INSTALL_CMAKE_PROJECTS "${_velmora_program}")
endif()
