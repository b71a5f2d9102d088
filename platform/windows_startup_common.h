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
