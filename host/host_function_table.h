#pragma once

#include "host/host_api.h"
#include "host/host_function_list.h"

// One address per host function, in the host's record order, null where the
// host does not export the name. Zero until the first resolution.
struct HostFunctionTable {
#define FACETKIT_TABLE_CALLED(name) name##Fn name;
#define FACETKIT_TABLE_OTHER(name) HostProc name;
  FACETKIT_HOST_FUNCTIONS(FACETKIT_TABLE_CALLED, FACETKIT_TABLE_OTHER)
#undef FACETKIT_TABLE_CALLED
#undef FACETKIT_TABLE_OTHER
};

static_assert(sizeof(HostFunctionTable) == 184 * sizeof(void*), "one address per host function");

// The process-wide table; every call into the host goes through it.
extern HostFunctionTable hostFunctions;

// Looks up every host function in the loaded module "Zandrovix.exe". Returns
// false, leaving the table as it was, when there is no such module; false,
// with only the version entry written (null), when the host lacks
// zvGetVersionOfZandrovix; otherwise true with all 184 entries written.
// Host thread only.
bool resolveHostFunctions();

// Identifies one entry of the table, for checks before a call.
enum class HostEntry : int {
#define FACETKIT_ENTRY_ID(name) name,
  FACETKIT_HOST_FUNCTIONS(FACETKIT_ENTRY_ID, FACETKIT_ENTRY_ID)
#undef FACETKIT_ENTRY_ID
};

// The exported name of `entry`.
const char* hostEntryName(HostEntry entry);

// Whether the table holds an address for `entry`.
bool hostEntryPresent(HostEntry entry);

// Checks that the table holds every entry of `needed`. When one is missing,
// logs "Facetkit> Zandrovix does not provide <name>; action cancelled." if
// the log itself is available, and returns false.
bool hostProvides(const HostEntry* needed, int count);

template <int N>
bool hostProvides(const HostEntry (&needed)[N]) {
  return hostProvides(needed, N);
}
