# The Windows package: `cmake --build --preset windows --target package`
# builds the DLL and writes Facetkit-<version>-win64.zip into the build
# folder, holding Facetkit.dll, the install guide INSTALL.txt, the licence
# LICENSE.txt and SHA256SUMS (the sums of those three), side by side with no
# folder around them. The same commit gives the same zip, byte for byte,
# whoever makes it where and when: cmake/package_zip.py writes the entries
# in that order with one fixed time. Included by the top-level
# CMakeLists.txt once the Facetkit target exists.

# The texts get Windows line ends, since they are read on Windows.
set(FACETKIT_PACKAGE_TEXT_DIR ${PROJECT_BINARY_DIR}/package_texts)
configure_file(${PROJECT_SOURCE_DIR}/docs/INSTALL.txt.in
               ${FACETKIT_PACKAGE_TEXT_DIR}/INSTALL.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE
               ${FACETKIT_PACKAGE_TEXT_DIR}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)

set(FACETKIT_PACKAGE_NAME Facetkit-${PROJECT_VERSION}-win64.zip)

# Debian's Python on Linux, as for every script of the project: its zlib
# compresses the entries, and another zlib could give other bytes. On
# Windows the Python installed there.
if(CMAKE_HOST_WIN32)
  find_package(Python3 COMPONENTS Interpreter)
  set(facetkit_package_python ${Python3_EXECUTABLE})
else()
  set(facetkit_package_python /usr/bin/python3)
endif()

# The command that writes the package to the zip named after it; the files
# are the built DLL (not its import library: the host loads the DLL by
# name) and the two texts. The package's test runs it too.
set(FACETKIT_PACKAGE_COMMAND
    ${facetkit_package_python} ${PROJECT_SOURCE_DIR}/cmake/package_zip.py
    --source-dir ${PROJECT_SOURCE_DIR})
set(FACETKIT_PACKAGE_FILES $<TARGET_FILE:Facetkit> ${FACETKIT_PACKAGE_TEXT_DIR}/INSTALL.txt
                           ${FACETKIT_PACKAGE_TEXT_DIR}/LICENSE.txt)

# CMake reserves the name `package` for CPack while a build folder holds
# CPack's configuration, as folders do that were configured when CPack made
# the package.
file(REMOVE ${PROJECT_BINARY_DIR}/CPackConfig.cmake ${PROJECT_BINARY_DIR}/CPackSourceConfig.cmake)

# Made afresh on every call, since the entries' time comes from the last
# commit, which a build cannot see change.
add_custom_target(package
  COMMAND ${FACETKIT_PACKAGE_COMMAND} ${PROJECT_BINARY_DIR}/${FACETKIT_PACKAGE_NAME}
          ${FACETKIT_PACKAGE_FILES}
  COMMENT "Writing ${FACETKIT_PACKAGE_NAME}"
  VERBATIM)
add_dependencies(package Facetkit)
