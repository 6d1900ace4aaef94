# The project's version, PROJECT_VERSION, is the one place where a release is
# numbered. Two copies of it are written as literals, because their files are
# read as they stand in the source tree (the C header by any compiler, the
# Python module straight from python/): GROUPER_VERSION in grouper.h and
# __version__ in the Python module. Configuring stops when either differs, so
# no build, package or installed file can carry another number.
function(grouper_check_version_literal file pattern)
  file(STRINGS ${file} lines REGEX "${pattern}")
  if(NOT lines MATCHES "\"([0-9]+\\.[0-9]+\\.[0-9]+)\"")
    message(FATAL_ERROR "${file}: no version literal (${pattern})")
  endif()
  if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "${file} says version ${CMAKE_MATCH_1}, the project ${PROJECT_VERSION}: "
      "change both together")
  endif()
endfunction()

grouper_check_version_literal(${CMAKE_SOURCE_DIR}/include/grouper/grouper.h
  "^#define GROUPER_VERSION ")
grouper_check_version_literal(${CMAKE_SOURCE_DIR}/python/grouper/__init__.py "^__version__ = ")
