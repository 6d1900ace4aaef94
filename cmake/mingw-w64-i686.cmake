# Cross build for 32-bit Windows (x86) with Debian's MinGW-w64
# (g++-mingw-w64-i686), for the 32-bit programs that load grouper.dll: those
# written in Visual Basic 6, PowerBuilder or Delphi, and .NET programs that run
# as 32-bit processes; see mingw-w64.cmake.
#
# The C runtime's time_t is 32 bits wide here; the date rules do not depend
# on it (see LocalTimeValue in validate/field_text.cpp).
set(GROUPER_MINGW_TARGET i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
