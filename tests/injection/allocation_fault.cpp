// A malloc-family interposer, preloaded into a stand-in host, that counts the
// allocations the plug-in makes and makes one of them fail on request.
//
// An allocation is the plug-in's when, walking the stack outward from the
// allocator, the first frame in either the plug-in library or the host
// program is in the plug-in library. So the C library's own allocations made
// on the plug-in's behalf (the FILE of an fopen, its buffer) count, and the
// host's work inside a host function the plug-in called does not.
//
// Environment:
//   FACETKIT_FAULT_MODULE  file name of the plug-in library (libFacetkit.so)
//   FACETKIT_FAULT_AT      N > 0: the N-th allocation of the plug-in fails
//   FACETKIT_FAULT_REPORT  file that receives, at exit, the lines
//                          "allocations A", "failed SITE" (when one failed)
//                          and "live L" followed by one "leak SITE" each,
//                          where SITE is "module+0xOFFSET" of the first
//                          plug-in frame.

#include <dlfcn.h>
#include <fcntl.h>
#include <link.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>
#include <unwind.h>

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* memory, size_t size);
void __libc_free(void* memory);
void* __libc_memalign(size_t alignment, size_t size);
}

namespace {

const char* moduleName = nullptr;
long failAt = 0;
const char* reportPath = nullptr;

long allocations = 0;
uintptr_t failedSite = 0;
bool failed = false;
// Set while the interposer itself runs, so that the unwinder's or the
// loader's own allocations pass straight through.
bool busy = false;
bool ready = false;

// The plug-in's live blocks: open addressing over the address, with the
// site that allocated each.
constexpr size_t kSlots = 1u << 16;
void* const kTombstone = reinterpret_cast<void*>(1);
void* liveBlock[kSlots];
uintptr_t liveSite[kSlots];
long liveCount = 0;

size_t slotOf(void* block) {
  uintptr_t bits = reinterpret_cast<uintptr_t>(block);
  return static_cast<size_t>((bits >> 4) * 0x9E3779B97F4A7C15ull) & (kSlots - 1);
}

void remember(void* block, uintptr_t site) {
  for (size_t probe = 0, slot = slotOf(block); probe < kSlots; ++probe) {
    if (liveBlock[slot] == nullptr || liveBlock[slot] == kTombstone) {
      liveBlock[slot] = block;
      liveSite[slot] = site;
      ++liveCount;
      return;
    }
    slot = (slot + 1) & (kSlots - 1);
  }
  abort();  // more live plug-in blocks than a run can make
}

// Forgets `block`; returns whether it was the plug-in's, with its site.
bool forget(void* block, uintptr_t* site) {
  for (size_t probe = 0, slot = slotOf(block); probe < kSlots; ++probe) {
    if (liveBlock[slot] == nullptr) return false;
    if (liveBlock[slot] == block) {
      liveBlock[slot] = kTombstone;
      if (site != nullptr) *site = liveSite[slot];
      --liveCount;
      return true;
    }
    slot = (slot + 1) & (kSlots - 1);
  }
  return false;
}

struct Walk {
  int verdict;  // 0 undecided, 1 the plug-in's, -1 the host's
  uintptr_t site;
};

const char* fileNameOf(const char* path) {
  const char* slash = strrchr(path, '/');
  return slash != nullptr ? slash + 1 : path;
}

_Unwind_Reason_Code visitFrame(_Unwind_Context* context, void* data) {
  Walk* walk = static_cast<Walk*>(data);
  uintptr_t address = _Unwind_GetIP(context);
  if (address == 0) return _URC_END_OF_STACK;
  Dl_info info;
  link_map* map = nullptr;
  // One byte back: the return address may be the first byte of the next
  // function.
  if (dladdr1(reinterpret_cast<void*>(address - 1), &info, reinterpret_cast<void**>(&map),
              RTLD_DL_LINKMAP) == 0 ||
      map == nullptr) {
    return _URC_NO_REASON;
  }
  if (map->l_prev == nullptr) {  // the main program: the host
    walk->verdict = -1;
    return _URC_END_OF_STACK;
  }
  if (map->l_name != nullptr && strcmp(fileNameOf(map->l_name), moduleName) == 0) {
    walk->verdict = 1;
    walk->site = address - map->l_addr;
    return _URC_END_OF_STACK;
  }
  return _URC_NO_REASON;
}

// Whether the allocation being made is the plug-in's; its site if so.
bool pluginAllocation(uintptr_t* site) {
  if (!ready || moduleName == nullptr) return false;
  Walk walk = {0, 0};
  _Unwind_Backtrace(visitFrame, &walk);
  *site = walk.site;
  return walk.verdict == 1;
}

// Decides one allocation: returns false when it must fail.
bool admit(uintptr_t* site, bool* plugin) {
  *plugin = false;
  if (busy) return true;
  busy = true;
  *plugin = pluginAllocation(site);
  bool admitted = true;
  if (*plugin) {
    ++allocations;
    if (allocations == failAt) {
      failed = true;
      failedSite = *site;
      admitted = false;
    }
  }
  busy = false;
  return admitted;
}

void record(void* block, bool plugin, uintptr_t site) {
  if (block == nullptr || !plugin) return;
  bool wasBusy = busy;
  busy = true;
  remember(block, site);
  busy = wasBusy;
}

void writeReport() {
  if (reportPath == nullptr) return;
  int file = open(reportPath, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (file < 0) return;
  char line[256];
  int length = snprintf(line, sizeof(line), "allocations %ld\n", allocations);
  if (write(file, line, static_cast<size_t>(length)) < 0) return;
  if (failed) {
    length = snprintf(line, sizeof(line), "failed %s+0x%lx\n", moduleName,
                      static_cast<unsigned long>(failedSite));
    if (write(file, line, static_cast<size_t>(length)) < 0) return;
  }
  length = snprintf(line, sizeof(line), "live %ld\n", liveCount);
  if (write(file, line, static_cast<size_t>(length)) < 0) return;
  for (size_t slot = 0; slot < kSlots; ++slot) {
    if (liveBlock[slot] == nullptr || liveBlock[slot] == kTombstone) continue;
    length = snprintf(line, sizeof(line), "leak %s+0x%lx\n", moduleName,
                      static_cast<unsigned long>(liveSite[slot]));
    if (write(file, line, static_cast<size_t>(length)) < 0) return;
  }
  close(file);
}

__attribute__((constructor)) void start() {
  moduleName = getenv("FACETKIT_FAULT_MODULE");
  const char* at = getenv("FACETKIT_FAULT_AT");
  failAt = at != nullptr ? strtol(at, nullptr, 10) : 0;
  reportPath = getenv("FACETKIT_FAULT_REPORT");
  ready = true;
}

__attribute__((destructor)) void finish() {
  ready = false;
  writeReport();
}

}  // namespace

extern "C" {

void* malloc(size_t size) {
  uintptr_t site = 0;
  bool plugin = false;
  if (!admit(&site, &plugin)) return nullptr;
  void* block = __libc_malloc(size);
  record(block, plugin, site);
  return block;
}

void* calloc(size_t count, size_t size) {
  uintptr_t site = 0;
  bool plugin = false;
  if (!admit(&site, &plugin)) return nullptr;
  void* block = __libc_calloc(count, size);
  record(block, plugin, site);
  return block;
}

void* realloc(void* memory, size_t size) {
  if (memory == nullptr) return malloc(size);
  uintptr_t site = 0;
  bool plugin = false;
  if (!admit(&site, &plugin)) return nullptr;
  void* block = __libc_realloc(memory, size);
  if (block != nullptr || size == 0) {
    uintptr_t oldSite = 0;
    bool wasBusy = busy;
    busy = true;
    bool owned = forget(memory, &oldSite);
    busy = wasBusy;
    // A block keeps its owner through a resize.
    record(block, plugin || owned, plugin ? site : oldSite);
  }
  return block;
}

void free(void* memory) {
  if (memory == nullptr) return;
  bool wasBusy = busy;
  busy = true;
  forget(memory, nullptr);
  busy = wasBusy;
  __libc_free(memory);
}

void* memalign(size_t alignment, size_t size) {
  uintptr_t site = 0;
  bool plugin = false;
  if (!admit(&site, &plugin)) return nullptr;
  void* block = __libc_memalign(alignment, size);
  record(block, plugin, site);
  return block;
}

void* aligned_alloc(size_t alignment, size_t size) {
  return memalign(alignment, size);
}

int posix_memalign(void** result, size_t alignment, size_t size) {
  void* block = memalign(alignment, size);
  if (block == nullptr) return 12;  // ENOMEM
  *result = block;
  return 0;
}

}  // extern "C"
