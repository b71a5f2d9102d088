#include <stdlib.h>

#include "plugin/plugin_interface.h"
#include "plugin/run_flow.h"

void* ZDVNPluginInterface::operator new(size_t size) noexcept {
  return malloc(size);
}

void ZDVNPluginInterface::operator delete(void* memory) noexcept {
  free(memory);
}

Facetkit::Facetkit() {}

Facetkit::~Facetkit() {}

bool Facetkit::execute() {
  return runPlugin();
}

bool Facetkit::initPlugin() {
  return checkHost();
}

ZDVNPluginInterface* createPlugin() {
  return new Facetkit();
}
