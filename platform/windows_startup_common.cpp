// The start of static storage for a module linked without the Microsoft
// runtime's startup objects: the initialiser tables, the floating-point
// marker and the stack probe that the compiler's code refers to.

#include "platform/windows_startup_common.h"

#include <corecrt_startup.h>

extern "C" {
// ucrtbase.dll: call every non-null entry of [first, last); _initterm_e stops
// at the first entry that returns nonzero and returns that value.
__declspec(dllimport) void __cdecl _initterm(_PVFV* first, _PVFV* last);
__declspec(dllimport) int __cdecl _initterm_e(_PIFV* first, _PIFV* last);

// Referenced by every object that uses floating point; its value is the one
// the Microsoft runtime gives it.
int _fltused = 0x9875;
}

// The linker sorts sections of one name by the text after '$', so these
// markers bracket the entries that the compiler emits into .CRT$XIC...XIY
// (C) and .CRT$XCU (C++).
#pragma section(".CRT$XIA", long, read)
#pragma section(".CRT$XIZ", long, read)
#pragma section(".CRT$XCA", long, read)
#pragma section(".CRT$XCZ", long, read)

namespace {

__declspec(allocate(".CRT$XIA")) _PIFV firstCInitialiser[] = {nullptr};
__declspec(allocate(".CRT$XIZ")) _PIFV lastCInitialiser[] = {nullptr};
__declspec(allocate(".CRT$XCA")) _PVFV firstCxxInitialiser[] = {nullptr};
__declspec(allocate(".CRT$XCZ")) _PVFV lastCxxInitialiser[] = {nullptr};

}  // namespace

bool runStaticInitialisers() {
  if (_initterm_e(firstCInitialiser, lastCInitialiser) != 0) return false;
  _initterm(firstCxxInitialiser, lastCxxInitialiser);
  return true;
}

// __chkstk: called by functions whose stack frame exceeds a page, with the
// frame size in RAX, before they lower RSP. Touches every page of the new
// frame from the top down, so that the stack's guard page moves down one
// page at a time instead of being jumped over. Changes no register except
// the flags.
__asm__(
    ".text\n"
    ".globl __chkstk\n"
    ".def __chkstk; .scl 2; .type 32; .endef\n"
    ".p2align 4\n"
    "__chkstk:\n"
    "  pushq %rcx\n"
    "  pushq %rax\n"
    "  leaq 24(%rsp), %rcx\n"  // RSP of the caller before its call
    "  cmpq $0x1000, %rax\n"
    "  jb 2f\n"
    "1:\n"
    "  subq $0x1000, %rcx\n"
    "  testq %rcx, (%rcx)\n"
    "  subq $0x1000, %rax\n"
    "  cmpq $0x1000, %rax\n"
    "  ja 1b\n"
    "2:\n"
    "  subq %rax, %rcx\n"
    "  testq %rcx, (%rcx)\n"
    "  popq %rax\n"
    "  popq %rcx\n"
    "  ret\n");
