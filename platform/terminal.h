#pragma once

// What the stand-in host needs to know about its console: whether standard
// input and output are interactive terminals. One implementation per
// platform.

// Whether standard input is an interactive terminal (not a file or a pipe).
bool standardInputIsTerminal();

// Whether standard output is an interactive terminal. When it is, it is also
// made ready for UTF-8 text and 24-bit colour escapes where that needs
// switching on (a Windows console).
bool standardOutputIsColorTerminal();
