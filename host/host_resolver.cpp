#include <stddef.h>
#include <stdio.h>
#include <string.h>

#include "host/host_function_table.h"
#include "platform/module_lookup.h"

HostFunctionTable hostFunctions;

namespace {

const char* const kHostModuleName = "Zandrovix.exe";
const char* const kMissingHostFunction =
    "Facetkit> Zandrovix does not provide %s; action cancelled.";

struct EntryPlace {
  const char* name;
  size_t offset;
};

// Name and place in the table of every entry, in record order.
const EntryPlace kEntryPlaces[] = {
#define FACETKIT_ENTRY_PLACE(name) {#name, offsetof(HostFunctionTable, name)},
    FACETKIT_HOST_FUNCTIONS(FACETKIT_ENTRY_PLACE, FACETKIT_ENTRY_PLACE)
#undef FACETKIT_ENTRY_PLACE
};

constexpr int kEntryCount = static_cast<int>(sizeof(kEntryPlaces) / sizeof(kEntryPlaces[0]));
static_assert(kEntryCount == 184, "one place per host function");

// Stores `address` in the table entry at `offset`, whatever its function type.
void storeEntry(size_t offset, ProcAddress address) {
  memcpy(reinterpret_cast<unsigned char*>(&hostFunctions) + offset, &address, sizeof(address));
}

ProcAddress loadEntry(size_t offset) {
  ProcAddress address = nullptr;
  memcpy(&address, reinterpret_cast<const unsigned char*>(&hostFunctions) + offset,
         sizeof(address));
  return address;
}

}  // namespace

bool resolveHostFunctions() {
  ModuleHandle host = GetModuleHandleA(kHostModuleName);
  if (host == nullptr) return false;
  const size_t versionPlace = offsetof(HostFunctionTable, zvGetVersionOfZandrovix);
  storeEntry(versionPlace, GetProcAddress(host, "zvGetVersionOfZandrovix"));
  if (hostFunctions.zvGetVersionOfZandrovix == nullptr) return false;
  for (const EntryPlace& place : kEntryPlaces) {
    if (place.offset == versionPlace) continue;
    storeEntry(place.offset, GetProcAddress(host, place.name));
  }
  return true;
}

const char* hostEntryName(HostEntry entry) {
  return kEntryPlaces[static_cast<int>(entry)].name;
}

bool hostEntryPresent(HostEntry entry) {
  return loadEntry(kEntryPlaces[static_cast<int>(entry)].offset) != nullptr;
}

bool hostProvides(const HostEntry* needed, int count) {
  for (int index = 0; index < count; ++index) {
    if (hostEntryPresent(needed[index])) continue;
    if (hostEntryPresent(HostEntry::zvLogText)) {
      char line[kHostTextSize];
      snprintf(line, sizeof(line), kMissingHostFunction, hostEntryName(needed[index]));
      hostFunctions.zvLogText(line);
    }
    return false;
  }
  return true;
}
