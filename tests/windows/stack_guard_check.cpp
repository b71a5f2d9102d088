// Checks the stack cookie of a DLL built like Facetkit.dll
// (stack_guard_probe.dll) from a program built like the stand-in host.
//
//   stack_guard_check <probe DLL>             runs the checks below
//   stack_guard_check <probe DLL> cookie      prints the DLL's cookie
//   stack_guard_check <probe DLL> copy <N>    copies N bytes into the DLL's
//                                             16-byte stack buffer
//   stack_guard_check <probe DLL> resume-copy <N>   the same, with an
//                         exception handler that resumes after anything
//
// The checks: the DLL's cookie and this program's own are set, differ from
// the unset value and from each other, and keep their top 16 bits zero; a
// copy that fits returns normally; and a child process that copies past the
// buffer ends with the fail-fast status of a broken stack cookie instead of
// returning from the call. Built for Windows only, with the C runtime alone.

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "platform/module_lookup.h"
#include "tests/windows/check_count.h"

extern "C" {
// The program's own stack cookie, defined by the startup code.
extern uintptr_t __security_cookie;
}

namespace {

struct StartupInfo {
  unsigned long size;
  char* reserved;
  char* desktop;
  char* title;
  unsigned long numbers[8];
  unsigned short showWindow;
  unsigned short reservedSize;
  unsigned char* reservedData;
  void* standardInput;
  void* standardOutput;
  void* standardError;
};
static_assert(sizeof(StartupInfo) == 104, "STARTUPINFOA of 64-bit Windows");

struct ProcessInformation {
  void* process;
  void* thread;
  unsigned long processId;
  unsigned long threadId;
};
static_assert(sizeof(ProcessInformation) == 24, "PROCESS_INFORMATION of 64-bit Windows");

}  // namespace

extern "C" {
FACETKIT_WINIMPORT ModuleHandle FACETKIT_WINAPI LoadLibraryA(const char* fileName);
FACETKIT_WINIMPORT unsigned long FACETKIT_WINAPI GetModuleFileNameA(ModuleHandle module,
                                                                    char* fileName,
                                                                    unsigned long size);
FACETKIT_WINIMPORT int FACETKIT_WINAPI CreateProcessA(const char* application, char* commandLine,
                                                      void* processAttributes,
                                                      void* threadAttributes, int inheritHandles,
                                                      unsigned long flags, void* environment,
                                                      const char* folder, StartupInfo* startup,
                                                      ProcessInformation* information);
FACETKIT_WINIMPORT unsigned long FACETKIT_WINAPI WaitForSingleObject(void* handle,
                                                                     unsigned long milliseconds);
FACETKIT_WINIMPORT int FACETKIT_WINAPI GetExitCodeProcess(void* process, unsigned long* code);
FACETKIT_WINIMPORT int FACETKIT_WINAPI TerminateProcess(void* process, unsigned int status);
FACETKIT_WINIMPORT int FACETKIT_WINAPI CloseHandle(void* handle);
// Calls `handler` first for every exception of the process; it returns -1
// to resume where the exception was raised, 0 to pass it on.
FACETKIT_WINIMPORT void* FACETKIT_WINAPI
AddVectoredExceptionHandler(unsigned long first, long(FACETKIT_WINAPI* handler)(void* pointers));
}

namespace {

using CookieExport = uint64_t (*)();
using CopyExport = int (*)(const char* text, size_t length);

// The cookie's value before the startup code sets it.
constexpr uint64_t kUnsetCookie = 0x00002B992DDFA232ull;
// STATUS_STACK_BUFFER_OVERRUN, the exit status of a process ended by
// __fastfail.
constexpr unsigned long kFailFastStatus = 0xC0000409ul;
// A child that has not ended by then never will (one that resumes after a
// fault it cannot mend repeats it forever): it is ended with kChildHung.
constexpr unsigned long kChildTimeLimit = 30000;
constexpr unsigned long kWaitTimedOut = 0x102;
constexpr unsigned int kChildHung = 0xDEAD;
constexpr unsigned long kChildNotRun = 0xFFFFFFFFul;
// Past the 16-byte buffer and the cookie above it.
constexpr size_t kOverrunLength = 64;

CheckCount checks;

void check(bool condition, const char* what) {
  checks.check(condition, what);
}

struct Probe {
  CookieExport cookie = nullptr;
  CopyExport copy = nullptr;
};

bool loadProbe(const char* path, Probe* probe) {
  ModuleHandle library = LoadLibraryA(path);
  if (library == nullptr) {
    printf("cannot load %s\n", path);
    return false;
  }
  probe->cookie = reinterpret_cast<CookieExport>(GetProcAddress(library, "stackCookie"));
  probe->copy = reinterpret_cast<CopyExport>(GetProcAddress(library, "copyIntoStackBuffer"));
  if (probe->cookie == nullptr || probe->copy == nullptr) {
    printf("%s lacks stackCookie or copyIntoStackBuffer\n", path);
    return false;
  }
  return true;
}

int copyBytes(const Probe& probe, size_t length) {
  char* text = static_cast<char*>(malloc(length + 1));
  if (text == nullptr) return -1;
  memset(text, 'A', length);
  text[length] = '\0';
  int sum = probe.copy(text, length);
  free(text);
  return sum;
}

// Tries to resume after any exception, as a host that swallows faults might.
long FACETKIT_WINAPI resumeAnyException(void* pointers) {
  static_cast<void>(pointers);
  return -1;
}

bool wellFormedCookie(uint64_t cookie) {
  return cookie != 0 && cookie != kUnsetCookie && (cookie >> 48) == 0;
}

// Runs this program on `dllPath` with `request` ("copy N" or "resume-copy
// N") in a child process and returns the child's exit status, kChildHung
// when it had to be ended, or kChildNotRun when it could not run.
unsigned long childCopyStatus(const char* dllPath, const char* request, size_t length) {
  char self[1024];
  unsigned long selfLength = GetModuleFileNameA(nullptr, self, sizeof(self));
  if (selfLength == 0 || selfLength >= sizeof(self)) return kChildNotRun;
  char commandLine[2400];
  int written = snprintf(commandLine, sizeof(commandLine), "\"%s\" \"%s\" %s %zu", self, dllPath,
                         request, length);
  if (written < 0 || static_cast<size_t>(written) >= sizeof(commandLine)) return kChildNotRun;
  StartupInfo startup;
  memset(&startup, 0, sizeof(startup));
  startup.size = sizeof(startup);
  ProcessInformation child;
  memset(&child, 0, sizeof(child));
  if (CreateProcessA(nullptr, commandLine, nullptr, nullptr, 0, 0, nullptr, nullptr, &startup,
                     &child) == 0) {
    return kChildNotRun;
  }
  if (WaitForSingleObject(child.process, kChildTimeLimit) == kWaitTimedOut) {
    TerminateProcess(child.process, kChildHung);
    WaitForSingleObject(child.process, kChildTimeLimit);
  }
  unsigned long status = kChildNotRun;
  if (GetExitCodeProcess(child.process, &status) == 0) status = kChildNotRun;
  CloseHandle(child.thread);
  CloseHandle(child.process);
  return status;
}

int runChecks(const char* dllPath, const Probe& probe) {
  uint64_t dllCookie = probe.cookie();
  uint64_t ownCookie = __security_cookie;
  check(wellFormedCookie(dllCookie), "the DLL's cookie is set, with its top 16 bits zero");
  check(wellFormedCookie(ownCookie), "the program's cookie is set, with its top 16 bits zero");
  check(dllCookie != ownCookie, "the DLL and the program have cookies of their own");
  check(copyBytes(probe, 16) == 16 * 'A', "a copy that fits returns its sum");
  check(copyBytes(probe, 0) == 0, "an empty copy returns 0");
  check(probe.cookie() == dllCookie, "the cookie stays as it was set");
  unsigned long status = childCopyStatus(dllPath, "copy", 16);
  if (status != 0) printf("child copying 16 bytes: status 0x%08lX\n", status);
  check(status == 0, "a child copying 16 bytes ends normally");
  status = childCopyStatus(dllPath, "copy", kOverrunLength);
  if (status != kFailFastStatus) printf("child overrunning: status 0x%08lX\n", status);
  check(status == kFailFastStatus, "a child overrunning the buffer ends with the fail-fast status");
  status = childCopyStatus(dllPath, "resume-copy", kOverrunLength);
  if (status != kFailFastStatus) printf("child resuming: status 0x%08lX\n", status);
  check(status == kFailFastStatus, "an exception handler cannot resume after the overrun");
  return checks.finish();
}

}  // namespace

int main(int argumentCount, char** arguments) {
  if (argumentCount < 2) {
    printf("usage: stack_guard_check <probe DLL> [cookie | copy <N>]\n");
    return 2;
  }
  Probe probe;
  if (!loadProbe(arguments[1], &probe)) return 2;
  if (argumentCount == 2) return runChecks(arguments[1], probe);
  if (argumentCount == 3 && strcmp(arguments[2], "cookie") == 0) {
    printf("%016llx\n", static_cast<unsigned long long>(probe.cookie()));
    return 0;
  }
  if (argumentCount == 4 && strcmp(arguments[2], "resume-copy") == 0) {
    AddVectoredExceptionHandler(1, resumeAnyException);
  }
  if (argumentCount == 4 &&
      (strcmp(arguments[2], "copy") == 0 || strcmp(arguments[2], "resume-copy") == 0)) {
    size_t length = strtoul(arguments[3], nullptr, 10);
    printf("returned %d\n", copyBytes(probe, length));
    return 0;
  }
  printf("unknown request\n");
  return 2;
}
