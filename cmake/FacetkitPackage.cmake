# The Windows package: `cmake --build --preset windows --target package`
# writes Facetkit-<version>-win64.zip into the build folder, holding
# Facetkit.dll, the install guide INSTALL.txt and the licence LICENSE.txt,
# side by side with no folder around them. Included by the top-level
# CMakeLists.txt once the Facetkit target exists.

# The texts get Windows line ends, since they are read on Windows.
set(FACETKIT_PACKAGE_TEXT_DIR ${PROJECT_BINARY_DIR}/package_texts)
configure_file(${PROJECT_SOURCE_DIR}/docs/INSTALL.txt.in
               ${FACETKIT_PACKAGE_TEXT_DIR}/INSTALL.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE
               ${FACETKIT_PACKAGE_TEXT_DIR}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)

# Only the DLL itself: the host loads it by name, so its import library is
# of no use to anyone.
install(TARGETS Facetkit RUNTIME DESTINATION . COMPONENT plugin)
install(FILES ${FACETKIT_PACKAGE_TEXT_DIR}/INSTALL.txt ${FACETKIT_PACKAGE_TEXT_DIR}/LICENSE.txt
        DESTINATION . COMPONENT plugin)

set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Facetkit)
set(CPACK_PACKAGE_VENDOR "Facetkit developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Facetkit plug-in for Zandrovix")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_SYSTEM_NAME win64)
set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${CPACK_PACKAGE_VERSION}-${CPACK_SYSTEM_NAME})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
# The plug-in component alone, whatever else the build may install.
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};plugin;/")
include(CPack)
