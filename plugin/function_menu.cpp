#include "plugin/function_menu.h"

#include <stdlib.h>

#include "platform/bounded_text.h"

namespace {

const FunctionId kOfferedFunctions[] = {kChangeVertexColors, kPrintSurfaceHeader, kPrintColorRange,
                                        kConvertHexColor, kWriteSurfaceHeaderFile};

const char* const kUnknownFunctionTitle = "Unknown function";

}  // namespace

const FunctionCatalogue functionCatalogue = {
    kOfferedFunctions,
    static_cast<int32_t>(sizeof(kOfferedFunctions) / sizeof(kOfferedFunctions[0]))};

const char* functionTitle(FunctionId id) {
  switch (id) {
    case kChangeVertexColors:
      return "Change colors of vertices";
    case kPrintSurfaceHeader:
      return "Print the header information of the current surface to the Log tab";
    case kPrintColorRange:
      return "Print a range of color values of the current surface to the Log tab";
    case kConvertHexColor:
      return "Hexadecimal to decimal converter for HTML color codes";
    case kWriteSurfaceHeaderFile:
      return "Write header information of current surface to a text file";
    default:
      return kUnknownFunctionTitle;
  }
}

char* buildFunctionMenu(const char* heading, const FunctionId* ids, int32_t count, bool html,
                        const char* trailer) {
  char* menu = static_cast<char*>(malloc(kMenuTextSize));
  if (menu == nullptr) return nullptr;
  BoundedText text(menu, kMenuTextSize);
  const char* lineEnd = html ? "<BR>" : "\n";
  text.appendText(heading);
  text.appendText(html ? "<P>" : "\n\n");
  for (int32_t position = 1; position <= count; ++position) {
    text.append("%d: %s %s", static_cast<int>(position), functionTitle(ids[position - 1]), lineEnd);
  }
  text.appendText(trailer);
  return menu;
}
