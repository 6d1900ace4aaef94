# The project's version, PROJECT_VERSION, is the one place where a release is
# numbered. Three copies of it are written as literals, because their files are
# read as they stand in the source tree (the C header by any compiler, the
# Python module straight from python/): GROUPER_VERSION and
# GROUPER_VERSION_NUMBER (major * 1000000 + minor * 1000 + patch) in grouper.h
# and __version__ in the Python module. Configuring stops when any differs, so
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

# GROUPER_VERSION_NUMBER: the number that the project's version makes. A minor
# or patch number of 1000 or more cannot be written so.
if(PROJECT_VERSION_MINOR GREATER_EQUAL 1000 OR PROJECT_VERSION_PATCH GREATER_EQUAL 1000)
  message(FATAL_ERROR "version ${PROJECT_VERSION}: GROUPER_VERSION_NUMBER holds minor and "
    "patch numbers below 1000 only")
endif()
math(EXPR grouper_version_number
  "${PROJECT_VERSION_MAJOR} * 1000000 + ${PROJECT_VERSION_MINOR} * 1000 + ${PROJECT_VERSION_PATCH}")
file(STRINGS ${CMAKE_SOURCE_DIR}/include/grouper/grouper.h lines
  REGEX "^#define GROUPER_VERSION_NUMBER ")
if(NOT lines MATCHES "^#define GROUPER_VERSION_NUMBER ([0-9]+)[ \t]*(/\\*.*)?$")
  message(FATAL_ERROR "include/grouper/grouper.h: no version number "
    "(#define GROUPER_VERSION_NUMBER <digits>)")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL grouper_version_number)
  message(FATAL_ERROR "include/grouper/grouper.h says GROUPER_VERSION_NUMBER ${CMAKE_MATCH_1}, "
    "the project's version ${PROJECT_VERSION} makes ${grouper_version_number}: change both together")
endif()
