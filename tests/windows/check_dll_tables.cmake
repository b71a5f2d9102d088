# Compares the export and import tables of a Windows DLL with checked-in
# lists, so that a change in what the host can find, or in what the DLL
# needs beside it, is seen in review. With OBJDUMP given, also checks that
# every function of the DLL with a stack buffer checks the stack cookie
# (stack_cookie_check.cmake).
#
#   cmake -DREADOBJ=llvm-readobj-14 -DDLL=Facetkit.dll
#         -DEXPECTED_EXPORTS=expected_exports.txt -DEXPECTED_IMPORTS=expected_imports.txt
#         [-DOBJDUMP=llvm-objdump-14] [-DMAX_SIZE=bytes] -P check_dll_tables.cmake
#
# Export lines are the exported names. Import lines are "<dll> <function>",
# with " (delay-loaded)" appended for delay-loaded imports. In the expected
# files, blank lines and lines starting with '#' are ignored; order does not
# matter.

cmake_minimum_required(VERSION 3.20)

foreach(input READOBJ DLL EXPECTED_EXPORTS EXPECTED_IMPORTS)
  if(NOT DEFINED ${input})
    message(FATAL_ERROR "check_dll_tables: ${input} is not set")
  endif()
endforeach()
if(NOT EXISTS "${DLL}")
  message(FATAL_ERROR "check_dll_tables: ${DLL} does not exist")
endif()

# Runs llvm-readobj with `option` on the DLL and returns its output lines.
function(read_table option out_lines)
  execute_process(COMMAND "${READOBJ}" ${option} "${DLL}"
                  OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "check_dll_tables: ${READOBJ} ${option} failed (${result}): ${errors}")
  endif()
  string(REPLACE "\n" ";" lines "${output}")
  set(${out_lines} "${lines}" PARENT_SCOPE)
endfunction()

function(exported_names out_names)
  read_table(--coff-exports lines)
  set(names "")
  foreach(line IN LISTS lines)
    # lld-link leaves ordinal 0 unused; llvm-readobj shows it with no name.
    if(line MATCHES "^  Name: (.+)$")
      list(APPEND names "${CMAKE_MATCH_1}")
    endif()
  endforeach()
  set(${out_names} "${names}" PARENT_SCOPE)
endfunction()

function(imported_functions out_imports)
  read_table(--coff-imports lines)
  set(imports "")
  set(library "")
  set(suffix "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^Import {")
      set(suffix "")
    elseif(line MATCHES "^DelayImport {")
      set(suffix " (delay-loaded)")
    elseif(line MATCHES "^  Name: (.+)$")
      set(library "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^  Symbol: (.*) \\([0-9]+\\)$")
      list(APPEND imports "${library} ${CMAKE_MATCH_1}${suffix}")
    elseif(line MATCHES "^  Symbol: (.*)$")
      list(APPEND imports "${library} ${CMAKE_MATCH_1}${suffix}")
    endif()
  endforeach()
  set(${out_imports} "${imports}" PARENT_SCOPE)
endfunction()

function(expected_lines file out_lines)
  file(STRINGS "${file}" raw)
  set(lines "")
  foreach(line IN LISTS raw)
    string(STRIP "${line}" line)
    if(line STREQUAL "" OR line MATCHES "^#")
      continue()
    endif()
    list(APPEND lines "${line}")
  endforeach()
  set(${out_lines} "${lines}" PARENT_SCOPE)
endfunction()

# Compares two lists as sets; returns a description of the first entry
# missing from `actual` and the first one not in `expected`, or "".
function(compare what expected actual out_problem)
  list(SORT expected)
  list(SORT actual)
  set(problem "")
  foreach(entry IN LISTS expected)
    list(FIND actual "${entry}" at)
    if(at EQUAL -1)
      string(APPEND problem "\n  expected ${what} missing: ${entry}")
      break()
    endif()
  endforeach()
  foreach(entry IN LISTS actual)
    list(FIND expected "${entry}" at)
    if(at EQUAL -1)
      string(APPEND problem "\n  ${what} not in the expected list: ${entry}")
      break()
    endif()
  endforeach()
  list(LENGTH expected expected_count)
  list(LENGTH actual actual_count)
  if(problem STREQUAL "" AND NOT expected_count EQUAL actual_count)
    string(APPEND problem "\n  ${expected_count} expected ${what}s, ${actual_count} found")
  endif()
  set(${out_problem} "${problem}" PARENT_SCOPE)
endfunction()

exported_names(actual_exports)
imported_functions(actual_imports)
expected_lines("${EXPECTED_EXPORTS}" wanted_exports)
expected_lines("${EXPECTED_IMPORTS}" wanted_imports)

compare(export "${wanted_exports}" "${actual_exports}" export_problem)
compare(import "${wanted_imports}" "${actual_imports}" import_problem)

if(NOT export_problem STREQUAL "" OR NOT import_problem STREQUAL "")
  message(FATAL_ERROR "${DLL} differs from the expected tables:${export_problem}${import_problem}\n"
                      "See the whole tables with: ${READOBJ} --coff-exports --coff-imports ${DLL}")
endif()
list(LENGTH actual_exports export_count)
list(LENGTH actual_imports import_count)
message(STATUS "${DLL}: ${export_count} exports and ${import_count} imports as expected")

if(DEFINED OBJDUMP)
  include(${CMAKE_CURRENT_LIST_DIR}/stack_cookie_check.cmake)
  check_stack_cookies("${OBJDUMP}" "${READOBJ}" "${DLL}" protected_count)
  message(STATUS "${DLL}: ${protected_count} functions with stack buffers check the stack cookie")
endif()

# The DLL stays small: at most MAX_SIZE, the size it is shipped at.
if(DEFINED MAX_SIZE)
  file(SIZE "${DLL}" dll_size)
  if(dll_size GREATER MAX_SIZE)
    message(FATAL_ERROR "${DLL} has ${dll_size} bytes, more than the ${MAX_SIZE} allowed")
  endif()
  message(STATUS "${DLL}: ${dll_size} bytes, within ${MAX_SIZE}")
endif()
