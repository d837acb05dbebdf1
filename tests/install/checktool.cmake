# cmake -DTOOL=<program> -DARGS=<a|b|...> -P checktool.cmake
# Runs the tool and fails on a non-zero exit or any warning or error it prints;
# a tool that is not installed skips the test.
find_program(tool_path ${TOOL})
if(NOT tool_path)
  message("SKIPPED: ${TOOL} is not installed (tools/install-deps installs it)")
  return()
endif()
string(REPLACE "|" ";" arguments "${ARGS}")
execute_process(COMMAND ${tool_path} ${arguments}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0 OR out MATCHES "([Ww]arning|[Ee]rror) ?:")
  message(FATAL_ERROR "${TOOL} ${arguments}: ${result}\n${out}")
endif()
message(STATUS "${TOOL}: no findings")
