# Windows specifics of the build, included by the top-level CMakeLists.txt
# before the plug-in's targets exist. The functions below are applied to
# targets once they do.

# The same sources give the same bytes wherever and whenever they are built:
# the linker stamps each module with a hash of its contents instead of the
# time (/Brepro, with lld-link and with link.exe), a debug build's module
# names its PDB file without a folder, and the Microsoft compiler leaves the
# time out of its objects too. clang-cl writes source paths (__FILE__)
# relative to the project's folders.
add_link_options(/Brepro /pdbaltpath:%_PDB%)
if(CMAKE_CXX_COMPILER_ID STREQUAL "MSVC")
  add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:/Brepro>)
else()
  add_compile_options(
    "$<$<COMPILE_LANGUAGE:C,CXX>:/clang:-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=>"
    "$<$<COMPILE_LANGUAGE:C,CXX>:/clang:-ffile-prefix-map=${PROJECT_BINARY_DIR}/=>")
endif()

option(FACETKIT_OWN_CRT_STARTUP
       "Link the project's own DLL and program entry points instead of the Microsoft runtime's"
       OFF)

if(FACETKIT_OWN_CRT_STARTUP)
  # A build folder configured while the cross build had no stack cookies
  # keeps /GS- in its cached flags; the startup code provides the cookie now.
  foreach(lang C CXX)
    if(CMAKE_${lang}_FLAGS MATCHES "/GS-")
      string(REPLACE "/GS-" "/GS" flags "${CMAKE_${lang}_FLAGS}")
      set(CMAKE_${lang}_FLAGS "${flags}" CACHE STRING "Flags used by the compiler" FORCE)
      message(STATUS "CMAKE_${lang}_FLAGS: /GS- replaced by /GS (stack cookies)")
    endif()
  endforeach()
  add_library(facetkit_dll_startup OBJECT
    ${PROJECT_SOURCE_DIR}/platform/windows_startup_common.cpp
    ${PROJECT_SOURCE_DIR}/platform/windows_security_cookie.cpp
    ${PROJECT_SOURCE_DIR}/platform/windows_dll_startup.cpp)
  add_library(facetkit_program_startup OBJECT
    ${PROJECT_SOURCE_DIR}/platform/windows_startup_common.cpp
    ${PROJECT_SOURCE_DIR}/platform/windows_security_cookie.cpp
    ${PROJECT_SOURCE_DIR}/platform/windows_exe_startup.cpp)
  foreach(startup facetkit_dll_startup facetkit_program_startup)
    target_include_directories(${startup} PRIVATE ${PROJECT_SOURCE_DIR})
    target_compile_options(${startup} PRIVATE ${FACETKIT_WARNINGS})
  endforeach()
endif()

# Makes `target` (a SHARED library) a DLL that starts with this project's
# entry point when the build has no Microsoft runtime startup code.
function(facetkit_windows_dll target)
  if(FACETKIT_OWN_CRT_STARTUP)
    target_sources(${target} PRIVATE $<TARGET_OBJECTS:facetkit_dll_startup>)
    # The initialiser tables are read-only data: kept in .rdata, as the
    # Microsoft runtime keeps them, they take no file section of their own.
    target_link_options(${target} PRIVATE /entry:_DllMainCRTStartup /merge:.CRT=.rdata)
  endif()
endfunction()

# Makes `target` (an executable with `int main(int, char**)`) a console
# program that starts with this project's entry point when the build has no
# Microsoft runtime startup code. Functions it exports with
# __declspec(dllexport) are found by GetProcAddress on the program's module.
function(facetkit_windows_console_program target)
  target_link_options(${target} PRIVATE /subsystem:console)
  if(FACETKIT_OWN_CRT_STARTUP)
    target_sources(${target} PRIVATE $<TARGET_OBJECTS:facetkit_program_startup>)
    target_link_options(${target} PRIVATE /entry:mainCRTStartup)
  endif()
endfunction()

# Gives `target` the version resource of platform/facetkit_version.rc.in,
# filled in from the project's version. The resource compiler is llvm-rc in
# the cross build and rc.exe with the Microsoft tools; a resource adds no
# import to the DLL.
function(facetkit_windows_version_resource target)
  # A Windows version has four numbers; the parts that the project's version
  # leaves out count as 0 (0.2 becomes 0,2,0,0).
  set(numbers "")
  foreach(part MAJOR MINOR PATCH TWEAK)
    if("${PROJECT_VERSION_${part}}" STREQUAL "")
      list(APPEND numbers 0)
    else()
      list(APPEND numbers ${PROJECT_VERSION_${part}})
    endif()
  endforeach()
  list(JOIN numbers "," FACETKIT_VERSION_COMMAS)
  set(resource ${PROJECT_BINARY_DIR}/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/platform/facetkit_version.rc.in ${resource} @ONLY)
  target_sources(${target} PRIVATE ${resource})
endfunction()
