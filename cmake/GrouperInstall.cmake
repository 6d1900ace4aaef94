# Installation under the GNU directory layout (or a Windows folder: bin,
# include, lib, python, doc): the five programs, the C header, the shared
# library (versioned, with its soname) and the static library, a CMake
# package, a pkg-config file, the Python module and the documents.
#
#   find_package(grouper)  gives grouper::grouper (the shared library) and
#                          grouper::grouper_static (with the C++ runtime and
#                          the threads it needs, so that C programs link it)
#   pkg-config grouper     gives -I<prefix>/include and -L<libdir> -lgrouper
#   import grouper         finds the installed shared library by itself
#
# All three describe the installed tree relative to their own location, so
# that a tree installed with `cmake --install --prefix DIR` (or a package
# unpacked elsewhere) works wherever DIR is.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(GROUPER_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/grouper)
if(WIN32)
  set(grouper_python_default python)
  set(grouper_doc_default doc)
else()
  # Where Debian's python3 looks for modules of the system's packages.
  set(grouper_python_default lib/python3/dist-packages)
  set(grouper_doc_default ${CMAKE_INSTALL_DOCDIR})
endif()
set(GROUPER_INSTALL_PYTHONDIR ${grouper_python_default} CACHE STRING
  "Folder of the Python module, relative to the installation prefix")
set(GROUPER_INSTALL_DOCDIR ${grouper_doc_default} CACHE STRING
  "Folder of the README and its documents, the Korean guide, the LICENSE, the CHANGELOG and the sample")

# A C program links the static library with the C compiler, which knows
# nothing of the C++ runtime, the maths library and the threads of the
# batch's workers that the library's objects call; they come with the target.
find_package(Threads REQUIRED)
target_link_libraries(grouper_static INTERFACE Threads::Threads)
if(NOT MSVC)
  target_link_libraries(grouper_static INTERFACE stdc++ m)
endif()

if(WIN32 AND NOT MSVC)
  # grouper.dll, as Windows programs name a DLL, with the MinGW import library
  # libgrouper.dll.a and, made from the exported functions, grouper.lib, an
  # import library that Microsoft's linker reads. The compiler's runtime is
  # linked in (the toolchain links statically), so the DLL stands alone.
  set_target_properties(grouper_shared PROPERTIES PREFIX "")
  set(grouper_def ${CMAKE_BINARY_DIR}/grouper.def)
  if(NOT CMAKE_DLLTOOL)
    find_program(CMAKE_DLLTOOL NAMES ${CMAKE_C_COMPILER_TARGET}-dlltool x86_64-w64-mingw32-dlltool
      dlltool REQUIRED)
  endif()
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # 32-bit Windows: the functions are __stdcall (GROUPER_CALL), whose names
    # a compiler decorates as _name@N (N: the bytes of the arguments).
    # grouper.dll exports them by their plain names (--kill-at), as Visual
    # Basic 6, PowerBuilder and Delphi declare them; both import libraries
    # link a C program's decorated references to those plain names. The
    # linker's list (name = name@N) gives the decorated list that dlltool
    # reads, and grouper.def, the plain names, installed beside grouper.lib.
    set(grouper_linker_def ${CMAKE_BINARY_DIR}/grouper-linker.def)
    set(grouper_stdcall_def ${CMAKE_BINARY_DIR}/grouper-stdcall.def)
    target_link_options(grouper_shared PRIVATE "LINKER:--kill-at"
      "LINKER:--output-def,${grouper_linker_def}")
    # Microsoft's linker refuses GNU dlltool's import objects in an image with
    # safe exception handlers (/SAFESEH, on in Visual Studio's 32-bit
    # projects): grouper.lib is made by LLVM's dlltool, whose short import
    # objects it takes, where one is installed.
    find_program(GROUPER_LLVM_DLLTOOL NAMES llvm-dlltool llvm-dlltool-14
      DOC "LLVM's dlltool, which makes grouper.lib for 32-bit Windows")
    if(GROUPER_LLVM_DLLTOOL)
      set(grouper_msvc_import_library ${GROUPER_LLVM_DLLTOOL} -m i386 -k -d ${grouper_stdcall_def}
        -D grouper.dll -l ${CMAKE_BINARY_DIR}/grouper.lib)
    else()
      message(WARNING "No llvm-dlltool (Debian: llvm): grouper.lib for 32-bit Windows is made by "
        "GNU dlltool, and Microsoft's linker takes it only with /SAFESEH:NO")
      set(grouper_msvc_import_library ${CMAKE_DLLTOOL} --kill-at --input-def ${grouper_stdcall_def}
        --dllname grouper.dll --output-lib ${CMAKE_BINARY_DIR}/grouper.lib)
    endif()
    add_custom_command(TARGET grouper_shared POST_BUILD
      COMMAND ${CMAKE_COMMAND} -DLINKER_DEF=${grouper_linker_def} -DPLAIN_DEF=${grouper_def}
        -DSTDCALL_DEF=${grouper_stdcall_def} -P ${CMAKE_SOURCE_DIR}/cmake/windows/stdcall_exports.cmake
      COMMAND ${grouper_msvc_import_library}
      COMMAND ${CMAKE_DLLTOOL} --kill-at --input-def ${grouper_stdcall_def} --dllname grouper.dll
        --output-lib $<TARGET_LINKER_FILE:grouper_shared>
      BYPRODUCTS ${CMAKE_BINARY_DIR}/grouper.lib ${grouper_def} ${grouper_linker_def}
        ${grouper_stdcall_def}
      COMMENT "Import libraries of grouper.dll (x86): decorated names to the plain exports")
    install(FILES ${grouper_def} DESTINATION ${CMAKE_INSTALL_LIBDIR})
  else()
    target_link_options(grouper_shared PRIVATE "LINKER:--output-def,${grouper_def}")
    # dlltool names its symbols after the output's path: a name relative to
    # the build folder makes the same grouper.lib wherever the build lies.
    add_custom_command(TARGET grouper_shared POST_BUILD
      COMMAND ${CMAKE_DLLTOOL} --input-def ${grouper_def} --dllname grouper.dll
        --output-lib grouper.lib
      WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
      BYPRODUCTS ${CMAKE_BINARY_DIR}/grouper.lib ${grouper_def}
      COMMENT "Import library grouper.lib from the exports of grouper.dll")
  endif()
  install(FILES ${CMAKE_BINARY_DIR}/grouper.lib DESTINATION ${CMAKE_INSTALL_LIBDIR})
  set(grouper_library_file ${CMAKE_INSTALL_BINDIR}/grouper.dll)
else()
  set(grouper_library_file ${CMAKE_INSTALL_LIBDIR}/libgrouper.so.${GROUPER_SOVERSION})
endif()

install(TARGETS grouper_shared grouper_static EXPORT grouperTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${CMAKE_SOURCE_DIR}/include/grouper/grouper.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/grouper)
install(TARGETS grouper grouper-explain grouper-report grouper-sample grouper-month
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(EXPORT grouperTargets NAMESPACE grouper:: FILE grouperTargets.cmake
  DESTINATION ${GROUPER_CMAKE_DIR})

file(WRITE ${CMAKE_BINARY_DIR}/grouperConfig.cmake.in [=[
# The grouper package: grouper::grouper links the shared library,
# grouper::grouper_static the static one, which brings the C++ runtime and the
# threads library with it (a C program links it as it is).
@PACKAGE_INIT@
include(CMakeFindDependencyMacro)
find_dependency(Threads)
include("${CMAKE_CURRENT_LIST_DIR}/grouperTargets.cmake")
check_required_components(grouper)
]=])
configure_package_config_file(${CMAKE_BINARY_DIR}/grouperConfig.cmake.in
  ${CMAKE_BINARY_DIR}/grouperConfig.cmake INSTALL_DESTINATION ${GROUPER_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/grouperConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/grouperConfig.cmake
  ${CMAKE_BINARY_DIR}/grouperConfigVersion.cmake DESTINATION ${GROUPER_CMAKE_DIR})

# pkg-config: the prefix is found from the file's own directory (pcfiledir),
# unless the library directory was given as an absolute path.
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  set(GROUPER_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
  set(GROUPER_PC_LIBDIR "${CMAKE_INSTALL_LIBDIR}")
else()
  string(REGEX REPLACE "[^/]+" ".." GROUPER_PC_UP "${CMAKE_INSTALL_LIBDIR}/pkgconfig")
  set(GROUPER_PC_PREFIX "\${pcfiledir}/${GROUPER_PC_UP}")
  set(GROUPER_PC_LIBDIR "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
endif()
if(IS_ABSOLUTE "${CMAKE_INSTALL_INCLUDEDIR}")
  set(GROUPER_PC_INCLUDEDIR "${CMAKE_INSTALL_INCLUDEDIR}")
else()
  set(GROUPER_PC_INCLUDEDIR "\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}")
endif()
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/grouper.pc @ONLY CONTENT [=[
prefix=@GROUPER_PC_PREFIX@
libdir=@GROUPER_PC_LIBDIR@
includedir=@GROUPER_PC_INCLUDEDIR@

Name: grouper
Description: Patient group codes of long-term care assessment records
Version: @PROJECT_VERSION@
Cflags: -I${includedir}
Libs: -L${libdir} -lgrouper
Libs.private: -lstdc++ -lm -pthread
]=])
install(FILES ${CMAKE_BINARY_DIR}/grouper.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# The Python module, and beside it where the shared library lies relative to
# the module's folder, which the module reads when no variable names one.
file(RELATIVE_PATH grouper_python_to_library /prefix/${GROUPER_INSTALL_PYTHONDIR}/grouper
  /prefix/${grouper_library_file})
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/python/_location.py @ONLY CONTENT [=[
"""Where the installation put libgrouper, relative to this folder."""

LIBRARY = "@grouper_python_to_library@"
]=])
install(FILES ${CMAKE_SOURCE_DIR}/python/grouper/__init__.py ${CMAKE_BINARY_DIR}/python/_location.py
  DESTINATION ${GROUPER_INSTALL_PYTHONDIR}/grouper)

install(FILES README.md LICENSE examples/sample.in DESTINATION ${GROUPER_INSTALL_DOCDIR})
# The README's documents for the installed programs and library, in docs/ as
# its links name them, and the Korean guide for clerks (HTML, its stylesheet
# and pictures), which the Start menu opens as doc\ko\index.html.
install(FILES docs/output.md docs/library.md docs/windows.md docs/packages.md docs/32-bit.md
  DESTINATION ${GROUPER_INSTALL_DOCDIR}/docs)
install(DIRECTORY docs/ko/ DESTINATION ${GROUPER_INSTALL_DOCDIR}/ko)
# The batch's note on ignored arguments sends the person to the installed
# guide's page on the batch (its section "분류 프로그램 grouper를 직접 쓸 때"): by
# its full path, or on Windows by its path in the installation folder, which
# the installer lets the user choose.
set(grouper_batch_guide ko/month.html)
if(NOT EXISTS ${CMAKE_SOURCE_DIR}/docs/${grouper_batch_guide})
  message(FATAL_ERROR "the batch's note names docs/${grouper_batch_guide}, which is missing")
endif()
set(grouper_batch_guide ${GROUPER_INSTALL_DOCDIR}/${grouper_batch_guide})
if(NOT IS_ABSOLUTE ${grouper_batch_guide} AND NOT WIN32)
  set(grouper_batch_guide ${CMAKE_INSTALL_PREFIX}/${grouper_batch_guide})
endif()
set_property(SOURCE src/batch/batch_run.cpp TARGET_DIRECTORY grouper_objects APPEND PROPERTY
  COMPILE_DEFINITIONS GROUPER_BATCH_GUIDE="${grouper_batch_guide}")
find_program(GROUPER_GZIP gzip)
if(WIN32 OR NOT GROUPER_GZIP)
  install(FILES CHANGELOG.md DESTINATION ${GROUPER_INSTALL_DOCDIR})
else()
  # Debian's name for a program's own changelog, compressed without a name or
  # a time stamp.
  execute_process(COMMAND ${GROUPER_GZIP} -9nc ${CMAKE_SOURCE_DIR}/CHANGELOG.md
    OUTPUT_FILE ${CMAKE_BINARY_DIR}/changelog.gz COMMAND_ERROR_IS_FATAL ANY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/CHANGELOG.md)
  install(FILES ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${GROUPER_INSTALL_DOCDIR})
endif()
