# Compiler flags of the clang-cl cross build (windows-clang-cl.cmake), set in
# place of the defaults that CMake gives a cl-like compiler: those name
# runtime pieces that this build does not link (/EHsc needs the C++ exception
# handler, /RTC1 the run-time check functions).

foreach(lang C CXX)
  set(CMAKE_${lang}_FLAGS_INIT "${FACETKIT_CLANG_CL_FLAGS}")
  set(CMAKE_${lang}_FLAGS_DEBUG_INIT "/Od /Z7")
  set(CMAKE_${lang}_FLAGS_RELEASE_INIT "/O2 /DNDEBUG")
  set(CMAKE_${lang}_FLAGS_RELWITHDEBINFO_INIT "/O2 /Z7 /DNDEBUG")
  set(CMAKE_${lang}_FLAGS_MINSIZEREL_INIT "/O1 /DNDEBUG")
endforeach()
string(APPEND CMAKE_CXX_FLAGS_INIT " ${FACETKIT_CLANG_CL_CXX_FLAGS}")
