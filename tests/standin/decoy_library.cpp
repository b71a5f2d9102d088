// A library that exports two host names, loaded into a host variant that
// lacks both: the plug-in must still find them missing, since they are not
// the host program's own. It says when it is loaded, so that a test sees it
// really was, and when one of its functions is called.

#include <stdio.h>

#include "platform/export.h"

namespace {

__attribute__((constructor)) void announceLoad() {
  printf("decoy: loaded\n");
  fflush(stdout);
}

}  // namespace

extern "C" {

FACETKIT_EXPORT bool zvLogText(const char* text) {
  printf("decoy: zvLogText(%s)\n", text != nullptr ? text : "null");
  return true;
}

FACETKIT_EXPORT void zvPlotBars() {
  printf("decoy: zvPlotBars()\n");
}
}
