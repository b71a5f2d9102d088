# Checks the export table of a stand-in host program: it must export every
# host function name of host/host_function_list.h except those in MISSING,
# each of which it must export as <name>_absent instead, and nothing else.
# A plug-in resolves its host by these names, so a variant that lacks more or
# less than it should would test the wrong thing.
#
#   cmake -DREADOBJ=llvm-readobj-14 -DPROGRAM=Zandrovix.exe
#         -DHOST_FUNCTION_LIST=host_function_list.h "-DMISSING=zvPlotBars"
#         -P check_host_exports.cmake

foreach(input READOBJ PROGRAM HOST_FUNCTION_LIST)
  if(NOT DEFINED ${input} OR "${${input}}" STREQUAL "")
    message(FATAL_ERROR "check_host_exports: ${input} is not set")
  endif()
endforeach()
if(NOT EXISTS "${PROGRAM}")
  message(FATAL_ERROR "check_host_exports: ${PROGRAM} does not exist")
endif()

file(READ "${HOST_FUNCTION_LIST}" list_source)
string(REGEX MATCHALL "(CALLED|OTHER)\\(zv[A-Za-z0-9]+\\)" entries "${list_source}")
set(expected "")
foreach(entry IN LISTS entries)
  string(REGEX REPLACE "^[A-Z]+\\((zv[A-Za-z0-9]+)\\)$" "\\1" name "${entry}")
  list(APPEND expected "${name}")
endforeach()
list(LENGTH expected host_count)
if(NOT host_count EQUAL 184)
  message(FATAL_ERROR "check_host_exports: ${HOST_FUNCTION_LIST} lists ${host_count} names, not 184")
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
