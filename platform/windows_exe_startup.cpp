// The entry point of a console program, in place of the Microsoft runtime's:
// it prepares ucrtbase's argument list, builds the program's static objects,
// calls main and leaves through exit, which runs the registered exit
// functions and flushes open streams.

#include <corecrt_startup.h>

#include "platform/windows_startup_common.h"

extern "C" {
// ucrtbase.dll.
__declspec(dllimport) void __cdecl _set_app_type(_crt_app_type type);
__declspec(dllimport) errno_t __cdecl _configure_narrow_argv(_crt_argv_mode mode);
__declspec(dllimport) int __cdecl _initialize_narrow_environment();
__declspec(dllimport) int __cdecl _crt_atexit(_PVFV function);
__declspec(dllimport) int* __cdecl __p___argc();
__declspec(dllimport) char*** __cdecl __p___argv();
__declspec(dllimport) __declspec(noreturn) void __cdecl exit(int status);
}

int main(int argumentCount, char** arguments);

namespace {

constexpr int kStartupFailed = 255;

}  // namespace

// Registers `function` to run at exit, after every function registered
// later. A program's code lives until the process ends, so the process-wide
// table of ucrtbase serves. Returns 0 on success.
extern "C" int __cdecl atexit(_PVFV function) {
  return _crt_atexit(function) == 0 ? 0 : -1;
}

// Called by the loader as the program's first code: sets the stack cookie
// first, so it runs unprotected itself.
extern "C" FACETKIT_NO_STACK_COOKIE void __cdecl mainCRTStartup() {
  initialiseSecurityCookie();
  _set_app_type(_crt_console_app);
  if (_configure_narrow_argv(_crt_argv_unexpanded_arguments) != 0 ||
      _initialize_narrow_environment() != 0 || !runStaticInitialisers()) {
    exit(kStartupFailed);
  }
  exit(main(*__p___argc(), *__p___argv()));
}
