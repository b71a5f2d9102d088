#include "bench/text_bench.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "bench/opaque.h"
#include "plugin/function_menu.h"
#include "surface/hex_color_converter.h"
#include "surface/surface_header_report.h"

namespace {

// ---- The header report

// The fourteen lines of the report in one call, as the baseline.
int formatWithSnprintf(char* text, size_t size, const SurfaceRecord& surface) {
  return snprintf(
      text, size,
      "\nSRF filename: \n%s\nNumber of vertices: %d\nNumber of triangles: %d\n"
      "Mesh center: X: %f, Y: %f, Z: %f\nVisible: %d\nMesh curvature colors: \n"
      "Concave red: %f, green: %f, blue: %f\nConvex red: %f, green: %f, blue: %f\n"
      "Mesh rotation X: %f, Y: %f, Z: %f\nNumber of triangle strip elements: %d\n"
      "Use strips: %d\nRender mode: %d\n",
      surface.fileName, static_cast<int>(surface.vertexCount),
      static_cast<int>(surface.triangleCount), static_cast<double>(surface.meshCenter.x),
      static_cast<double>(surface.meshCenter.y), static_cast<double>(surface.meshCenter.z),
      static_cast<int>(surface.visible), static_cast<double>(surface.concaveColor.red),
      static_cast<double>(surface.concaveColor.green),
      static_cast<double>(surface.concaveColor.blue), static_cast<double>(surface.convexColor.red),
      static_cast<double>(surface.convexColor.green), static_cast<double>(surface.convexColor.blue),
      static_cast<double>(surface.meshRotation.x), static_cast<double>(surface.meshRotation.y),
      static_cast<double>(surface.meshRotation.z), static_cast<int>(surface.stripElementCount),
      static_cast<int>(surface.useStrips), static_cast<int>(surface.renderMode));
}

// Room for the example's report.
constexpr size_t kStackReportSize = 1024;

SurfaceRecord reportedSurface = exampleSurface();

void formatReports(void*, int64_t iterations) {
  for (int64_t iteration = 0; iteration < iterations; ++iteration) {
    const SurfaceRecord* surface =
        static_cast<const SurfaceRecord*>(opaquePointer(&reportedSurface));
    const char* report = formatSurfaceHeader(surface);
    consumeNumber(report != nullptr ? report[0] : 0);
    releaseSurfaceHeader(report);
  }
}

// The report reads exactly as the baseline's text.
bool checkReport(void*) {
  char expected[kStackReportSize];
  const int length = formatWithSnprintf(expected, sizeof(expected), reportedSurface);
  const char* report = formatSurfaceHeader(&reportedSurface);
  const bool same = report != nullptr && length > 0 &&
                    static_cast<size_t>(length) < sizeof(expected) && strcmp(report, expected) == 0;
  releaseSurfaceHeader(report);
  return same;
}

void formatWithOneCall(void*, int64_t iterations) {
  for (int64_t iteration = 0; iteration < iterations; ++iteration) {
    const SurfaceRecord* surface =
        static_cast<const SurfaceRecord*>(opaquePointer(&reportedSurface));
    char text[kStackReportSize];
    consumeNumber(formatWithSnprintf(text, sizeof(text), *surface));
    opaquePointer(text);
  }
}

// ---- Hexadecimal colour codes

const HexText& hexOf(void* context) {
  return *static_cast<const HexText*>(context);
}

void convertWithPlugin(void* context, int64_t iterations) {
  const char* const text = hexOf(context).text;
  for (int64_t iteration = 0; iteration < iterations; ++iteration) {
    consumeNumber(hexToDecimal(opaqueText(text)));
  }
}

bool checkConverted(void* context) {
  return hexToDecimal(hexOf(context).text) == hexOf(context).expected;
}

void convertWithStrtol(void* context, int64_t iterations) {
  const char* const text = hexOf(context).text;
  for (int64_t iteration = 0; iteration < iterations; ++iteration) {
    consumeNumber(strtol(opaqueText(text), nullptr, 16));
  }
}

// 255 characters cycling through the sixteen digits.
const char* longDigits() {
  static char text[256];
  const char digits[] = "0123456789ABCDEF";
  for (int position = 0; position < 255; ++position) text[position] = digits[position % 16];
  text[255] = '\0';
  return text;
}

// ---- The function menu

char* buildMenu() {
  return buildFunctionMenu("Please select one of the following functions:",
                           functionCatalogue.functions, functionCatalogue.count, true, "");
}

bool menuFailed = false;

void buildMenus(void*, int64_t iterations) {
  for (int64_t iteration = 0; iteration < iterations; ++iteration) {
    char* menu = buildMenu();
    if (menu == nullptr) menuFailed = true;
    opaquePointer(menu);
    free(menu);
  }
}

bool checkMenus(void*) {
  return !menuFailed;
}

char* finishedMenu = nullptr;

void copyMenus(void*, int64_t iterations) {
  if (finishedMenu == nullptr) finishedMenu = buildMenu();
  if (finishedMenu == nullptr) {
    menuFailed = true;
    return;
  }
  const size_t size = strlen(finishedMenu) + 1;
  for (int64_t iteration = 0; iteration < iterations; ++iteration) {
    char* menu = static_cast<char*>(malloc(kMenuTextSize));
    if (menu == nullptr) {
      menuFailed = true;
      continue;
    }
    memcpy(menu, finishedMenu, size);
    opaquePointer(menu);
    free(menu);
  }
}

}  // namespace

SurfaceRecord exampleSurface() {
  SurfaceRecord surface;
  memset(&surface, 0, sizeof(surface));
  surface.fileName = "C:\\Users\\lab\\Documents\\study\\subject01\\subject01_LH_inflated.srf";
  surface.vertexCount = 40962;
  surface.triangleCount = 81920;
  surface.meshCenter = {128, 128, 128};
  surface.visible = 1;
  surface.convexColor = {0.25f, 0.5f, 0.75f};
  surface.concaveColor = {1, 0.5f, 0};
  surface.meshRotation = {0, 90, -45.5f};
  surface.useStrips = 1;
  surface.stripElementCount = 122880;
  surface.renderMode = 2;
  return surface;
}

const HexText kSixDigits = {"FFFFFF", 16777215};
const HexText kLongAnswer = {longDigits(), -2147483647 - 1};

Contender headerReport() {
  return {"formatSurfaceHeader", formatReports, checkReport, nullptr};
}

Contender headerSnprintf() {
  return {"snprintf", formatWithOneCall, nullptr, nullptr};
}

Contender hexToDecimalOf(const HexText& text) {
  return {"hexToDecimal", convertWithPlugin, checkConverted, const_cast<HexText*>(&text)};
}

Contender strtolOf(const HexText& text) {
  return {"strtol", convertWithStrtol, nullptr, const_cast<HexText*>(&text)};
}

Contender menuBuilt() {
  return {"buildFunctionMenu", buildMenus, checkMenus, nullptr};
}

Contender menuCopied() {
  return {"malloc + memcpy", copyMenus, checkMenus, nullptr};
}
