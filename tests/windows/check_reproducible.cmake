# Builds the release twice and checks that both builds give the same bytes:
# Facetkit.dll, the Windows stand-in host and the release zip. The first
# build uses the sources where they are, the second a copy of them in
# another folder, each with a build folder of its own, one after the other
# (so at other times) and in other time zones; only those three targets are
# built. The second build is given the first one's package time through
# SOURCE_DATE_EPOCH (the last commit's time when that is not set), so that
# both ways of dating the zip are compared.
#
#   cmake -DSOURCE_DIR=<source> -DWORK_DIR=<scratch folder> -DGENERATOR=Ninja
#         -DMAKE_PROGRAM=<ninja> -DLLVM_SUFFIX=-14 -DWINE_INCLUDE_DIR=<dir>
#         -DWINE_IMPORT_LIB_DIR=<dir> -DPACKAGE=Facetkit-0.2-win64.zip
#         -P check_reproducible.cmake

foreach(input SOURCE_DIR WORK_DIR GENERATOR MAKE_PROGRAM LLVM_SUFFIX WINE_INCLUDE_DIR
              WINE_IMPORT_LIB_DIR PACKAGE)
  if(NOT DEFINED ${input})
    message(FATAL_ERROR "check_reproducible: ${input} is not set")
  endif()
endforeach()

# Runs the command after `what`, failing with its output if it fails.
function(run what)
  execute_process(COMMAND ${ARGN} OUTPUT_VARIABLE output ERROR_VARIABLE output
                  RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "check_reproducible: ${what} failed (${result}):\n${output}")
  endif()
endfunction()

# Configures the release build of `source` in `build` and builds the DLL,
# the stand-in host and the zip.
function(build_release source build)
  run("configuring ${build}" ${CMAKE_COMMAND} -S ${source} -B ${build} -G "${GENERATOR}"
      -DCMAKE_MAKE_PROGRAM=${MAKE_PROGRAM}
      -DCMAKE_TOOLCHAIN_FILE=${source}/cmake/windows-clang-cl.cmake
      -DCMAKE_BUILD_TYPE=Release -DFACETKIT_TESTS=OFF -DFACETKIT_LLVM_SUFFIX=${LLVM_SUFFIX}
      -DFACETKIT_WINE_INCLUDE_DIR=${WINE_INCLUDE_DIR}
      -DFACETKIT_WINE_IMPORT_LIB_DIR=${WINE_IMPORT_LIB_DIR})
  run("building in ${build}" ${CMAKE_COMMAND} --build ${build} --parallel 2
      --target Facetkit zandrovix_full package)
endfunction()

file(REMOVE_RECURSE "${WORK_DIR}")

# The copy: everything a build reads, without the history, the tests and
# build folders.
file(GLOB entries LIST_DIRECTORIES true RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*")
foreach(entry IN LISTS entries)
  if(NOT entry MATCHES "^(\\.git|tests)$" AND NOT EXISTS "${SOURCE_DIR}/${entry}/CMakeCache.txt")
    file(COPY "${SOURCE_DIR}/${entry}" DESTINATION "${WORK_DIR}/source")
  endif()
endforeach()

set(package_time "$ENV{SOURCE_DATE_EPOCH}")
if(package_time STREQUAL "")
  find_program(GIT NAMES git)
  if(GIT)
    execute_process(COMMAND ${GIT} -c safe.directory=* log -1 --format=%ct
                    WORKING_DIRECTORY "${SOURCE_DIR}" OUTPUT_VARIABLE package_time
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  endif()
endif()

set(ENV{TZ} "UTC0")
build_release("${SOURCE_DIR}" "${WORK_DIR}/first")
# Two seconds at least: the time resolution of a zip entry.
execute_process(COMMAND ${CMAKE_COMMAND} -E sleep 2)
set(ENV{TZ} "ACST-9:30")
if(NOT package_time STREQUAL "")
  set(ENV{SOURCE_DATE_EPOCH} "${package_time}")
endif()
build_release("${WORK_DIR}/source" "${WORK_DIR}/second")

set(problems "")
foreach(output Facetkit.dll hosts/full/Zandrovix.exe ${PACKAGE})
  file(SHA256 "${WORK_DIR}/first/${output}" first)
  file(SHA256 "${WORK_DIR}/second/${output}" second)
  if(first STREQUAL second)
    message(STATUS "${output}: ${first} in both builds")
  else()
    string(APPEND problems "\n  ${output}: ${first} in the first build, ${second} in the second")
  endif()
endforeach()
if(NOT problems STREQUAL "")
  message(FATAL_ERROR "The two builds differ:${problems}")
endif()
