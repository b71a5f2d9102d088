// Times a picture of the built-in sample surface (40962 vertices, 81920
// triangles) as the stand-in host draws it on a redraw: the drawing and the
// PNG encoding apart, their ratio, and the whole, against the budget of
// 50 ms for an 800 x 600 picture.

#include <benchmark/benchmark.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <vector>

#include "bench/ratio_reporter.h"
#include "standin/host_surface.h"
#include "standin/png_file.h"
#include "standin/surface_picture.h"

namespace {

using standin::HostSurface;
using standin::Picture;
using standin::SurfaceShape;

const int32_t kWidth = 800;
const int32_t kHeight = 600;
const double kBudgetSeconds = 0.050;

// The sample with vertices 20000 to 24000 painted red, its shape and a
// picture to draw into, made once for every benchmark.
struct Scene {
  HostSurface surface;
  SurfaceShape shape;
  Picture picture;
  bool ready = false;
  Scene() {
    ready = standin::buildSampleSurface(&surface) &&
            standin::computeSurfaceShape(surface, &shape) &&
            standin::allocatePicture(&picture, kWidth, kHeight);
    for (int32_t vertex = 20000; ready && vertex <= 24000; ++vertex) {
      surface.colors[vertex] = 0x3FFF0000;
    }
  }
  ~Scene() {
    standin::releasePicture(&picture);
    standin::releaseSurfaceShape(&shape);
    standin::releaseSurface(&surface);
  }
};

Scene& scene() {
  static Scene made;
  return made;
}

// Counts the picture's pixels that are not background, so that a drawing
// that silently drew nothing fails the benchmark.
bool drewTheSphere(const Picture& picture) {
  size_t covered = 0;
  size_t pixels = static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height);
  for (size_t at = 0; at < pixels; ++at) {
    const uint8_t* pixel = picture.pixels + at * 3;
    covered += pixel[0] != standin::kPictureBackground[0] ||
               pixel[1] != standin::kPictureBackground[1] ||
               pixel[2] != standin::kPictureBackground[2];
  }
  // The fitted sphere covers about pi / 4 of the square of the picture's
  // height less its margins.
  return covered > pixels / 3;
}

void render(benchmark::State& state) {
  Scene& made = scene();
  if (!made.ready) return state.SkipWithError("no sample surface");
  for (auto _ : state) {
    if (!standin::renderSurface(made.surface, made.shape, &made.picture)) {
      return state.SkipWithError("drawing failed");
    }
    benchmark::DoNotOptimize(made.picture.pixels);
  }
  if (!drewTheSphere(made.picture)) state.SkipWithError("the sphere was not drawn");
}

void encode(benchmark::State& state) {
  Scene& made = scene();
  if (!made.ready || !standin::renderSurface(made.surface, made.shape, &made.picture)) {
    return state.SkipWithError("no picture");
  }
  size_t bytes = 0;
  for (auto _ : state) {
    unsigned char* png = standin::encodePng(made.picture, &bytes);
    if (png == nullptr) return state.SkipWithError("encoding failed");
    benchmark::DoNotOptimize(png);
    free(png);
  }
  state.counters["png_bytes"] = static_cast<double>(bytes);
}

void renderAndEncode(benchmark::State& state) {
  Scene& made = scene();
  if (!made.ready) return state.SkipWithError("no sample surface");
  for (auto _ : state) {
    size_t bytes = 0;
    unsigned char* png = nullptr;
    if (standin::renderSurface(made.surface, made.shape, &made.picture)) {
      png = standin::encodePng(made.picture, &bytes);
    }
    if (png == nullptr) return state.SkipWithError("picture failed");
    free(png);
  }
}

// Done once per surface, not per redraw; timed for the record.
void shape(benchmark::State& state) {
  Scene& made = scene();
  if (!made.ready) return state.SkipWithError("no sample surface");
  for (auto _ : state) {
    SurfaceShape computed;
    if (!standin::computeSurfaceShape(made.surface, &computed)) {
      return state.SkipWithError("no memory");
    }
    benchmark::DoNotOptimize(computed.convex);
    standin::releaseSurfaceShape(&computed);
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RegisterBenchmark("picture/render", render)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("picture/png", encode)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("picture/render_and_png", renderAndEncode)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("picture/shape_once", shape)->Unit(benchmark::kMillisecond);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printRatios(
      {{"PNG encoding / drawing, 800x600 sample", "picture/png", "picture/render"}});
  double whole = reporter.secondsPerIteration("picture/render_and_png");
  if (whole >= 0) {
    printf("\npicture of the sample, drawing and PNG: %.1f ms (budget %.0f ms)\n", whole * 1e3,
           kBudgetSeconds * 1e3);
  }
  benchmark::Shutdown();
  return reporter.anyFailed() ? 1 : 0;
}
