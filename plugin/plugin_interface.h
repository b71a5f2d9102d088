#pragma once

// The plug-in object as the host sees it. The host calls it through its table
// of virtual functions (destructor, execute, initPlugin, in this order) and
// ends it through the virtual destructor, which returns the memory to this
// library's own allocator.

#include <stddef.h>

#include "platform/export.h"

class FACETKIT_EXPORT ZDVNPluginInterface {
 public:
  ZDVNPluginInterface() {}
  ZDVNPluginInterface(const ZDVNPluginInterface&) {}
  ZDVNPluginInterface& operator=(const ZDVNPluginInterface&) { return *this; }
  virtual ~ZDVNPluginInterface() {}

  // One run of the plug-in, each time the user starts it. Host thread only.
  virtual bool execute() = 0;
  // Whether the plug-in can run under this host. Host thread only.
  virtual bool initPlugin() = 0;

  // Plug-in objects live on the library's own heap; a failed allocation
  // yields a null object instead of an exception.
  static void* operator new(size_t size) noexcept;
  static void operator delete(void* memory) noexcept;
};

class Facetkit : public ZDVNPluginInterface {
 public:
  FACETKIT_EXPORT Facetkit();
  FACETKIT_EXPORT ~Facetkit() override;

  FACETKIT_EXPORT bool execute() override;
  FACETKIT_EXPORT bool initPlugin() override;
};

extern "C" {
// Makes a new plug-in object, owned by the caller and ended with delete
// through ZDVNPluginInterface; null when memory runs out. Calls no host.
FACETKIT_EXPORT ZDVNPluginInterface* createPlugin();
// "Facetkit (v0.2)". Static text of the library.
FACETKIT_EXPORT const char* getPluginName();
// The numbered list of the plug-in's functions, built once at load; the same
// pointer on every call.
FACETKIT_EXPORT const char* getPluginDescription();
// The author credit in italics. Static text of the library.
FACETKIT_EXPORT const char* getAuthor();
// An empty text; exported a second time as getGUIScript.
FACETKIT_EXPORT const char* getHelpFile();
}
