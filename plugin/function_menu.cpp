#include "plugin/function_menu.h"

#include <stdlib.h>

#include "platform/bounded_text.h"

char* buildFunctionMenu(const char* heading, const MenuFunction* functions, int32_t count,
                        bool html, const char* trailer) {
  char* menu = static_cast<char*>(malloc(kMenuTextSize));
  if (menu == nullptr) return nullptr;
  BoundedText text(menu, kMenuTextSize);
  const char* lineEnd = html ? "<BR>" : "\n";
  text.appendText(heading);
  text.appendText(html ? "<P>" : "\n\n");
  for (int32_t position = 1; position <= count; ++position) {
    text.append("%d: %s %s", static_cast<int>(position), functions[position - 1].title, lineEnd);
  }
  text.appendText(trailer);
  return menu;
}
