# The project's version is written once: GROUPER_VERSION_MAJOR, _MINOR and
# _PATCH in include/grouper/grouper.h, from which the header itself derives
# GROUPER_VERSION and GROUPER_VERSION_NUMBER (the header is read as it stands
# in the source tree, by any compiler, so it holds the numbers rather than
# taking them from the build). Included before project(), this file reads
# them into grouper_version for project(VERSION), and every package, binding,
# manual page and installed file takes PROJECT_VERSION from there.
#
# One copy remains, because its file is read as it stands too: __version__ in
# the Python module (python/). Configuring stops when it differs.
set(grouper_header ${CMAKE_CURRENT_LIST_DIR}/../include/grouper/grouper.h)
set(grouper_version "")
foreach(part MAJOR MINOR PATCH)
  file(STRINGS ${grouper_header} line REGEX "^#define GROUPER_VERSION_${part} ")
  if(NOT line MATCHES "^#define GROUPER_VERSION_${part} ([0-9]+)$")
    message(FATAL_ERROR "include/grouper/grouper.h: no version number "
      "(#define GROUPER_VERSION_${part} <digits>)")
  endif()
  # GROUPER_VERSION_NUMBER has room for minor and patch numbers below 1000.
  if(NOT part STREQUAL "MAJOR" AND CMAKE_MATCH_1 GREATER_EQUAL 1000)
    message(FATAL_ERROR "include/grouper/grouper.h: GROUPER_VERSION_${part} ${CMAKE_MATCH_1}: "
      "GROUPER_VERSION_NUMBER holds minor and patch numbers below 1000 only")
  endif()
  if(grouper_version STREQUAL "")
    set(grouper_version ${CMAKE_MATCH_1})
  else()
    string(APPEND grouper_version ".${CMAKE_MATCH_1}")
  endif()
endforeach()

file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/../python/grouper/__init__.py line REGEX "^__version__ = ")
if(NOT line MATCHES "^__version__ = \"([^\"]*)\"")
  message(FATAL_ERROR "python/grouper/__init__.py: no version literal (__version__ = \"...\")")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL grouper_version)
  message(FATAL_ERROR "python/grouper/__init__.py says version ${CMAKE_MATCH_1}, grouper.h "
    "${grouper_version}: change both together")
endif()
