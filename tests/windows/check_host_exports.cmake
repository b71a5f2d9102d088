# Checks the export table of a stand-in host program: it must export every
# host function name except those in MISSING, each of which it must export
# as <name>_absent instead, and nothing else. The names are those of the
# script HOST_FUNCTION_NAMES, which standin/CMakeLists.txt makes from the
# host function list.
# A plug-in resolves its host by these names, so a variant that lacks more or
# less than it should would test the wrong thing.
#
#   cmake -DREADOBJ=llvm-readobj-14 -DPROGRAM=Zandrovix.exe
#         -DHOST_FUNCTION_NAMES=host_function_names.cmake "-DMISSING=zvPlotBars"
#         -P check_host_exports.cmake

foreach(input READOBJ PROGRAM HOST_FUNCTION_NAMES)
  if(NOT DEFINED ${input} OR "${${input}}" STREQUAL "")
    message(FATAL_ERROR "check_host_exports: ${input} is not set")
  endif()
endforeach()
if(NOT EXISTS "${PROGRAM}")
  message(FATAL_ERROR "check_host_exports: ${PROGRAM} does not exist")
endif()

include("${HOST_FUNCTION_NAMES}")
set(expected ${FACETKIT_HOST_FUNCTIONS})
if(NOT expected)
  message(FATAL_ERROR "check_host_exports: ${HOST_FUNCTION_NAMES} lists no host functions")
endif()
foreach(name IN LISTS MISSING)
  list(FIND expected "${name}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "check_host_exports: ${name} is not a host function name")
  endif()
  list(REMOVE_ITEM expected "${name}")
  list(APPEND expected "${name}_absent")
endforeach()

execute_process(COMMAND "${READOBJ}" --coff-exports "${PROGRAM}"
                OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "check_host_exports: ${READOBJ} failed (${result}): ${errors}")
endif()
string(REPLACE "\n" ";" lines "${output}")
set(actual "")
foreach(line IN LISTS lines)
  # lld-link leaves ordinal 0 unused; llvm-readobj shows it with no name.
  if(line MATCHES "^  Name: (.+)$")
    list(APPEND actual "${CMAKE_MATCH_1}")
  endif()
endforeach()

set(problems "")
foreach(name IN LISTS expected)
  list(FIND actual "${name}" at)
  if(at EQUAL -1)
    string(APPEND problems "\n  not exported: ${name}")
  endif()
endforeach()
foreach(name IN LISTS actual)
  list(FIND expected "${name}" at)
  if(at EQUAL -1)
    string(APPEND problems "\n  exported but not expected: ${name}")
  endif()
endforeach()
list(LENGTH actual actual_count)
list(LENGTH expected expected_count)
list(REMOVE_DUPLICATES actual)
list(LENGTH actual distinct_count)
if(NOT distinct_count EQUAL actual_count)
  string(APPEND problems "\n  a name is exported more than once")
endif()
if(NOT problems STREQUAL "")
  message(FATAL_ERROR "${PROGRAM} (lacking: ${MISSING}):${problems}")
endif()
message(STATUS "${PROGRAM}: ${actual_count} exports as expected (lacking: ${MISSING})")
