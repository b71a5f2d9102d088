// The stand-in host's terminal checks over isatty, for Linux and other POSIX
// systems.

#include "platform/terminal.h"

#include <unistd.h>

bool standardInputIsTerminal() {
  return isatty(STDIN_FILENO) == 1;
}

bool standardOutputIsColorTerminal() {
  return isatty(STDOUT_FILENO) == 1;
}
