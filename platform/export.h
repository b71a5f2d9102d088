#pragma once

// How the library makes its functions and class members visible to the host.

#if defined(_WIN32)
#define FACETKIT_EXPORT __declspec(dllexport)
#else
#define FACETKIT_EXPORT __attribute__((visibility("default")))
#endif

// Exports the plain function `first` (defined in the same source file) a
// second time under the name `second`; both names reach one function.
#if defined(_WIN32)
#define FACETKIT_EXPORT_ALIAS(second, first, type) \
  __pragma(comment(linker, "/EXPORT:" #second "=" #first))
#else
#define FACETKIT_EXPORT_ALIAS(second, first, type) \
  extern "C" FACETKIT_EXPORT type second() __attribute__((alias(#first)));
#endif
