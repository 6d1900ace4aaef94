# Cross build for Windows with Debian's MinGW-w64, for the target that the
# including toolchain file names (GROUPER_MINGW_TARGET, CMAKE_SYSTEM_PROCESSOR):
# mingw-w64-x86_64.cmake (64-bit) or mingw-w64-i686.cmake (32-bit).
#
# The "posix" flavour of the compiler is chosen because GCC 12's "win32"
# flavour has no std::thread, which the tests use. Programs and grouper.dll
# are linked statically against the compiler's runtime (libgcc, libstdc++,
# winpthread), so that they run on a bare Windows (or under Wine) without its
# DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${GROUPER_MINGW_TARGET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GROUPER_MINGW_TARGET}-g++-posix)
set(CMAKE_RC_COMPILER ${GROUPER_MINGW_TARGET}-windres)
set(CMAKE_DLLTOOL ${GROUPER_MINGW_TARGET}-dlltool)

set(CMAKE_FIND_ROOT_PATH /usr/${GROUPER_MINGW_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
