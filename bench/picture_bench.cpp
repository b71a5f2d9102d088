// Times a picture of the built-in sample surface (40962 vertices, 81920
// triangles) at 800 x 600 as the stand-in host makes it on a redraw: the
// PNG encoding against the drawing in alternating samples, their ratio, and
// the whole against its budget of 50 ms.
//
//   picture_bench [--quick]

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "bench/bench_clock.h"
#include "bench/interleaved_runs.h"
#include "standin/mesh/host_surface.h"
#include "standin/mesh/sample_surface.h"
#include "standin/pictures/png_file.h"
#include "standin/pictures/surface_picture.h"

namespace {

using standin::HostSurface;
using standin::Picture;
using standin::SurfaceShape;

const int32_t kWidth = 800;
const int32_t kHeight = 600;
const double kBudgetSeconds = 0.050;
const RunSettings kFullRun = {15, 0.05, 3};
// Enough to see that both still do their work, for the test suite.
const RunSettings kQuickRun = {3, 0.001, 1};

// The sample with vertices 20000 to 24000 painted red, its shape, and a
// picture to draw into.
struct Scene {
  HostSurface surface;
  SurfaceShape shape;
  Picture picture;
  bool drawn = true;
  size_t pngBytes = 0;
};

bool prepareScene(Scene* scene) {
  if (!standin::buildSampleSurface(&scene->surface) ||
      !standin::computeSurfaceShape(scene->surface, &scene->shape) ||
      !standin::allocatePicture(&scene->picture, kWidth, kHeight)) {
    return false;
  }
  for (int32_t vertex = 20000; vertex <= 24000; ++vertex) {
    scene->surface.colors[vertex] = 0x3FFF0000;
  }
  return standin::renderSurface(scene->surface, scene->shape, &scene->picture);
}

void releaseScene(Scene* scene) {
  standin::releasePicture(&scene->picture);
  standin::releaseSurfaceShape(&scene->shape);
  standin::releaseSurface(&scene->surface);
}

void render(void* context, int64_t iterations) {
  Scene* scene = static_cast<Scene*>(context);
  for (int64_t iteration = 0; iteration < iterations; ++iteration) {
    scene->drawn =
        standin::renderSurface(scene->surface, scene->shape, &scene->picture) && scene->drawn;
  }
}

// The fitted sphere covers about pi / 4 of the square of the picture's
// height less its margins: more than a third of the picture.
bool drewTheSphere(void* context) {
  const Scene* scene = static_cast<const Scene*>(context);
  const Picture& picture = scene->picture;
  size_t covered = 0;
  size_t pixels = static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height);
  for (size_t at = 0; at < pixels; ++at) {
    covered += memcmp(picture.pixels + at * 3, standin::kPictureBackground, 3) != 0;
  }
  return scene->drawn && covered > pixels / 3;
}

void encode(void* context, int64_t iterations) {
  Scene* scene = static_cast<Scene*>(context);
  for (int64_t iteration = 0; iteration < iterations; ++iteration) {
    size_t length = 0;
    unsigned char* png = standin::encodePng(scene->picture, &length);
    free(png);
    scene->pngBytes = png != nullptr ? length : 0;
  }
}

bool encodedSomething(void* context) {
  return static_cast<Scene*>(context)->pngBytes > 0;
}

double readSteadyClock(void*) {
  return steadySeconds();
}

}  // namespace

int main(int argumentCount, char** arguments) {
  bool quick = argumentCount == 2 && strcmp(arguments[1], "--quick") == 0;
  if (argumentCount > 2 || (argumentCount == 2 && !quick)) {
    fprintf(stderr, "usage: %s [--quick]\n", arguments[0]);
    return 2;
  }
  Scene scene;
  if (!prepareScene(&scene)) {
    fprintf(stderr, "cannot make the sample's picture\n");
    releaseScene(&scene);
    return 1;
  }
  const Comparison comparison = {"picture 800x600: PNG encoding / drawing",
                                 {"encode", encode, encodedSomething, &scene},
                                 {"draw", render, drewTheSphere, &scene},
                                 0};
  const RunSettings& settings = quick ? kQuickRun : kFullRun;
  const int titleWidth = static_cast<int>(strlen(comparison.title));
  printRatioHeading(titleWidth);
  const Clock clock = {readSteadyClock, nullptr};
  const RatioResult result = compareInterleaved(comparison, settings, clock);
  printRatioRow(titleWidth, comparison, result);
  if (result.measured) {
    double whole = result.operationSeconds + result.baselineSeconds;
    printf("\npicture of the sample, drawing and PNG (%zu bytes): %.1f ms, budget %.0f ms\n",
           scene.pngBytes, whole * 1e3, kBudgetSeconds * 1e3);
  }
  releaseScene(&scene);
  return result.measured ? 0 : 1;
}
