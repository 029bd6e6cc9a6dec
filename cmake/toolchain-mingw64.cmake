# Cross-compiles the 64-bit Windows program with mingw-w64 (posix threads):
# the twin of the 32-bit program, for 64-bit Windows and for machines whose
# Wine runs 64-bit code only.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VELMORA_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
