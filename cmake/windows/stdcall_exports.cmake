# cmake -DLINKER_DEF=... -DPLAIN_DEF=... -DSTDCALL_DEF=... -P stdcall_exports.cmake
#
# The exports of the 32-bit grouper.dll, from the list that the linker wrote
# with --kill-at --output-def, one "name = name@N @ordinal" a line:
#   PLAIN_DEF    the names that the DLL exports, as its callers declare them;
#   STDCALL_DEF  the names as a C compiler decorates them (name@N), from which
#                dlltool --kill-at makes the import libraries.
file(STRINGS "${LINKER_DEF}" lines)
set(plain "")
set(decorated "")
foreach(line IN LISTS lines)
  if(line MATCHES "^EXPORTS$" OR line STREQUAL "")
    continue()
  endif()
  if(NOT line MATCHES "^ +([A-Za-z_][A-Za-z0-9_]*) = ([A-Za-z_][A-Za-z0-9_]*)@([0-9]+) @[0-9]+$"
     OR NOT CMAKE_MATCH_1 STREQUAL CMAKE_MATCH_2)
    message(FATAL_ERROR "${LINKER_DEF}: not a __stdcall export by its plain name: '${line}'")
  endif()
  string(APPEND plain "    ${CMAKE_MATCH_1}\n")
  string(APPEND decorated "    ${CMAKE_MATCH_1}@${CMAKE_MATCH_3}\n")
endforeach()
if(plain STREQUAL "")
  message(FATAL_ERROR "${LINKER_DEF}: no exports")
endif()
file(WRITE "${PLAIN_DEF}" "; The functions of grouper.h that the 32-bit grouper.dll exports, __stdcall,
; by their plain names.
LIBRARY grouper.dll
EXPORTS
${plain}")
file(WRITE "${STDCALL_DEF}" "LIBRARY grouper.dll\nEXPORTS\n${decorated}")
