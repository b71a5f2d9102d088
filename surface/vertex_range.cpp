#include "surface/vertex_range.h"

#include "host/host_function_table.h"
#include "platform/word_fill.h"

namespace {

const char* const kNoVertices = "Facetkit> The current surface has no vertices.";

}  // namespace

bool surfaceHasVertices(const SurfaceRecord& surface) {
  return surface.vertexCount > 0 && surface.vertexColors != nullptr;
}

void reportNoVertices() {
  if (hostEntryPresent(HostEntry::zvLogText)) hostFunctions.zvLogText(kNoVertices);
}

VertexRange askVertexRange(const SurfaceRecord& surface) {
  char firstPrompt[] = "Please enter the first vertex number of the range";
  char lastPrompt[] = "Please enter the last vertex number of the range (inclusive)";
  // The host takes each prompt as a writable text, so each lives in an array
  // of its own, exactly the text and its terminator: a host that writes into
  // a prompt can change nothing else. The sizes pin the texts the host shows.
  static_assert(sizeof(firstPrompt) == 50 && sizeof(lastPrompt) == 61, "prompt sizes");

  const int32_t lastVertex = surface.vertexCount - 1;
  int32_t first = hostFunctions.zvGetIntegerInput(firstPrompt, 0, 0, lastVertex);
  int32_t last = hostFunctions.zvGetIntegerInput(lastPrompt, 0, 0, lastVertex);
  // A host may return numbers outside the prompt's bounds (a cancel, say);
  // only the vertices that exist are kept.
  VertexRange range;
  range.first = first < 0 ? 0 : first;
  range.last = last > lastVertex ? lastVertex : last;
  return range;
}

void paintVertexRange(int32_t* colours, VertexRange range, int32_t value) {
  if (range.first > range.last) return;
  // Taken in 64 bits, where the difference of two int32_t values cannot
  // overflow.
  const size_t count = static_cast<size_t>(static_cast<int64_t>(range.last) - range.first) + 1;
  if (count >= kWordFillPaysFrom) {
    fillWords(colours + range.first, count, value);
    return;
  }
  // The array's address and the value arrive as arguments, so the compiler
  // keeps them in registers and the loop becomes wide stores, even where
  // stores are not assumed to leave other memory alone (clang-cl).
  for (int32_t vertex = range.first; vertex <= range.last; ++vertex) colours[vertex] = value;
}
