#pragma once

// The two kernel32 functions through which the plug-in finds its host. On
// Windows they are kernel32's own; elsewhere module_lookup_posix.cpp gives
// them over the dynamic loader with the same contract.

using ModuleHandle = void*;
using ProcAddress = void (*)();

#if defined(_WIN32)
#define FACETKIT_WINAPI __stdcall
#define FACETKIT_WINIMPORT __declspec(dllimport)
#else
#define FACETKIT_WINAPI
#define FACETKIT_WINIMPORT
#endif

extern "C" {
// Returns the module already loaded in this process under the file name
// `moduleName` (compared without case, the main program included), or null.
// The module is neither loaded nor kept loaded by the call.
FACETKIT_WINIMPORT ModuleHandle FACETKIT_WINAPI GetModuleHandleA(const char* moduleName);

// Returns the address that `module` exports under exactly `procName`, or null.
FACETKIT_WINIMPORT ProcAddress FACETKIT_WINAPI GetProcAddress(ModuleHandle module,
                                                              const char* procName);
}
