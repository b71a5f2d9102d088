#pragma once

// Pieces of the Microsoft C runtime's startup that this build provides
// itself, shared by the DLL and the program entry points. Compiled only when
// the project links its own startup code (clang-cl cross build); a build with
// the Microsoft compiler uses the runtime's own.

// Runs the C initialisers (.CRT$XI*) and then the C++ dynamic initialisers
// (.CRT$XC*) of this module, in link order, as the Microsoft runtime does at
// start. Returns false, with the rest not run, when a C initialiser fails.
// Call once, from the module's entry point.
bool runStaticInitialisers();

// Marks a function that runs before the stack cookie is set, or that sets it:
// it stores and checks no cookie of its own.
#define FACETKIT_NO_STACK_COOKIE __attribute__((no_stack_protector))

// Gives this module's stack cookie a fresh value from the performance
// counter, the system time, the process and thread ids and the addresses of
// the stack and the module. Call once, from the entry point, before any
// function that checks the cookie runs.
void initialiseSecurityCookie();
