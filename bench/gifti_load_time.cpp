// Times loading surface files with the stand-in host's reader: for each
// file named on the command line, the least wall time of `--runs N` loads
// (3 unless given), one line "<milliseconds> <vertices> <file>" each. The
// whole load is timed, reading the file included, as a user waits for it.
// gifti_load_vs_nibabel.py runs it beside nibabel on the same files.

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "bench/bench_clock.h"
#include "standin/files/surface_file.h"

int main(int argc, char** argv) {
  int runs = 3;
  int first = 1;
  if (argc > 2 && strcmp(argv[1], "--runs") == 0) {
    runs = atoi(argv[2]);
    first = 3;
  }
  if (first >= argc || runs < 1) {
    fprintf(stderr, "usage: gifti_load_time [--runs N] FILE...\n");
    return 2;
  }
  for (int index = first; index < argc; ++index) {
    double fastest = 0;
    standin::HostSurface surface;
    for (int run = 0; run < runs; ++run) {
      standin::GrowingText error;
      double start = steadySeconds();
      bool loaded = standin::loadSurfaceFile(argv[index], &surface, &error);
      double seconds = steadySeconds() - start;
      if (!loaded) {
        fprintf(stderr, "gifti_load_time: %s\n", error.text());
        return 1;
      }
      if (run == 0 || seconds < fastest) fastest = seconds;
    }
    printf("%.1f %d %s\n", fastest * 1000, surface.vertexCount, argv[index]);
    standin::releaseSurface(&surface);
  }
  return 0;
}
