// The stand-in host's terminal checks over the C runtime's _isatty and
// kernel32's console functions, for Windows. The few kernel32 functions it
// calls are declared here, so that no Windows header is needed.

#include "platform/terminal.h"

#include <io.h>
#include <stdio.h>

#include "platform/module_lookup.h"

extern "C" {
// The handle of standard input, output or error (-10, -11, -12).
FACETKIT_WINIMPORT void* FACETKIT_WINAPI GetStdHandle(unsigned long which);

// Reads and sets the mode flags of the console `console`; nonzero on
// success.
FACETKIT_WINIMPORT int FACETKIT_WINAPI GetConsoleMode(void* console, unsigned long* mode);
FACETKIT_WINIMPORT int FACETKIT_WINAPI SetConsoleMode(void* console, unsigned long mode);

// Sets the code page in which the console reads what is written to it;
// nonzero on success.
FACETKIT_WINIMPORT int FACETKIT_WINAPI SetConsoleOutputCP(unsigned codePage);
}

bool standardInputIsTerminal() {
  return _isatty(_fileno(stdin)) != 0;
}

bool standardOutputIsColorTerminal() {
  if (_isatty(_fileno(stdout)) == 0) return false;
  // A console shows escapes only with virtual terminal processing on, and
  // reads UTF-8 only in code page 65001; an older console keeps its mode.
  const unsigned long kStandardOutputHandle = static_cast<unsigned long>(-11);
  const unsigned long kVirtualTerminalProcessing = 0x0004;
  const unsigned kUtf8CodePage = 65001;
  void* console = GetStdHandle(kStandardOutputHandle);
  unsigned long mode = 0;
  if (console != nullptr && GetConsoleMode(console, &mode) != 0) {
    SetConsoleMode(console, mode | kVirtualTerminalProcessing);
  }
  SetConsoleOutputCP(kUtf8CodePage);
  return true;
}
