// The 184 functions that Zandrovix exports for plug-ins, all in this one
// file so that a variant host lacking some of them recompiles only this
// file: compiled with -D<name>=<name>_absent, a function is exported under
// that other name and the real name is missing.
//
// The 14 that plug-ins call forward to the host operations; each must have
// exactly its contract's type. The others record the call as unexpected.

#include <stdint.h>

#include "host/host_api.h"
#include "host/host_function_list.h"
#include "host/host_records.h"
#include "platform/export.h"
#include "standin/calls/host_operations.h"

namespace {

template <typename First, typename Second>
struct SameType {
  static constexpr bool value = false;
};
template <typename Type>
struct SameType<Type, Type> {
  static constexpr bool value = true;
};

}  // namespace

extern "C" {

FACETKIT_EXPORT bool zvGetVersionOfZandrovix(int* major, int* minor, int* sub) {
  return standin::hostGetVersion(major, minor, sub);
}

FACETKIT_EXPORT bool zvGetZandrovixPath(char* path) {
  return standin::hostGetPath(path);
}

FACETKIT_EXPORT bool zvShowLogTab() {
  return standin::hostShowLogTab();
}

FACETKIT_EXPORT bool zvLogText(const char* text) {
  return standin::hostLogText(text);
}

FACETKIT_EXPORT bool zvMessageBox(const char* text) {
  return standin::hostMessageBox(text);
}

FACETKIT_EXPORT int zvYesNoMessageBox(const char* question) {
  return standin::hostYesNoMessageBox(question);
}

FACETKIT_EXPORT int zvGetIntegerInput(char* prompt, int preset, int lowest, int highest) {
  return standin::hostGetIntegerInput(prompt, preset, lowest, highest);
}

FACETKIT_EXPORT int zvGetTextInput(char* prompt, char* preset, char* answer) {
  return standin::hostGetTextInput(prompt, preset, answer);
}

FACETKIT_EXPORT int zvGetSaveFileName(const char* title, const char* startPath, const char* filter,
                                      char* fileName) {
  return standin::hostGetSaveFileName(title, startPath, filter, fileName);
}

FACETKIT_EXPORT bool zvUpdateActiveWindow() {
  return standin::hostUpdateActiveWindow();
}

FACETKIT_EXPORT void* zvGetCurrentVMR(int* first, int* second, int* third) {
  return standin::hostGetCurrentVMR(first, second, third);
}

FACETKIT_EXPORT bool zvGetScene(SceneRecord* scene) {
  return standin::hostGetScene(scene);
}

FACETKIT_EXPORT bool zvGetCurrentSRF(SurfaceRecord* surface) {
  return standin::hostGetCurrentSRF(surface);
}

FACETKIT_EXPORT bool zvSaveCurrentSRF(const char* fileName) {
  return standin::hostSaveCurrentSRF(fileName);
}

// `#name` keeps the host name even where `name` is renamed away.
#define STANDIN_UNEXPECTED(name)               \
  FACETKIT_EXPORT intptr_t name() {            \
    return standin::hostUnexpectedCall(#name); \
  }
#define STANDIN_SKIP(name)
FACETKIT_HOST_FUNCTIONS(STANDIN_SKIP, STANDIN_UNEXPECTED)
#undef STANDIN_UNEXPECTED
#undef STANDIN_SKIP

}  // extern "C"

// Each called function above has exactly the type its contract gives, and
// none of the 14 is missing.
#define STANDIN_CHECK_TYPE(name)                            \
  static_assert(SameType<decltype(&name), name##Fn>::value, \
                #name " must have the type " #name "Fn of host_api.h");
#define STANDIN_SKIP(name)
FACETKIT_HOST_FUNCTIONS(STANDIN_CHECK_TYPE, STANDIN_SKIP)
#undef STANDIN_CHECK_TYPE
#undef STANDIN_SKIP
