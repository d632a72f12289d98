# Steps of the Transact-SQL syntax tests, run with cmake -P:
#   MODE=modules   installs tools/tsql-syntax/node_modules with "npm ci" when it is missing
#   MODE=generated runs SAMPLE_SCRIPTS into OUT_DIR, then check.js over OUT_DIR and SQL_DIR
#   MODE=detects   check.js over BROKEN must fail, naming its second batch at line 7 only
#   MODE=trigger_update  check.js over TRIGGER_UPDATE: IF UPDATE(column) passes in a
#                  trigger only, through the stand-in, and fails with --strict
# NODE, NPM and TOOL_DIR are given in every mode.
cmake_minimum_required(VERSION 3.25)

if(NOT NODE)
  message(FATAL_ERROR "node was not found when the build was configured; run tools/install-deps.sh and configure again")
endif()

set(module_files
  ${TOOL_DIR}/node_modules/antlr4ts-sql/package.json
  ${TOOL_DIR}/node_modules/antlr4ts/package.json)

function(modules_present out)
  set(present TRUE)
  foreach(file IN LISTS module_files)
    if(NOT EXISTS ${file})
      set(present FALSE)
    endif()
  endforeach()
  set(${out} ${present} PARENT_SCOPE)
endfunction()

if(MODE STREQUAL "modules")
  modules_present(present)
  if(present)
    message(STATUS "node modules present in ${TOOL_DIR}/node_modules")
    return()
  endif()
  if(NOT NPM)
    message(FATAL_ERROR "${TOOL_DIR}/node_modules is missing and npm was not found; run tools/install-deps.sh and configure again")
  endif()
  message(STATUS "installing node modules: npm ci in ${TOOL_DIR}")
  execute_process(COMMAND ${NPM} ci --no-audit --no-fund
    WORKING_DIRECTORY ${TOOL_DIR}
    RESULT_VARIABLE result)
  modules_present(present)
  if(NOT result EQUAL 0 OR NOT present)
    message(FATAL_ERROR "npm ci in ${TOOL_DIR} failed (${result}): the npm registry must be reachable once, "
                        "or node_modules must be installed there by hand (npm ci)")
  endif()
  return()
endif()

modules_present(present)
if(NOT present)
  message(FATAL_ERROR "${TOOL_DIR}/node_modules is missing: the test tsql_syntax_modules (npm ci) did not install it")
endif()

if(MODE STREQUAL "generated")
  file(REMOVE_RECURSE ${OUT_DIR})
  execute_process(COMMAND ${SAMPLE_SCRIPTS} ${OUT_DIR} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "sample_scripts failed (${result})")
  endif()
  execute_process(COMMAND ${NODE} ${TOOL_DIR}/check.js ${OUT_DIR} ${SQL_DIR} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "Transact-SQL syntax errors in the scripts above (check.js exit ${result})")
  endif()
elseif(MODE STREQUAL "detects")
  execute_process(COMMAND ${NODE} ${TOOL_DIR}/check.js ${BROKEN}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  message("${output}${errors}")
  if(NOT result EQUAL 1)
    message(FATAL_ERROR "check.js over the broken script exited with ${result}, not 1")
  endif()
  if(NOT output MATCHES "broken\\.sql:7:1: batch 2: ")
    message(FATAL_ERROR "check.js did not name batch 2 at line 7, column 1 of the broken script")
  endif()
  if(output MATCHES "batch [13]: ")
    message(FATAL_ERROR "check.js reported an error in a batch that is not broken")
  endif()
  if(NOT output MATCHES "(^|\n)2 passed, 1 failed\n")
    message(FATAL_ERROR "check.js did not count two good batches and one broken one")
  endif()
elseif(MODE STREQUAL "trigger_update")
  function(expect_run)
    cmake_parse_arguments(arg "" "" "OPTIONS;MATCHES;NOT_MATCHES" ${ARGN})
    execute_process(COMMAND ${NODE} ${TOOL_DIR}/check.js ${arg_OPTIONS} ${TRIGGER_UPDATE}
      RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
    message("check.js ${arg_OPTIONS}:\n${output}${errors}")
    if(NOT result EQUAL 1)
      message(FATAL_ERROR "check.js ${arg_OPTIONS} exited with ${result}, not 1")
    endif()
    foreach(pattern IN LISTS arg_MATCHES)
      if(NOT output MATCHES "${pattern}")
        message(FATAL_ERROR "check.js ${arg_OPTIONS}: no line matches '${pattern}'")
      endif()
    endforeach()
    foreach(pattern IN LISTS arg_NOT_MATCHES)
      if(output MATCHES "${pattern}")
        message(FATAL_ERROR "check.js ${arg_OPTIONS}: a line matches '${pattern}'")
      endif()
    endforeach()
  endfunction()
  # The trigger's tests pass; a test outside a trigger and a trigger that
  # lacks its END still fail; the stand-ins are counted.
  expect_run(
    MATCHES "trigger_update\\.sql:11:[0-9]+: batch 2: " "trigger_update\\.sql:16:[0-9]+: batch 3: "
            "note: 3 trigger UPDATE\\(column\\) tests" "(^|\n)1 passed, 2 failed\n"
    NOT_MATCHES "batch 1: ")
  # As written, the grammar rejects the trigger's test: when it stops doing
  # so, the stand-in has become needless.
  expect_run(OPTIONS --strict
    MATCHES "trigger_update\\.sql:8:[0-9]+: batch 1: " "(^|\n)0 passed, 3 failed\n"
    NOT_MATCHES "note: ")
else()
  message(FATAL_ERROR "unknown MODE '${MODE}'")
endif()
