#include "plugin/function_catalogue.h"

#include "surface/color_range_listing.h"
#include "surface/hex_color_converter.h"
#include "surface/surface_header_file.h"
#include "surface/surface_header_report.h"
#include "surface/vertex_color_editing.h"

namespace {

constexpr MenuFunction kMenuFunctions[] = {
    {1, "Change colors of vertices", changeVertexColors},
    {2, "Print the header information of the current surface to the Log tab", logSurfaceHeader},
    {3, "Print a range of color values of the current surface to the Log tab", printColorRange},
    {4, "Hexadecimal to decimal converter for HTML color codes", convertHexColor},
    {5, "Write header information of current surface to a text file", saveSurfaceHeader},
};

constexpr int32_t kFunctionCount =
    static_cast<int32_t>(sizeof(kMenuFunctions) / sizeof(kMenuFunctions[0]));

}  // namespace

const FunctionCatalogue functionCatalogue = {kMenuFunctions, kFunctionCount};

const MenuFunction* findMenuFunction(FunctionId id) {
  for (const MenuFunction& function : kMenuFunctions) {
    if (function.id == id) return &function;
  }
  return nullptr;
}
