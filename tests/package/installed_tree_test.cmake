# The test `installed_tree` (option GROUPER_TEST_INSTALL, on in the package
# presets): installs the build into a folder of its own and checks it as its
# users get it, with check_installed_tree.cmake. A cross build's programs run
# under its emulator (Wine).
set(grouper_expected
  ${CMAKE_INSTALL_INCLUDEDIR}/grouper/grouper.h
  ${CMAKE_INSTALL_LIBDIR}/cmake/grouper/grouperConfig.cmake
  ${CMAKE_INSTALL_LIBDIR}/cmake/grouper/grouperConfigVersion.cmake
  ${CMAKE_INSTALL_LIBDIR}/cmake/grouper/grouperTargets.cmake
  ${CMAKE_INSTALL_LIBDIR}/pkgconfig/grouper.pc
  ${GROUPER_INSTALL_PYTHONDIR}/grouper/__init__.py
  ${GROUPER_INSTALL_PYTHONDIR}/grouper/_location.py
  ${GROUPER_INSTALL_DOCDIR}/README.md
  ${GROUPER_INSTALL_DOCDIR}/LICENSE
  ${GROUPER_INSTALL_DOCDIR}/sample.in
  ${GROUPER_INSTALL_DOCDIR}/docs/output.md
  ${GROUPER_INSTALL_DOCDIR}/docs/library.md
  ${GROUPER_INSTALL_DOCDIR}/docs/windows.md ${GROUPER_INSTALL_DOCDIR}/docs/packages.md
  ${GROUPER_INSTALL_DOCDIR}/docs/32-bit.md)
# Every file of the Korean guide, as the source tree holds it.
file(GLOB_RECURSE grouper_guide CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}/docs/ko ${CMAKE_SOURCE_DIR}/docs/ko/*)
foreach(file IN LISTS grouper_guide)
  list(APPEND grouper_expected ${GROUPER_INSTALL_DOCDIR}/ko/${file})
endforeach()
foreach(program grouper grouper-month grouper-explain grouper-report grouper-sample)
  list(APPEND grouper_expected ${CMAKE_INSTALL_BINDIR}/${program}${CMAKE_EXECUTABLE_SUFFIX})
endforeach()
if(WIN32)
  list(APPEND grouper_expected ${GROUPER_INSTALL_DOCDIR}/CHANGELOG.md ${CMAKE_INSTALL_BINDIR}/grouper.dll
    ${CMAKE_INSTALL_LIBDIR}/libgrouper.dll.a ${CMAKE_INSTALL_LIBDIR}/libgrouper.a)
  if(NOT MSVC)
    list(APPEND grouper_expected ${CMAKE_INSTALL_LIBDIR}/grouper.lib)
  endif()
else()
  list(APPEND grouper_expected ${GROUPER_INSTALL_DOCDIR}/changelog.gz
    ${CMAKE_INSTALL_MANDIR}/man1/grouper.1.gz ${CMAKE_INSTALL_LIBDIR}/libgrouper.so
    ${CMAKE_INSTALL_LIBDIR}/libgrouper.so.${GROUPER_SOVERSION}
    ${CMAKE_INSTALL_LIBDIR}/libgrouper.so.${PROJECT_VERSION} ${CMAKE_INSTALL_LIBDIR}/libgrouper.a)
endif()

set(grouper_python "")
if(NOT CMAKE_CROSSCOMPILING)
  find_package(Python3 COMPONENTS Interpreter)
  if(Python3_Interpreter_FOUND)
    set(grouper_python ${Python3_EXECUTABLE})
  endif()
endif()

string(REPLACE ";" "|" grouper_expected "${grouper_expected}")
add_test(NAME installed_tree COMMAND ${CMAKE_COMMAND}
  -DBUILD_DIR=${CMAKE_BINARY_DIR}
  -DSOURCE_DIR=${CMAKE_SOURCE_DIR}
  -DWORK_DIR=${CMAKE_BINARY_DIR}/installed_tree
  -DCONFIG=$<CONFIG>
  -DVERSION=${PROJECT_VERSION}
  -DEXPECTED=${grouper_expected}
  -DBINDIR=${CMAKE_INSTALL_BINDIR}
  -DLIBDIR=${CMAKE_INSTALL_LIBDIR}
  -DPYTHONDIR=${GROUPER_INSTALL_PYTHONDIR}
  -DEXE=${CMAKE_EXECUTABLE_SUFFIX}
  -DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR}
  -DTOOLCHAIN=${CMAKE_TOOLCHAIN_FILE}
  -DGENERATOR=${CMAKE_GENERATOR}
  -DPYTHON=${grouper_python}
  -P ${CMAKE_CURRENT_LIST_DIR}/check_installed_tree.cmake)
set_tests_properties(installed_tree PROPERTIES TIMEOUT 600)
