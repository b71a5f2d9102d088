# Cross-builds for Windows x64 on Linux with clang-cl and lld-link, so that the
# DLL and any executable speak the Microsoft C++ ABI (vtable layout, scalar
# deleting destructors, decorated member names) that the host expects.
#
# C runtime headers come from Wine (libwine-dev), import libraries for
# kernel32.dll and ucrtbase.dll likewise. There is no Microsoft runtime
# startup code in this build: FACETKIT_OWN_CRT_STARTUP makes the project link
# its own small entry points from platform/windows_*_startup.cpp.
#
#   cmake -S . -B build-windows -G Ninja \
#     -DCMAKE_TOOLCHAIN_FILE=cmake/windows-clang-cl.cmake -DCMAKE_BUILD_TYPE=Release

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(CMAKE_SYSTEM_VERSION 10.0)

# The LLVM tools carry a version suffix on Debian ("clang-cl-14").
set(FACETKIT_LLVM_SUFFIX "-14" CACHE STRING "Suffix of the LLVM tool names")
set(FACETKIT_WINE_INCLUDE_DIR "/usr/include/wine/wine"
    CACHE PATH "Wine's headers (msvcrt/ and windows/ below it)")
set(FACETKIT_WINE_IMPORT_LIB_DIR "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows"
    CACHE PATH "Wine's import libraries for 64-bit Windows modules")

set(CMAKE_C_COMPILER "clang-cl${FACETKIT_LLVM_SUFFIX}")
set(CMAKE_CXX_COMPILER "clang-cl${FACETKIT_LLVM_SUFFIX}")
set(CMAKE_LINKER "lld-link${FACETKIT_LLVM_SUFFIX}")
set(CMAKE_AR "llvm-lib${FACETKIT_LLVM_SUFFIX}")
set(CMAKE_RC_COMPILER "llvm-rc${FACETKIT_LLVM_SUFFIX}")
set(CMAKE_MT "llvm-mt${FACETKIT_LLVM_SUFFIX}")

# Compiler flags of every C and C++ source. The C runtime is ucrtbase.dll,
# used only through its exported functions: the compiler records no default
# libraries (/Zl), and nothing may need the Microsoft runtime's static
# helpers: no exceptions (/EHs-c-), no RTTI (/GR-), no thread-safe statics
# (/Zc:threadSafeInit-). Functions with stack buffers check a stack cookie
# (/GS), which the project's startup code provides
# (platform/windows_security_cookie.cpp). windows-clang-cl-rules.cmake puts
# these in place of CMake's defaults for cl-like compilers.
string(CONCAT FACETKIT_CLANG_CL_FLAGS
       "--target=x86_64-pc-windows-msvc -fms-compatibility-version=19.29 /X"
       " -imsvc ${FACETKIT_WINE_INCLUDE_DIR}/msvcrt -imsvc ${FACETKIT_WINE_INCLUDE_DIR}/windows"
       " /DWIN32 /D_WINDOWS /GS /Zl /Zc:threadSafeInit-")
set(FACETKIT_CLANG_CL_CXX_FLAGS "/std:c++17 /GR- /EHs-c-")
set(CMAKE_USER_MAKE_RULES_OVERRIDE_C "${CMAKE_CURRENT_LIST_DIR}/windows-clang-cl-rules.cmake")
set(CMAKE_USER_MAKE_RULES_OVERRIDE_CXX "${CMAKE_CURRENT_LIST_DIR}/windows-clang-cl-rules.cmake")
# ucrtbase.dll is the DLL form of the runtime; /MD also in Debug, so that no
# debug-runtime names are expected.
set(CMAKE_MSVC_RUNTIME_LIBRARY MultiThreadedDLL)

set(CMAKE_SHARED_LINKER_FLAGS_INIT "/nodefaultlib /manifest:no")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "/nodefaultlib /manifest:no")
set(CMAKE_EXE_LINKER_FLAGS_INIT "/nodefaultlib /manifest:no")

# Every module links against these two import libraries and nothing else.
set(_facetkit_import_libs
    "${FACETKIT_WINE_IMPORT_LIB_DIR}/libkernel32.a ${FACETKIT_WINE_IMPORT_LIB_DIR}/libucrtbase.a")
set(CMAKE_C_STANDARD_LIBRARIES "${_facetkit_import_libs}" CACHE STRING "Import libraries")
set(CMAKE_CXX_STANDARD_LIBRARIES "${_facetkit_import_libs}" CACHE STRING "Import libraries")
unset(_facetkit_import_libs)

# A program cannot link before the project provides its entry point, so the
# compiler checks build a static library instead.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

set(FACETKIT_OWN_CRT_STARTUP ON CACHE BOOL "Link the project's own DLL and program entry points")
