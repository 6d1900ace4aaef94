# GoogleTest for the test suite. Sets GROUPER_WITH_TESTS.
#
# A cross build compiles GoogleTest from its sources (GROUPER_GTEST_SOURCE_DIR,
# Debian's libgtest-dev ships them in /usr/src/googletest), since the
# installed library is built for the build machine. Without GoogleTest the
# program and the tools are still built; the test suite is skipped, and a
# single test that fails with the reason keeps `ctest` from passing on
# nothing.
set(GROUPER_WITH_TESTS OFF)
if(NOT GROUPER_BUILD_TESTS)
  return()
endif()

set(GROUPER_GTEST_SOURCE_DIR "" CACHE PATH "GoogleTest sources to compile for the target (cross builds)")
if(GROUPER_GTEST_SOURCE_DIR)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(${GROUPER_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  if(NOT TARGET GTest::gtest)  # older GoogleTest sources define no namespaced target
    add_library(GTest::gtest ALIAS gtest)
  endif()
  set(GROUPER_WITH_TESTS ON)
else()
  find_package(GTest)
  if(GTest_FOUND)
    set(GROUPER_WITH_TESTS ON)
  else()
    message(WARNING
      "GoogleTest was not found: the tests are skipped; grouper and the tools are built. "
      "Install it (apt-get install libgtest-dev) and configure again to build the tests.")
    enable_testing()
    add_test(NAME test_suite_not_built
      COMMAND ${CMAKE_COMMAND} -P ${CMAKE_CURRENT_LIST_DIR}/test_suite_not_built.cmake)
  endif()
endif()
