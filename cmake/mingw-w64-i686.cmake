# Cross build for 32-bit Windows (x86) with Debian's MinGW-w64
# (g++-mingw-w64-i686), for the 32-bit programs that load grouper.dll: those
# written in Visual Basic 6, PowerBuilder or Delphi, and .NET programs that run
# as 32-bit processes. As for 64-bit Windows (mingw-w64-x86_64.cmake): the
# "posix" flavour of the compiler, for std::thread, and the compiler's runtime
# linked statically, so that grouper.dll and the programs stand alone.
#
# The C runtime's time_t is 32 bits wide here; the date rules do not depend
# on it (see LocalTimeValue in validate/field_text.cpp).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_DLLTOOL i686-w64-mingw32-dlltool)

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
