# Compiles the sources of vertex painting again with the exact commands of
# this build (from compile_commands.json) and the compiler's loop
# vectorisation remarks on, and fails when a loop of them is left scalar or
# none is widened: painting a range too short for the fill of long ranges
# should cost no more than a plain fill. Then compiles the fill of long
# ranges likewise and fails unless its code holds the string store
# (rep stos) and streaming stores (movnt), which write cache lines without
# reading them first.
#
#   cmake -DCOMPILE_COMMANDS=<compile_commands.json> -DWORK_DIR=<folder>
#         "-DSOURCES=<source>;<source>" -DFILL_SOURCE=<source>
#         -DOBJDUMP=<llvm-objdump> -P check_painting_vectorised.cmake

file(READ ${COMPILE_COMMANDS} commands)
string(JSON count LENGTH "${commands}")
math(EXPR last "${count} - 1")
file(MAKE_DIRECTORY ${WORK_DIR})

# Compiles `source` as the build does, with `extra` arguments after the
# compiler's name, into WORK_DIR/<name>.obj; sets `out_output` to what the
# compiler printed.
function(compile_again source extra out_output)
  set(command "")
  foreach(index RANGE ${last})
    string(JSON file GET "${commands}" ${index} file)
    if(file STREQUAL source)
      string(JSON command GET "${commands}" ${index} command)
      string(JSON directory GET "${commands}" ${index} directory)
      break()
    endif()
  endforeach()
  if(command STREQUAL "")
    message(FATAL_ERROR "no compile command for ${source}")
  endif()
  get_filename_component(name ${source} NAME_WE)
  string(REGEX REPLACE "/Fo[^ ]+" "/Fo${WORK_DIR}/${name}.obj" command "${command}")
  separate_arguments(arguments UNIX_COMMAND "${command}")
  if(extra)
    list(INSERT arguments 1 ${extra})
  endif()
  execute_process(COMMAND ${arguments}
                  WORKING_DIRECTORY ${directory}
                  RESULT_VARIABLE result
                  OUTPUT_VARIABLE output
                  ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "compiling ${source} failed:\n${output}")
  endif()
  set(${out_output} "${output}" PARENT_SCOPE)
endfunction()

set(widened 0)
set(failures "")
foreach(source IN LISTS SOURCES)
  compile_again(${source} "-Rpass=loop-vectorize;-Rpass-missed=loop-vectorize" output)
  string(REGEX MATCHALL "[^\n]*remark: loop not vectorized[^\n]*" scalar "${output}")
  list(APPEND failures ${scalar})
  string(REGEX MATCHALL "remark: vectorized loop" wide "${output}")
  list(LENGTH wide wideCount)
  math(EXPR widened "${widened} + ${wideCount}")
endforeach()

if(failures)
  list(JOIN failures "\n" shown)
  message(FATAL_ERROR "loops of the painting left scalar:\n${shown}")
endif()
if(widened EQUAL 0)
  message(FATAL_ERROR "no loop of the painting was vectorised")
endif()
message(STATUS "painting: ${widened} loop(s) vectorised, none left scalar")

compile_again(${FILL_SOURCE} "" output)
get_filename_component(name ${FILL_SOURCE} NAME_WE)
execute_process(COMMAND ${OBJDUMP} -d --no-show-raw-insn ${WORK_DIR}/${name}.obj
                RESULT_VARIABLE result
                OUTPUT_VARIABLE disassembly
                ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "disassembling ${name}.obj failed: ${errors}")
endif()
foreach(instruction "rep[ \t]+stos" "movnt")
  if(NOT disassembly MATCHES "\n[^\n]*${instruction}")
    message(FATAL_ERROR "the fill of long ranges has no ${instruction}:\n${disassembly}")
  endif()
endforeach()
message(STATUS "the fill of long ranges uses the string store and streaming stores")
