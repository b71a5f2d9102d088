// Guarded memory over whole pages from the system: mmap and mprotect on
// POSIX, VirtualAlloc and VirtualProtect on Windows (declared here, so that
// no Windows header is needed). The pages' base and size sit just before the
// memory handed out, so that it can be given back.

#include "platform/guarded_memory.h"

#include <stdint.h>
#include <string.h>

#if defined(_WIN32)
#include "platform/module_lookup.h"

extern "C" {
// Reserves and commits `size` bytes of zeroed pages with the access
// `protect`; null on failure.
FACETKIT_WINIMPORT void* FACETKIT_WINAPI VirtualAlloc(void* address, size_t size,
                                                      unsigned long allocationType,
                                                      unsigned long protect);
// Gives the pages of `size` bytes at `address` the access `newProtect`;
// nonzero on success.
FACETKIT_WINIMPORT int FACETKIT_WINAPI VirtualProtect(void* address, size_t size,
                                                      unsigned long newProtect,
                                                      unsigned long* oldProtect);
// With MEM_RELEASE and size 0, gives back all pages that one VirtualAlloc
// reserved at `address`; nonzero on success.
FACETKIT_WINIMPORT int FACETKIT_WINAPI VirtualFree(void* address, size_t size,
                                                   unsigned long freeType);
}
#else
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace {

// What is kept just before the memory handed out.
struct GuardedPages {
  void* base;
  size_t size;
};

#if defined(_WIN32)
constexpr unsigned long kCommitAndReserve = 0x1000 | 0x2000;
constexpr unsigned long kReadWrite = 0x04;
constexpr unsigned long kNoAccess = 0x01;
constexpr unsigned long kRelease = 0x8000;

// Every Windows on x64 and ARM64 has pages of 4 KiB.
size_t pageSize() {
  return 4096;
}

void* mapPages(size_t size) {
  return VirtualAlloc(nullptr, size, kCommitAndReserve, kReadWrite);
}

bool closePage(void* page, size_t size) {
  unsigned long previous = 0;
  return VirtualProtect(page, size, kNoAccess, &previous) != 0;
}

void unmapPages(void* base, size_t) {
  VirtualFree(base, 0, kRelease);
}
#else
size_t pageSize() {
  long size = sysconf(_SC_PAGESIZE);
  return size > 0 ? static_cast<size_t>(size) : 4096;
}

void* mapPages(size_t size) {
  void* base = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  return base != MAP_FAILED ? base : nullptr;
}

bool closePage(void* page, size_t size) {
  return mprotect(page, size, PROT_NONE) == 0;
}

void unmapPages(void* base, size_t size) {
  munmap(base, size);
}
#endif

}  // namespace

void* allocateGuarded(size_t bytes) {
  const size_t page = pageSize();
  const size_t kept = sizeof(GuardedPages);
  if (bytes > SIZE_MAX - kept - 2 * page) return nullptr;
  const size_t open = (kept + bytes + page - 1) / page * page;
  char* base = static_cast<char*>(mapPages(open + page));
  if (base == nullptr) return nullptr;
  char* guard = base + open;
  if (!closePage(guard, page)) {
    unmapPages(base, open + page);
    return nullptr;
  }
  char* memory = guard - bytes;
  const GuardedPages pages = {base, open + page};
  memcpy(memory - kept, &pages, kept);
  return memory;
}

void releaseGuarded(void* memory) {
  if (memory == nullptr) return;
  GuardedPages pages;
  memcpy(&pages, static_cast<char*>(memory) - sizeof(pages), sizeof(pages));
  unmapPages(pages.base, pages.size);
}
