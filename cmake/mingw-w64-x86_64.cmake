# Cross build for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64);
# see mingw-w64.cmake.
set(GROUPER_MINGW_TARGET x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
