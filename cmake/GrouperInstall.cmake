# Installation of libgrouper under the GNU directory layout: the C header, the
# shared library (versioned, with its soname) and the static library, the
# batch program, a CMake package and a pkg-config file.
#
#   find_package(grouper)  gives grouper::grouper (the shared library) and
#                          grouper::grouper_static
#   pkg-config grouper     gives -I<prefix>/include and -L<libdir> -lgrouper
#
# Both describe the installed tree relative to their own location, so that a
# tree installed with `cmake --install --prefix DIR` works wherever DIR is.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(GROUPER_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/grouper)

install(TARGETS grouper_shared grouper_static EXPORT grouperTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${CMAKE_SOURCE_DIR}/include/grouper/grouper.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/grouper)
install(TARGETS grouper RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(EXPORT grouperTargets NAMESPACE grouper:: FILE grouperTargets.cmake
  DESTINATION ${GROUPER_CMAKE_DIR})

file(WRITE ${CMAKE_BINARY_DIR}/grouperConfig.cmake.in [=[
# The grouper package: grouper::grouper links the shared library,
# grouper::grouper_static the static one (a C++ library: a C program that
# links it statically needs the C++ runtime).
@PACKAGE_INIT@
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
Libs.private: -lstdc++ -lm
]=])
install(FILES ${CMAKE_BINARY_DIR}/grouper.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
