#include "standin/calls/rich_text.h"

#include <string.h>

namespace standin {

namespace {

struct TagRendering {
  const char* tag;
  const char* rendering;
};

const TagRendering kTagRenderings[] = {
    {"<P>", "\n\n"},
    {"<BR>", "\n"},
    {"<i>", ""},
    {"</i>", ""},
};

bool startsWithIgnoringCase(const char* text, const char* prefix) {
  for (; *prefix != '\0'; ++prefix, ++text) {
    char a = *text;
    char b = *prefix;
    if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
    if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
    if (a != b) return false;
  }
  return true;
}

}  // namespace

void renderRichText(GrowingText* out, const char* text) {
  if (text == nullptr) return;
  while (*text != '\0') {
    bool replaced = false;
    if (*text == '<') {
      for (const TagRendering& rendering : kTagRenderings) {
        if (startsWithIgnoringCase(text, rendering.tag)) {
          out->append(rendering.rendering);
          text += strlen(rendering.tag);
          replaced = true;
          break;
        }
      }
    }
    if (!replaced) {
      out->appendChar(*text);
      ++text;
    }
  }
}

}  // namespace standin
