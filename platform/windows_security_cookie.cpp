// The stack cookie of a module built with /GS and linked without the
// Microsoft runtime's startup objects. A protected function stores the
// cookie, mixed with its stack pointer, between its locals and its return
// address, and hands it to __security_check_cookie before it returns; a
// write past the end of a local buffer changes it on the way. The entry
// point sets a fresh cookie before any protected function runs.

#include <stdint.h>

#include "platform/windows_startup_common.h"

extern "C" {
// kernel32.dll.
__declspec(dllimport) int __stdcall QueryPerformanceCounter(long long* count);
__declspec(dllimport) unsigned long __stdcall GetCurrentProcessId();
__declspec(dllimport) unsigned long __stdcall GetCurrentThreadId();
// Fills the 64-bit count of 100-nanosecond steps since 1601 (a FILETIME).
__declspec(dllimport) void __stdcall GetSystemTimeAsFileTime(unsigned long long* time);
}

namespace {

// The value the compiler's runtime gives the cookie before it is set; a
// module whose cookie still holds it was never initialised.
constexpr uint64_t kUnsetCookie = 0x00002B992DDFA232ull;
// The cookie's top 16 bits stay zero, as in the Microsoft runtime, so that
// an overrun by a string copy cannot write the whole cookie back.
constexpr uint64_t kCookieBits = 0x0000FFFFFFFFFFFFull;

// Spreads every bit of `value` over the whole word (the final step of the
// SplitMix64 generator; unsigned arithmetic wraps by definition).
uint64_t mixBits(uint64_t value) {
  value ^= value >> 30;
  value *= 0xBF58476D1CE4E5B9ull;
  value ^= value >> 27;
  value *= 0x94D049BB133111EBull;
  value ^= value >> 31;
  return value;
}

}  // namespace

extern "C" {
// Read by every protected function's prologue and by the check below.
uintptr_t __security_cookie = kUnsetCookie;
}

FACETKIT_NO_STACK_COOKIE void initialiseSecurityCookie() {
  long long counter = 0;
  QueryPerformanceCounter(&counter);
  unsigned long long systemTime = 0;
  GetSystemTimeAsFileTime(&systemTime);
  uint64_t value = static_cast<uint64_t>(counter);
  value ^= mixBits(systemTime);
  value ^= mixBits((static_cast<uint64_t>(GetCurrentProcessId()) << 32) ^ GetCurrentThreadId());
  // Where the stack and this module lie differs from process to process.
  value ^= mixBits(reinterpret_cast<uintptr_t>(&counter));
  value ^= mixBits(reinterpret_cast<uintptr_t>(&__security_cookie));
  value = mixBits(value) & kCookieBits;
  if (value == 0 || value == kUnsetCookie) value = kUnsetCookie ^ 1;
  __security_cookie = value;
}

// __security_check_cookie: called by a protected function just before it
// returns, with its stored cookie (mixed back with its stack pointer) in
// RCX. Returns, changing no register but the flags, when the cookie is
// intact; otherwise ends the process at once through __fastfail (int 0x29)
// with code 2, FAST_FAIL_STACK_COOKIE_CHECK_FAILURE, which the system
// delivers to no exception handler, so nothing can resume on the corrupted
// stack.
__asm__(
    ".text\n"
    ".globl __security_check_cookie\n"
    ".def __security_check_cookie; .scl 2; .type 32; .endef\n"
    ".p2align 4\n"
    "__security_check_cookie:\n"
    "  cmpq __security_cookie(%rip), %rcx\n"
    "  jne 1f\n"
    "  ret\n"
    "1:\n"
    "  movl $2, %ecx\n"
    "  int $0x29\n"
    "  ud2\n");
