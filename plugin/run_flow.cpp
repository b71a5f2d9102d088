#include "plugin/run_flow.h"

#include <stdlib.h>
#include <string.h>

#include "host/host_function_table.h"
#include "host/host_records.h"
#include "plugin/function_catalogue.h"
#include "plugin/function_menu.h"

namespace {

const char* const kInitFailed = "init failed.";
const char* const kHostTooOld =
    "Can not execute this plugin - Zandrovix version 2.6 or higher required.";
const char* const kStarted = "\nFacetkit> Started...";
const char* const kNoVmr =
    "This plugin requires that a VMR document is available and selected in Zandrovix.";
const char* const kNoVmrLogged = "Facetkit> No VMR present, action cancelled.";
const char* const kNoSurface = "No surface present. Functionality will not be available.";
const char* const kMenuHeading = "Please select one of the following functions:";
const char* const kProcessCancelled = "Process cancelled.";

constexpr int32_t kRequiredMajor = 2;
constexpr int32_t kRequiredMinor = 6;
constexpr int32_t kRequiredSub = 0;

// The host functions that a run calls itself, checked once before it starts:
// the menu functions it dispatches to check what else they need.
const HostEntry kRunNeeds[] = {HostEntry::zvShowLogTab,     HostEntry::zvLogText,
                               HostEntry::zvMessageBox,     HostEntry::zvGetCurrentVMR,
                               HostEntry::zvGetScene,       HostEntry::zvGetCurrentSRF,
                               HostEntry::zvGetIntegerInput};

// Runs the function the user chose; any other number cancels.
void runFunction(FunctionId choice, const SurfaceRecord& surface) {
  const MenuFunction* function = findMenuFunction(choice);
  if (function == nullptr) {
    hostFunctions.zvLogText(kProcessCancelled);
    return;
  }
  function->run(surface);
}

}  // namespace

bool versionAtLeast(int32_t major, int32_t minor, int32_t sub, int32_t requiredMajor,
                    int32_t requiredMinor, int32_t requiredSub) {
  if (major != requiredMajor) return major > requiredMajor;
  if (minor != requiredMinor) return minor > requiredMinor;
  return sub >= requiredSub;
}

bool checkHost() {
  if (!resolveHostFunctions()) {
    if (hostEntryPresent(HostEntry::zvLogText)) hostFunctions.zvLogText(kInitFailed);
    return false;
  }
  int major = 0;
  int minor = 0;
  int sub = 0;
  hostFunctions.zvGetVersionOfZandrovix(&major, &minor, &sub);
  if (versionAtLeast(major, minor, sub, kRequiredMajor, kRequiredMinor, kRequiredSub)) {
    return true;
  }
  if (hostEntryPresent(HostEntry::zvMessageBox)) hostFunctions.zvMessageBox(kHostTooOld);
  return false;
}

bool runPlugin() {
  if (!resolveHostFunctions()) return false;
  if (!hostProvides(kRunNeeds)) return false;
  hostFunctions.zvShowLogTab();
  hostFunctions.zvLogText(kStarted);

  int vmrFirst = 0;
  int vmrSecond = 0;
  int vmrThird = 0;
  if (hostFunctions.zvGetCurrentVMR(&vmrFirst, &vmrSecond, &vmrThird) == nullptr) {
    hostFunctions.zvMessageBox(kNoVmr);
    hostFunctions.zvLogText(kNoVmrLogged);
    return false;
  }

  // Zeroed, so that a host that leaves them unfilled gives no surface and
  // an empty record instead of stray addresses.
  SceneRecord scene;
  memset(&scene, 0, sizeof(scene));
  hostFunctions.zvGetScene(&scene);
  if (scene.surfaceCount < 1) {
    hostFunctions.zvLogText(kNoSurface);
    return true;
  }
  SurfaceRecord surface;
  memset(&surface, 0, sizeof(surface));
  hostFunctions.zvGetCurrentSRF(&surface);

  char* menu = buildFunctionMenu(kMenuHeading, functionCatalogue.functions, functionCatalogue.count,
                                 true, "");
  if (menu == nullptr) {
    hostFunctions.zvLogText(kProcessCancelled);
    return true;
  }
  FunctionId choice = hostFunctions.zvGetIntegerInput(menu, 1, 1, functionCatalogue.count);
  free(menu);
  runFunction(choice, surface);
  return true;
}
