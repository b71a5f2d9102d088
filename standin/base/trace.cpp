#include "standin/base/trace.h"

#include <stdio.h>
#include <string.h>

namespace standin {

namespace {

FILE* traceFile = nullptr;
bool traceIsStandardOutput = false;

}  // namespace

void appendQuoted(GrowingText* line, const char* text) {
  if (text == nullptr) {
    line->append("null");
    return;
  }
  line->appendChar('"');
  for (const unsigned char* at = reinterpret_cast<const unsigned char*>(text); *at != 0; ++at) {
    unsigned char byte = *at;
    switch (byte) {
      case '\n':
        line->append("\\n");
        break;
      case '\r':
        line->append("\\r");
        break;
      case '\t':
        line->append("\\t");
        break;
      case '"':
        line->append("\\\"");
        break;
      case '\\':
        line->append("\\\\");
        break;
      default:
        if (byte < 0x20 || byte >= 0x7F) {
          line->appendFormat("\\%03o", static_cast<unsigned>(byte));
        } else {
          line->appendChar(static_cast<char>(byte));
        }
    }
  }
  line->appendChar('"');
}

void appendFloat(GrowingText* line, float value) {
  line->appendFormat("%.9g", static_cast<double>(value));
}

bool openTrace(const char* path) {
  closeTrace();
  if (strcmp(path, "-") == 0) {
    traceFile = stdout;
    traceIsStandardOutput = true;
    return true;
  }
  // Binary, so that lines end in a line feed alone on every platform and one
  // expected transcript serves them all.
  traceFile = fopen(path, "wb");
  return traceFile != nullptr;
}

void closeTrace() {
  if (traceFile == nullptr) return;
  if (traceIsStandardOutput) {
    fflush(traceFile);
  } else {
    fclose(traceFile);
  }
  traceFile = nullptr;
  traceIsStandardOutput = false;
}

void writeTraceLine(const GrowingText& line) {
  if (traceFile == nullptr) return;
  fwrite(line.text(), 1, line.length(), traceFile);
  fputc('\n', traceFile);
  fflush(traceFile);
}

void traceHost(const char* format, ...) {
  GrowingText line;
  line.append("host: ");
  va_list arguments;
  va_start(arguments, format);
  line.appendFormatList(format, arguments);
  va_end(arguments);
  writeTraceLine(line);
}

}  // namespace standin
