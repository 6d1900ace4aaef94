# cmake -P check_installed_tree.cmake, with the variables that
# installed_tree_test.cmake passes: installs BUILD_DIR into WORK_DIR/stage and
# checks the installed tree as its users get it:
#
#   - every file that the installation promises is there;
#   - each tool answers --version with its name and VERSION, and --help with
#     its usage on standard output;
#   - a C project links grouper::grouper and grouper::grouper_static through
#     find_package (the static one with nothing but the target's name), and
#     both programs answer the bundled sample exactly as the installed batch
#     program does;
#   - the installed Python module, given no variable, loads the installed
#     library, has VERSION, and answers the sample as the batch does.
#
# Programs of a cross build run under EMULATOR (Wine), which reads the time
# zone only in the POSIX form.
cmake_minimum_required(VERSION 3.25)

set(failures 0)
macro(fail)
  message(SEND_ERROR ${ARGN})
  math(EXPR failures "${failures} + 1")
endmacro()

if(EMULATOR)
  set(zone KST-9)
else()
  set(zone Asia/Seoul)
endif()

# run(OUT_STATUS OUT_STDOUT program args...): the program, in WORK_DIR; its
# standard error in the variable `stderr` of the caller.
function(run status_var stdout_var)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=${zone} ${EMULATOR} ${ARGN}
    WORKING_DIRECTORY ${WORK_DIR} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(${status_var} ${status} PARENT_SCOPE)
  set(${stdout_var} "${out}" PARENT_SCOPE)
  set(stderr "${err}" PARENT_SCOPE)
endfunction()

function(same_bytes a b what)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${a} ${b} RESULT_VARIABLE differ)
  if(differ)
    fail("${what}: ${a} and ${b} differ")
  else()
    message(STATUS "${what}: identical")
  endif()
endfunction()

set(stage ${WORK_DIR}/stage)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --config ${CONFIG} --prefix ${stage}
  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)

string(REPLACE "|" ";" EXPECTED "${EXPECTED}")
foreach(file IN LISTS EXPECTED)
  if(NOT EXISTS ${stage}/${file})
    fail("not installed: ${file}")
  endif()
endforeach()
list(LENGTH EXPECTED expected_count)
message(STATUS "${expected_count} promised files checked")

foreach(tool grouper-month grouper-explain grouper-report grouper-sample)
  run(status out ${stage}/${BINDIR}/${tool}${EXE} --version)
  string(STRIP "${out}" out)
  if(NOT status EQUAL 0 OR NOT out STREQUAL "${tool} ${VERSION}")
    fail("${tool} --version: status ${status}, \"${out}\" (expected \"${tool} ${VERSION}\")")
  endif()
  # grouper-month speaks Korean unless asked for English.
  set(english "")
  if(tool STREQUAL "grouper-month")
    set(english --lang en)
  endif()
  run(status out ${stage}/${BINDIR}/${tool}${EXE} ${english} --help)
  if(NOT status EQUAL 0 OR NOT out MATCHES "^usage: ${tool} ")
    fail("${tool} --help: status ${status}, \"${out}\"")
  endif()
endforeach()
foreach(command "grouper-explain;missing.in" "grouper-report;missing.in;report.html"
    "grouper-month;--lang;en;--no-open;missing.in")
  list(POP_FRONT command tool)
  run(status out ${stage}/${BINDIR}/${tool}${EXE} ${command})
  if(NOT status EQUAL 1 OR NOT stderr MATCHES "cannot open missing.in: No such file or directory")
    fail("${tool} on a missing file: status ${status}, \"${stderr}\"")
  endif()
endforeach()
message(STATUS "--version and --help of the tools, and the reason of a failed open, checked")

# The installed batch program's answers to the sample, the reference below.
configure_file(${SOURCE_DIR}/examples/sample.in ${WORK_DIR}/sample.in COPYONLY)
run(status out ${stage}/${BINDIR}/grouper${EXE} sample.in batch.out)
file(WRITE ${WORK_DIR}/batch.console "${out}")
if(NOT status EQUAL 0)
  fail("the installed grouper on the sample: status ${status}")
endif()

# A C project through find_package, built with this build's compilers.
set(c_build ${WORK_DIR}/c-project)
set(configure_args -S ${SOURCE_DIR}/tests/package -B ${c_build} -G ${GENERATOR}
  -DCMAKE_BUILD_TYPE=Release -Dgrouper_DIR=${stage}/${LIBDIR}/cmake/grouper)
if(TOOLCHAIN)
  list(APPEND configure_args -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN})
endif()
execute_process(COMMAND ${CMAKE_COMMAND} ${configure_args} OUTPUT_QUIET
  RESULT_VARIABLE status ERROR_VARIABLE err)
if(status EQUAL 0)
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${c_build} RESULT_VARIABLE status
    OUTPUT_VARIABLE err ERROR_VARIABLE err)
endif()
if(NOT status EQUAL 0)
  fail("the C project against the installed package does not build:\n${err}")
else()
  if(EXE)  # Windows finds a DLL beside the program
    file(COPY ${stage}/${BINDIR}/grouper.dll DESTINATION ${c_build})
  endif()
  foreach(program group_threads group_threads_static)
    run(status out ${c_build}/${program}${EXE} sample.in ${program}.out ${program}.console)
    if(NOT status EQUAL 0)
      fail("${program}: status ${status}")
    endif()
    same_bytes(${WORK_DIR}/batch.out ${WORK_DIR}/${program}.out "${program}'s result file")
    same_bytes(${WORK_DIR}/batch.console ${WORK_DIR}/${program}.console "${program}'s console")
  endforeach()
endif()

# The Python module as installed, without GROUPER_LIBRARY.
if(PYTHON)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=GROUPER_LIBRARY
      PYTHONPATH=${stage}/${PYTHONDIR} TZ=${zone}
      ${PYTHON} -B ${CMAKE_CURRENT_LIST_DIR}/check_installed_module.py
      ${VERSION} ${stage} ${WORK_DIR}/sample.in ${WORK_DIR}/batch.out
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    fail("the installed Python module:\n${out}")
  else()
    message(STATUS "${out}")
  endif()
endif()

if(failures GREATER 0)
  message(FATAL_ERROR "installed tree: ${failures} checks failed")
endif()
message(STATUS "installed tree: every check passed")
