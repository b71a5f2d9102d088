// Times loading a surface file with the stand-in host's readers at 10^4,
// 10^5 and 10^6 vertices, in each format, and fits the times to a line:
// loading must grow linearly with the surface's size. Google Benchmark
// prints the fitted time per vertex ("BigO") and how far the measured times
// stray from the line ("RMS"); a few percent means linear. Wall-clock time,
// as a user waits for a load.

#include <benchmark/benchmark.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <string>

#include "standin/files/surface_file.h"
#include "standin/files/surface_formats.h"

namespace {

// A strip of quads folded onto a cylinder: `vertices` vertices (rounded
// down to even), two triangles per quad.
bool buildStrip(int32_t vertices, standin::HostSurface* surface) {
  int32_t columns = vertices / 2;
  if (!standin::allocateSurface(surface, columns * 2, (columns - 1) * 2)) return false;
  for (int32_t column = 0; column < columns; ++column) {
    for (int32_t row = 0; row < 2; ++row) {
      float* position =
          surface->positions + (static_cast<size_t>(column) * 2 + static_cast<size_t>(row)) * 3;
      position[0] = static_cast<float>(column) * 0.01f;
      position[1] = static_cast<float>(row) * 3.5f;
      position[2] = static_cast<float>(column % 97) * 0.25f;
      surface->colors[column * 2 + row] = column % 3 == 0 ? 0x3F00FF00 : row;
    }
  }
  for (int32_t quad = 0; quad + 1 < columns; ++quad) {
    int32_t* corners = surface->triangles + static_cast<size_t>(quad) * 6;
    const int32_t first = quad * 2;
    const int32_t quadCorners[6] = {first, first + 1, first + 2, first + 1, first + 3, first + 2};
    memcpy(corners, quadCorners, sizeof(quadCorners));
  }
  standin::setSampleDisplayFields(surface);
  return true;
}

void appendBigEndian(std::string* out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out->push_back(static_cast<char>(value >> shift));
}

// The host writes no FreeSurfer files, so the benchmark writes its own.
bool writeFreeSurfer(const standin::HostSurface& surface, const char* path) {
  std::string bytes =
      "\xFF\xFF\xFE"
      "created by surface_load_bench\n\n";
  appendBigEndian(&bytes, static_cast<uint32_t>(surface.vertexCount));
  appendBigEndian(&bytes, static_cast<uint32_t>(surface.triangleCount));
  for (size_t index = 0; index < static_cast<size_t>(surface.vertexCount) * 3; ++index) {
    uint32_t bits = 0;
    memcpy(&bits, &surface.positions[index], sizeof(bits));
    appendBigEndian(&bytes, bits);
  }
  for (size_t index = 0; index < static_cast<size_t>(surface.triangleCount) * 3; ++index) {
    appendBigEndian(&bytes, static_cast<uint32_t>(surface.triangles[index]));
  }
  FILE* file = fopen(path, "wb");
  if (file == nullptr) return false;
  bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return fclose(file) == 0 && written;
}

enum class Format { kPly, kFreeSurfer, kGifti };

void loadSurface(benchmark::State& state, Format format) {
  const int32_t vertices = static_cast<int32_t>(state.range(0));
  const char* const suffixes[] = {".ply", ".pial", ".gii"};
  const std::string path = std::string("/tmp/surface_load_bench_") + std::to_string(vertices) +
                           suffixes[static_cast<int>(format)];
  standin::HostSurface written;
  standin::GrowingText error;
  bool made =
      buildStrip(vertices, &written) &&
      (format == Format::kFreeSurfer ? writeFreeSurfer(written, path.c_str())
                                     : standin::saveSurfaceFile(written, path.c_str(), &error));
  if (!made) {
    standin::releaseSurface(&written);
    state.SkipWithError("cannot write the surface file");
    return;
  }
  standin::HostSurface loaded;
  for (auto _ : state) {
    if (!standin::loadSurfaceFile(path.c_str(), &loaded, &error)) {
      state.SkipWithError(error.text());
      break;
    }
    benchmark::DoNotOptimize(loaded.positions);
  }
  if (loaded.vertexCount != written.vertexCount ||
      memcmp(loaded.positions, written.positions,
             static_cast<size_t>(written.vertexCount) * 3 * sizeof(float)) != 0) {
    state.SkipWithError("the loaded surface differs from the written one");
  }
  state.SetComplexityN(vertices);
  state.counters["vertices/s"] = benchmark::Counter(static_cast<double>(vertices),
                                                    benchmark::Counter::kIsIterationInvariantRate);
  standin::releaseSurface(&loaded);
  standin::releaseSurface(&written);
  remove(path.c_str());
}

void loadPly(benchmark::State& state) {
  loadSurface(state, Format::kPly);
}
void loadFreeSurfer(benchmark::State& state) {
  loadSurface(state, Format::kFreeSurfer);
}
void loadGifti(benchmark::State& state) {
  loadSurface(state, Format::kGifti);
}

BENCHMARK(loadPly)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Complexity(benchmark::oN);
BENCHMARK(loadFreeSurfer)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Complexity(benchmark::oN);
BENCHMARK(loadGifti)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
