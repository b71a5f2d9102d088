# Compiles the sources of vertex painting again with the exact commands of
# this build (from compile_commands.json) and the compiler's loop
# vectorisation remarks on, and fails when a loop of them is left scalar or
# none is widened: painting a large surface should cost no more than a
# plain fill.
#
#   cmake -DCOMPILE_COMMANDS=<compile_commands.json> -DWORK_DIR=<folder>
#         "-DSOURCES=<source>;<source>" -P check_painting_vectorised.cmake

file(READ ${COMPILE_COMMANDS} commands)
string(JSON count LENGTH "${commands}")
math(EXPR last "${count} - 1")
file(MAKE_DIRECTORY ${WORK_DIR})

set(widened 0)
set(failures "")
foreach(source IN LISTS SOURCES)
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
  list(INSERT arguments 1 -Rpass=loop-vectorize -Rpass-missed=loop-vectorize)
  execute_process(COMMAND ${arguments}
                  WORKING_DIRECTORY ${directory}
                  RESULT_VARIABLE result
                  OUTPUT_VARIABLE output
                  ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "compiling ${source} failed:\n${output}")
  endif()
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
