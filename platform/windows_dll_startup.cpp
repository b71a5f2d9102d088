// The entry point of the DLL, in place of the Microsoft runtime's: it builds
// the library's static objects when the DLL is loaded and ends them when it
// is unloaded, while the library's code is still mapped.

#include <corecrt_startup.h>

#include "platform/windows_startup_common.h"

extern "C" {
// ucrtbase.dll: keep a table of exit functions and run it in reverse order of
// registration.
__declspec(dllimport) int __cdecl _initialize_onexit_table(_onexit_table_t* table);
__declspec(dllimport) int __cdecl _register_onexit_function(_onexit_table_t* table,
                                                            _onexit_t function);
__declspec(dllimport) int __cdecl _execute_onexit_table(_onexit_table_t* table);
}

namespace {

constexpr unsigned long kProcessDetach = 0;
constexpr unsigned long kProcessAttach = 1;

// The destructors of this DLL's static objects. They must run when the DLL
// is unloaded, not at process exit, when the code they point to is gone.
_onexit_table_t moduleExitTable;

}  // namespace

// Registers `function` to run when the DLL is unloaded, after every function
// registered later. The compiler registers static destructors here. Returns 0
// on success, nonzero when memory runs out.
extern "C" int __cdecl atexit(_PVFV function) {
  // The table stores int(void) functions and ignores their result, as the
  // Microsoft runtime's own atexit relies on.
  return _register_onexit_function(&moduleExitTable, reinterpret_cast<_onexit_t>(function)) == 0
             ? 0
             : -1;
}

// Called by the loader. On attach, sets the stack cookie, runs the static
// initialisers and fails the load if one fails; on detach, runs the
// registered exit functions. Unprotected, since the cookie changes under it.
extern "C" FACETKIT_NO_STACK_COOKIE int __stdcall _DllMainCRTStartup(void* module,
                                                                     unsigned long reason,
                                                                     void* reserved) {
  static_cast<void>(module);
  static_cast<void>(reserved);
  if (reason == kProcessAttach) {
    initialiseSecurityCookie();
    if (_initialize_onexit_table(&moduleExitTable) != 0) return 0;
    return runStaticInitialisers() ? 1 : 0;
  }
  if (reason == kProcessDetach) _execute_onexit_table(&moduleExitTable);
  return 1;
}
