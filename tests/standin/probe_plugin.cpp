// A plug-in that probes the stand-in host rather than doing Facetkit's work:
// initPlugin prints which of the 184 host names the host lacks, execute
// calls a host function that no plug-in of this kind should call. The
// host-variant tests read what it prints.

#include <stdio.h>
#include <stdlib.h>

#include "host/host_api.h"
#include "host/host_function_list.h"
#include "platform/module_lookup.h"
#include "plugin/plugin_interface.h"

namespace {

#define PROBE_NAME(name) #name,
const char* const kHostNames[] = {FACETKIT_HOST_FUNCTIONS(PROBE_NAME, PROBE_NAME)};
#undef PROBE_NAME

}  // namespace

void* ZDVNPluginInterface::operator new(size_t size) noexcept {
  return malloc(size);
}

void ZDVNPluginInterface::operator delete(void* memory) noexcept {
  free(memory);
}

Facetkit::Facetkit() {}

Facetkit::~Facetkit() {}

bool Facetkit::initPlugin() {
  ModuleHandle host = GetModuleHandleA("Zandrovix.exe");
  if (host == nullptr) {
    printf("probe: no module Zandrovix.exe\n");
    return false;
  }
  int missing = 0;
  printf("probe: missing:");
  for (const char* name : kHostNames) {
    if (GetProcAddress(host, name) == nullptr) {
      printf(" %s", name);
      ++missing;
    }
  }
  printf("%s (%d of %d)\n", missing == 0 ? " none" : "", missing,
         static_cast<int>(sizeof(kHostNames) / sizeof(kHostNames[0])));
  fflush(stdout);
  return true;
}

bool Facetkit::execute() {
  ProcAddress plotBars = GetProcAddress(GetModuleHandleA("Zandrovix.exe"), "zvPlotBars");
  if (plotBars != nullptr) plotBars();
  return true;
}

ZDVNPluginInterface* createPlugin() {
  return new Facetkit();
}

const char* getPluginName() {
  return "Stand-in probe";
}

const char* getPluginDescription() {
  return "Reports the host names it finds";
}

const char* getAuthor() {
  return "<i>probe</i>";
}

const char* getHelpFile() {
  return "";
}

extern "C" FACETKIT_EXPORT const char* getGUIScript() {
  return "";
}
