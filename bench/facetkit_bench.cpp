// Times the plug-in's operations, each beside a baseline doing the bare
// work in the same run, prints operation time / baseline time for each, and
// the heap bytes one header report takes at its peak against its text.

#include <benchmark/benchmark.h>
#include <errno.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "bench/fake_host.h"
#include "bench/heap_counter.h"
#include "bench/ratio_reporter.h"
#include "plugin/function_menu.h"
#include "surface/hex_colour_converter.h"
#include "surface/surface_header_report.h"
#include "surface/surface_record.h"
#include "surface/vertex_color_editing.h"

namespace {

// ---- Painting a range of vertices

SurfaceRecord exampleSurface() {
  SurfaceRecord surface;
  memset(&surface, 0, sizeof(surface));
  surface.fileName = "C:\\Users\\lab\\Documents\\study\\subject01\\subject01_LH_inflated.srf";
  surface.vertexCount = kPaintedVertexCount;
  surface.triangleCount = 2 * kPaintedVertexCount - 4;
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

void checkPainted(benchmark::State& state, const std::vector<int32_t>& colours) {
  for (int32_t value : colours) {
    if (value != kPaintedValue) {
      state.SkipWithError("not every vertex holds the painted value");
      return;
    }
  }
}

void paintWithPlugin(benchmark::State& state) {
  std::vector<int32_t> colours(kPaintedVertexCount, 0);
  SurfaceRecord surface = exampleSurface();
  surface.vertexColors = colours.data();
  installFakeHost();
  for (auto _ : state) {
    changeVertexColors(surface);
    benchmark::ClobberMemory();
  }
  if (unexpectedHostCalls() != 0) {
    state.SkipWithError("the run tried to save the surface");
    return;
  }
  checkPainted(state, colours);
}

void paintWithLoop(benchmark::State& state) {
  std::vector<int32_t> colours(kPaintedVertexCount, 0);
  int32_t* stored = colours.data();
  int32_t first = 0;
  int32_t last = kPaintedVertexCount - 1;
  int32_t value = kPaintedValue;
  for (auto _ : state) {
    benchmark::DoNotOptimize(stored);
    benchmark::DoNotOptimize(first);
    benchmark::DoNotOptimize(last);
    benchmark::DoNotOptimize(value);
    for (int32_t vertex = first; vertex <= last; ++vertex) stored[vertex] = value;
    benchmark::ClobberMemory();
  }
  checkPainted(state, colours);
}

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

// Size of the baseline's stack buffer, room for the example's report.
constexpr size_t kStackReportSize = 1024;

void headerWithPlugin(benchmark::State& state) {
  installFakeHost();
  SurfaceRecord surface = exampleSurface();
  char expected[kStackReportSize];
  formatWithSnprintf(expected, sizeof(expected), surface);
  const char* report = formatSurfaceHeader(&surface);
  const bool same = strcmp(report, expected) == 0;
  releaseSurfaceHeader(report);
  if (!same) {
    state.SkipWithError("the report differs from the baseline's text");
    return;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(surface);
    report = formatSurfaceHeader(&surface);
    benchmark::DoNotOptimize(report);
    releaseSurfaceHeader(report);
  }
}

void headerWithSnprintf(benchmark::State& state) {
  SurfaceRecord surface = exampleSurface();
  for (auto _ : state) {
    benchmark::DoNotOptimize(surface);
    char text[kStackReportSize];
    int length = formatWithSnprintf(text, sizeof(text), surface);
    benchmark::DoNotOptimize(length);
    benchmark::DoNotOptimize(text);
    benchmark::ClobberMemory();
  }
}

// ---- Hexadecimal colour codes

const char* const kSixDigits = "FFFFFF";

// The longest answer a text prompt can give: 255 characters, all digits.
const std::string& longAnswer() {
  static const std::string answer = [] {
    const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (int position = 0; position < 255; ++position) text += digits[position % 16];
    return text;
  }();
  return answer;
}

void hexWithPlugin(benchmark::State& state, const char* text) {
  // Where strtol reads a value that fits, both must agree.
  errno = 0;
  const long expected = strtol(text, nullptr, 16);
  if (errno == 0 && expected <= INT32_MAX && hexToDecimal(text) != expected) {
    state.SkipWithError("hexToDecimal and strtol read different values");
    return;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(text);
    int32_t value = hexToDecimal(text);
    benchmark::DoNotOptimize(value);
  }
}

void hexWithStrtol(benchmark::State& state, const char* text) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(text);
    long value = strtol(text, nullptr, 16);
    benchmark::DoNotOptimize(value);
  }
}

// ---- The function menu

char* buildMenu() {
  return buildFunctionMenu("Please select one of the following functions:", functionCatalogue.ids,
                           functionCatalogue.count, true, "");
}

void menuWithPlugin(benchmark::State& state) {
  for (auto _ : state) {
    char* menu = buildMenu();
    if (menu == nullptr) {
      state.SkipWithError("out of memory");
      break;
    }
    benchmark::DoNotOptimize(menu);
    free(menu);
  }
}

void menuWithCopy(benchmark::State& state) {
  char* finished = buildMenu();
  if (finished == nullptr) {
    state.SkipWithError("out of memory");
    return;
  }
  const size_t size = strlen(finished) + 1;
  for (auto _ : state) {
    char* menu = static_cast<char*>(malloc(kMenuTextSize));
    if (menu == nullptr) {
      state.SkipWithError("out of memory");
      break;
    }
    memcpy(menu, finished, size);
    benchmark::DoNotOptimize(menu);
    benchmark::ClobberMemory();
    free(menu);
  }
  free(finished);
}

// ---- Registration

template <typename Operation, typename Baseline>
void compare(std::vector<Comparison>& comparisons, const char* title, const char* operationName,
             Operation operation, const char* baselineName, Baseline baseline) {
  benchmark::RegisterBenchmark(operationName, operation);
  benchmark::RegisterBenchmark(baselineName, baseline);
  comparisons.push_back({title, operationName, baselineName});
}

std::vector<Comparison> registerComparisons() {
  std::vector<Comparison> comparisons;
  compare(comparisons, "paint vertices 0-40961 / store loop", "paint/changeVertexColors",
          paintWithPlugin, "paint/store_loop", paintWithLoop);
  compare(comparisons, "header report + release / one snprintf", "header/formatSurfaceHeader",
          headerWithPlugin, "header/snprintf", headerWithSnprintf);
  compare(
      comparisons, "hexToDecimal \"FFFFFF\" / strtol", "hex6/hexToDecimal",
      [](benchmark::State& state) { hexWithPlugin(state, kSixDigits); }, "hex6/strtol",
      [](benchmark::State& state) { hexWithStrtol(state, kSixDigits); });
  compare(
      comparisons, "hexToDecimal 255 characters / strtol", "hex255/hexToDecimal",
      [](benchmark::State& state) { hexWithPlugin(state, longAnswer().c_str()); }, "hex255/strtol",
      [](benchmark::State& state) { hexWithStrtol(state, longAnswer().c_str()); });
  compare(comparisons, "function menu / malloc + memcpy", "menu/buildFunctionMenu", menuWithPlugin,
          "menu/malloc_memcpy", menuWithCopy);
  return comparisons;
}

// ---- Heap bytes of one header report

// Prints the heap bytes one report takes at its peak against its text.
// Returns false when the allocations were not seen by the counter.
bool printHeaderMemory() {
  installFakeHost();
  SurfaceRecord surface = exampleSurface();
  startHeapCount();
  const char* report = formatSurfaceHeader(&surface);
  const HeapCount formatted = heapCount();
  const long long textBytes = static_cast<long long>(strlen(report)) + 1;
  releaseSurfaceHeader(report);
  const HeapCount released = heapCount();
  stopHeapCount();

  printf("\nHeap bytes of one header report (allocator's usable sizes):\n\n");
  if (formatted.peak <= 0) {
    printf("not measured: the allocations did not reach the counter\n");
    return false;
  }
  printf("%-34s %9lld\n", "peak while formatting", formatted.peak);
  printf("%-34s %9lld\n", "held by the finished report", formatted.inUse);
  printf("%-34s %9lld\n", "text with its terminator", textBytes);
  printf("%-34s %9.2f\n", "peak / text",
         static_cast<double>(formatted.peak) / static_cast<double>(textBytes));
  printf("%-34s %9lld\n", "still held after release", released.inUse);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  const std::vector<Comparison> comparisons = registerComparisons();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printRatios(comparisons);
  const bool memoryMeasured = printHeaderMemory();
  benchmark::Shutdown();
  return reporter.anyFailed() || !memoryMeasured ? 1 : 0;
}
