# The npm package and grouper.html of the wasm preset's build (build/wasm,
# beside this build), tested against this build's native programs with Node's
# test runner, in two zones that are not Korea's; skipped with the reason
# where that build or node is absent, so that the default workflow needs
# neither.
set(GROUPER_WASM_PACKAGE ${CMAKE_SOURCE_DIR}/build/wasm/js/package CACHE PATH
  "The npm package's folder in the WebAssembly build, for the Node tests")
foreach(zone UTC America/New_York)
  string(REGEX REPLACE "[^A-Za-z]" "_" name ${zone})
  add_test(NAME wasm_node_${name}
    COMMAND ${CMAKE_COMMAND} -E env TZ=${zone}
      GROUPER=$<TARGET_FILE:grouper> GROUPER_SAMPLE=$<TARGET_FILE:grouper-sample>
      GROUPER_EXPLAIN=$<TARGET_FILE:grouper-explain> GROUPER_REPORT=$<TARGET_FILE:grouper-report>
      GROUPER_MONTH=$<TARGET_FILE:grouper-month>
      sh ${CMAKE_SOURCE_DIR}/js/test/run.sh ${GROUPER_WASM_PACKAGE})
  set_tests_properties(wasm_node_${name} PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 600)
endforeach()
