# cmake -DHEADER=grouper.h -DLIBRARY=<shared library> -DNM=<nm> | -DOBJDUMP=<objdump>
#       [-DDEF=grouper.def] [-DSTDCALL_DEF=grouper-stdcall.def] -P check_exports.cmake
#
# The test library_exports: the shared library exports exactly the functions
# that grouper.h declares, no more and no fewer.
#   Linux    the dynamic symbols that libgrouper.so defines (nm -D), which the
#            version script exports.map selects;
#   Windows  the export table of grouper.dll (objdump -p), by plain name, and
#            grouper.def, the list installed beside the import library.
#   32-bit Windows (STDCALL_DEF, name@N a line, N the bytes of the arguments):
#            every return of each exported function pops those N bytes, as
#            __stdcall does and as its callers (Visual Basic 6's Declare, a C
#            program through grouper.lib) expect.

function(sorted_names out)
  list(REMOVE_DUPLICATES ARGN)
  list(SORT ARGN)
  set(${out} "${ARGN}" PARENT_SCOPE)
endfunction()

function(expect_same what names)
  sorted_names(names ${names})
  if(NOT names STREQUAL declared)
    message(FATAL_ERROR "${what}:\n  ${names}\ngrouper.h declares:\n  ${declared}")
  endif()
  list(LENGTH names count)
  message(STATUS "${what}: the ${count} functions of grouper.h")
endfunction()

file(READ "${HEADER}" header)
string(REGEX MATCHALL "GROUPER_CALL[ \t\r\n]+grouper_[a-z0-9_]+[ \t]*\\(" calls "${header}")
set(declared "")
foreach(call IN LISTS calls)
  string(REGEX REPLACE ".*(grouper_[a-z0-9_]+).*" "\\1" name "${call}")
  list(APPEND declared ${name})
endforeach()
sorted_names(declared ${declared})
if(declared STREQUAL "")
  message(FATAL_ERROR "${HEADER}: no function declared with GROUPER_CALL")
endif()

if(NM)
  execute_process(COMMAND ${NM} -D --defined-only "${LIBRARY}" OUTPUT_VARIABLE symbols
    COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "[ \t][A-Za-z][ \t]+[^ \t\n]+" entries "${symbols}")
  set(exported "")
  foreach(entry IN LISTS entries)
    string(REGEX REPLACE "^[ \t][A-Za-z][ \t]+" "" entry "${entry}")
    list(APPEND exported ${entry})
  endforeach()
  expect_same("the dynamic symbols of ${LIBRARY}" "${exported}")
  return()
endif()

execute_process(COMMAND ${OBJDUMP} -p "${LIBRARY}" OUTPUT_VARIABLE headers
  COMMAND_ERROR_IS_FATAL ANY)
# The table's lines, "[ordinal] name", after its title (no bracket may reach
# a CMake list).
string(REGEX MATCH "Ordinal/Name Pointer[^\n]*\n([^\n]+\n)*" table "${headers}")
string(REGEX REPLACE "Ordinal/Name Pointer[^\n]*\n" "" table "${table}")
string(REGEX REPLACE "[ \t]*\\[[ 0-9]+\\][ \t]*([^\n]*)\n" "\\1;" exported "${table}")
expect_same("the export table of ${LIBRARY}" "${exported}")

file(STRINGS "${DEF}" lines REGEX "^[ \t]+[A-Za-z_]")
set(listed "")
foreach(line IN LISTS lines)
  string(REGEX MATCH "[A-Za-z_][A-Za-z0-9_@]*" name "${line}")
  list(APPEND listed ${name})
endforeach()
expect_same("${DEF}" "${listed}")

if(STDCALL_DEF)
  file(STRINGS "${STDCALL_DEF}" lines REGEX "^[ \t]+grouper_")
  foreach(line IN LISTS lines)
    string(STRIP "${line}" decorated)
    string(REGEX REPLACE ".*@" "" bytes "${decorated}")
    execute_process(COMMAND ${OBJDUMP} -d --no-show-raw-insn "--disassemble=_${decorated}"
      "${LIBRARY}" OUTPUT_VARIABLE code COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL "\tret[^\n]*" returns "${code}")
    if(bytes EQUAL 0)
      set(expected "\tret")
    else()
      math(EXPR hex "${bytes}" OUTPUT_FORMAT HEXADECIMAL)
      set(expected "\tret    $${hex}")
    endif()
    if(returns STREQUAL "")
      message(FATAL_ERROR "${LIBRARY}: no return found in _${decorated}")
    endif()
    foreach(return IN LISTS returns)
      string(STRIP "${return}" return)
      string(STRIP "${expected}" want)
      if(NOT return STREQUAL want)
        message(FATAL_ERROR "${LIBRARY}: _${decorated} returns with '${return}', not '${want}'")
      endif()
    endforeach()
  endforeach()
  message(STATUS "${LIBRARY}: every exported function pops its arguments (__stdcall)")
endif()
