# Writes the Windows package with the build's package command into a folder
# of its own and checks it: the zip's name; that it holds Facetkit.dll,
# INSTALL.txt, LICENSE.txt and SHA256SUMS, in that order, at its top level;
# that these are the built DLL and the project's texts with Windows line
# ends; that SHA256SUMS gives the right sum of each of the other three; and
# that the install guide names every function of the plug-in's menu by its
# title.
#
#   cmake "-DMAKE_PACKAGE=<command>;<argument>..." "-DFILES=<file>;<file>..."
#         -DWORK_DIR=<scratch folder> -DPACKAGE=Facetkit-0.2-win64.zip
#         -DDLL=<build>/Facetkit.dll -DINSTALL_GUIDE=<build>/package_texts/INSTALL.txt
#         -DLICENSE=<source>/LICENSE -DMENU_SOURCE=<source>/plugin/function_catalogue.cpp
#         -P check_package.cmake

foreach(input MAKE_PACKAGE FILES WORK_DIR PACKAGE DLL INSTALL_GUIDE LICENSE MENU_SOURCE)
  if(NOT DEFINED ${input})
    message(FATAL_ERROR "check_package: ${input} is not set")
  endif()
endforeach()

set(problems "")

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}/contents")
execute_process(COMMAND ${MAKE_PACKAGE} "${WORK_DIR}/${PACKAGE}" ${FILES}
                OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "check_package: the package command failed (${result}):\n${output}${errors}")
endif()
set(zip "${WORK_DIR}/${PACKAGE}")
if(NOT EXISTS "${zip}")
  message(FATAL_ERROR "check_package: the package command made no ${PACKAGE}")
endif()

# The listing: the four files in their order, nothing else, no folder
# around them.
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar tf "${zip}"
                OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "check_package: cannot list ${zip}: ${errors}")
endif()
string(STRIP "${listing}" listing)
string(REPLACE "\n" ";" entries "${listing}")
set(wanted_entries Facetkit.dll INSTALL.txt LICENSE.txt SHA256SUMS)
if(NOT entries STREQUAL wanted_entries)
  string(APPEND problems "\n  the zip holds [${entries}], not [${wanted_entries}]")
endif()

execute_process(COMMAND "${CMAKE_COMMAND}" -E tar xf "${zip}"
                WORKING_DIRECTORY "${WORK_DIR}/contents" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "check_package: cannot unpack ${zip}")
endif()
set(unpacked "${WORK_DIR}/contents")

# Sets `out` to the bytes of `file` in hexadecimal, each followed by a blank
# ("4d 49 0d 0a "), so that a search for a byte sequence cannot start in the
# middle of a byte.
function(file_bytes file out)
  file(READ "${file}" hex HEX)
  string(REGEX REPLACE "(..)" "\\1 " bytes "${hex}")
  set(${out} "${bytes}" PARENT_SCOPE)
endfunction()

# Sets `out` to the problem with text file `file` of the package, or "".
# The file must end every line with CR LF, and be `source` byte for byte
# once its line ends are plain line feeds.
function(check_text file source out)
  set(problem "")
  if(NOT EXISTS "${unpacked}/${file}")
    set(problem "\n  ${file} is missing")
  else()
    file_bytes("${unpacked}/${file}" actual)
    string(REPLACE "0d 0a " "" without_crlf "${actual}")
    if(without_crlf MATCHES "(^| )0[ad] ")
      string(APPEND problem "\n  ${file} has a line end other than CR LF")
    endif()
    string(REPLACE "0d 0a " "0a " actual "${actual}")
    file_bytes("${source}" expected)
    string(REPLACE "0d 0a " "0a " expected "${expected}")
    if(NOT actual STREQUAL expected)
      string(APPEND problem "\n  ${file} differs from ${source}")
    endif()
  endif()
  set(${out} "${problem}" PARENT_SCOPE)
endfunction()

if(EXISTS "${unpacked}/Facetkit.dll")
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${DLL}" "${unpacked}/Facetkit.dll"
                  RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    string(APPEND problems "\n  Facetkit.dll in the zip is not the built ${DLL}")
  endif()
else()
  string(APPEND problems "\n  Facetkit.dll is missing")
endif()

# One line "<hash>  <name>" per other file, in the zip's order, each the
# sum of the file as unpacked.
set(wanted_sums "")
foreach(entry Facetkit.dll INSTALL.txt LICENSE.txt)
  if(EXISTS "${unpacked}/${entry}")
    file(SHA256 "${unpacked}/${entry}" hash)
    string(APPEND wanted_sums "${hash}  ${entry}\n")
  endif()
endforeach()
if(EXISTS "${unpacked}/SHA256SUMS")
  file(READ "${unpacked}/SHA256SUMS" sums)
  if(NOT sums STREQUAL wanted_sums)
    string(APPEND problems "\n  SHA256SUMS holds\n${sums}  and not\n${wanted_sums}")
  endif()
endif()

check_text(LICENSE.txt "${LICENSE}" licence_problem)
string(APPEND problems "${licence_problem}")
check_text(INSTALL.txt "${INSTALL_GUIDE}" guide_problem)
string(APPEND problems "${guide_problem}")

# The guide describes each menu function under its title, as the menu
# shows it; the titles are those of the rows of the function catalogue.
file(READ "${MENU_SOURCE}" menu_source)
string(REGEX MATCHALL "{[ \t\r\n]*[0-9]+,[ \t\r\n]*\"[^\"]+\"" title_cases "${menu_source}")
if(title_cases STREQUAL "")
  string(APPEND problems "\n  no menu titles found in ${MENU_SOURCE}; this check reads them "
                         "from the '{id, \"Title\", function}' rows of the catalogue")
endif()
set(guide_text "")
if(EXISTS "${unpacked}/INSTALL.txt")
  file(READ "${unpacked}/INSTALL.txt" guide_text)
endif()
string(REGEX REPLACE "[ \t\r\n]+" " " guide_text "${guide_text}")
foreach(title_case IN LISTS title_cases)
  string(REGEX MATCH "\"([^\"]+)\"" title "${title_case}")
  set(title "${CMAKE_MATCH_1}")
  string(FIND "${guide_text}" "${title}" at)
  if(at EQUAL -1)
    string(APPEND problems "\n  INSTALL.txt does not name the menu function \"${title}\"")
  endif()
endforeach()

if(NOT problems STREQUAL "")
  message(FATAL_ERROR "${zip} is not as expected:${problems}")
endif()
list(LENGTH title_cases title_count)
message(STATUS "${PACKAGE}: ${entries}; the guide names all ${title_count} menu functions")
