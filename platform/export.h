#pragma once

// How the library makes its functions and class members visible to the host.

#if defined(_WIN32)
#define FACETKIT_EXPORT __declspec(dllexport)
#else
#define FACETKIT_EXPORT __attribute__((visibility("default")))
#endif

// Exports the plain function `target` (defined in the same source file) a
// second time under the name `alias`; both names reach one function.
#if defined(_WIN32)
#define FACETKIT_EXPORT_ALIAS(alias, target, type) \
  __pragma(comment(linker, "/EXPORT:" #alias "=" #target))
#else
#define FACETKIT_EXPORT_ALIAS(alias, target, type) \
  extern "C" FACETKIT_EXPORT type alias() __attribute__((alias(#target)));
#endif
