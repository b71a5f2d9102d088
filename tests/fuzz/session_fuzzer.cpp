// Fuzzes whole sessions in-process: the input sets up the host (whether the
// module is found, which host functions are missing, the surface record) and
// then gives every answer the plug-in asks for. After each run the results
// are checked against what those answers mean: painted vertices hold exactly
// the chosen colour and no other vertex changed, listed values are the
// stored ones, converted values are exact, the header report is whole and
// lands in the right file, and nothing is confirmed that was not done.

#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include <algorithm>
#include <string>

#include "plugin/plugin_interface.h"
#include "tests/fuzz/fake_host.h"
#include "tests/fuzz/hex_reference.h"

namespace {

using fuzzhost::Session;

const char* const kEntered = "The color entered in hexadecimal format is: ";
const char* const kDecimal = "The corresponding decimal value is: ";
const char* const kReportStart = "\nSRF filename: \n";
const char* const kSaved =
    "Header information of file saved to text.\nIt is located in the same folder as the surface "
    "file.";
const char* const kNotSaved = "Header information could not be written to the text file ";
const char* const kFirstPrompt = "Please enter the first vertex number of the range";
const char* const kLastPrompt = "Please enter the last vertex number of the range";

// Beyond this many vertices only the painted range and its edges are checked.
constexpr int32_t kWhollyChecked = 1 << 16;

[[noreturn]] void fault(const char* what, const std::string& detail) {
  fprintf(stderr, "fault: %s: %.400s\n", what, detail.c_str());
  abort();
}

bool startsWith(const std::string& text, const char* start) {
  return text.compare(0, strlen(start), start) == 0;
}

int32_t pickVertexCount(FuzzedDataProvider& input) {
  const int32_t counts[] = {-1, 0, 1, 2, 3, 7, 256, 40962};
  if (input.ConsumeBool()) return input.ConsumeIntegralInRange(-1, 300);
  // Surfaces of up to ten million vertices, rarely: each costs a long paint.
  switch (input.ConsumeIntegralInRange(0, 255)) {
    case 0:
      return fuzzhost::kMostVertices;
    case 1:
      return input.ConsumeIntegralInRange(-1, fuzzhost::kMostVertices);
    default:
      return counts[input.ConsumeIntegralInRange<size_t>(0,
                                                         sizeof(counts) / sizeof(counts[0]) - 1)];
  }
}

float pickFloat(FuzzedDataProvider& input) {
  switch (input.ConsumeIntegralInRange(0, 3)) {
    case 0:
      return 0.5f;
    case 1: {
      uint32_t bits = input.ConsumeIntegral<uint32_t>();
      float value;
      memcpy(&value, &bits, sizeof(value));
      return value;
    }
    default:
      return input.ConsumeFloatingPointInRange(-1000.0f, 1000.0f);
  }
}

void pickFileName(FuzzedDataProvider& input, Session* session) {
  const char* const odd[] = {"brain.srf",
                             "C:\\data\\brain.txt",
                             "brain.TXT",
                             "scans.v2/brain",
                             "scans.v2\\brain",
                             ".srf",
                             ".",
                             "..",
                             "a.",
                             "",
                             "name.with.dots.srf"};
  switch (input.ConsumeIntegralInRange(0, 5)) {
    case 0:
      session->surface.fileName = nullptr;
      return;
    case 1: {
      // Up to 64 KiB, so a report far longer than any fixed line.
      size_t length = input.ConsumeIntegralInRange<size_t>(0, 65536);
      session->fileName = std::string(length, 'n') + input.ConsumeRandomLengthString(16);
      break;
    }
    case 2:
      session->fileName = input.ConsumeRandomLengthString(300);
      break;
    default:
      session->fileName =
          odd[input.ConsumeIntegralInRange<size_t>(0, sizeof(odd) / sizeof(odd[0]) - 1)];
      break;
  }
  session->surface.fileName = session->fileName.c_str();
}

void setUp(FuzzedDataProvider& input, Session* session) {
  session->moduleFound = input.ConsumeIntegralInRange(0, 31) != 0;
  if (input.ConsumeIntegralInRange(0, 3) == 0) {
    for (bool& missing : session->missing) missing = input.ConsumeIntegralInRange(0, 5) == 0;
  }
  SurfaceRecord& surface = session->surface;
  surface.vertexCount = pickVertexCount(input);
  surface.vertexColors = input.ConsumeIntegralInRange(0, 15) == 0 || surface.vertexCount < 0
                             ? nullptr
                             : fuzzhost::colourArray(surface.vertexCount);
  if (surface.vertexColors != nullptr && surface.vertexCount == 0 && input.ConsumeBool()) {
    surface.vertexColors = nullptr;
  }
  surface.triangleCount = input.ConsumeIntegral<int32_t>();
  surface.visible = input.ConsumeIntegral<int32_t>();
  surface.renderMode = input.ConsumeIntegral<int32_t>();
  float* floats[] = {
      &surface.convexColor.red,  &surface.convexColor.green,  &surface.convexColor.blue,
      &surface.concaveColor.red, &surface.concaveColor.green, &surface.concaveColor.blue,
      &surface.meshCenter.x,     &surface.meshCenter.y,       &surface.meshCenter.z,
      &surface.meshRotation.x,   &surface.meshRotation.y,     &surface.meshRotation.z};
  for (float* value : floats) *value = pickFloat(input);
  surface.useStrips = input.ConsumeIntegral<int32_t>();
  surface.stripElementCount = input.ConsumeIntegral<int32_t>();
  pickFileName(input, session);
}

// The report as the host's user must read it, written out independently.
std::string expectedReport(const SurfaceRecord& surface) {
  const char* name = surface.fileName != nullptr ? surface.fileName : "";
  std::string report = std::string(kReportStart) + name + "\n";
  char line[1024];
  auto add = [&](const char* format, auto... values) {
    snprintf(line, sizeof(line), format, values...);
    report += line;
  };
  add("Number of vertices: %d\nNumber of triangles: %d\n", surface.vertexCount,
      surface.triangleCount);
  add("Mesh center: X: %f, Y: %f, Z: %f\n", double{surface.meshCenter.x},
      double{surface.meshCenter.y}, double{surface.meshCenter.z});
  add("Visible: %d\nMesh curvature colors: \n", surface.visible);
  add("Concave red: %f, green: %f, blue: %f\n", double{surface.concaveColor.red},
      double{surface.concaveColor.green}, double{surface.concaveColor.blue});
  add("Convex red: %f, green: %f, blue: %f\n", double{surface.convexColor.red},
      double{surface.convexColor.green}, double{surface.convexColor.blue});
  add("Mesh rotation X: %f, Y: %f, Z: %f\n", double{surface.meshRotation.x},
      double{surface.meshRotation.y}, double{surface.meshRotation.z});
  add("Number of triangle strip elements: %d\nUse strips: %d\nRender mode: %d\n",
      surface.stripElementCount, surface.useStrips, surface.renderMode);
  return report;
}

// The text file beside the surface file: its name up to the extension of
// its own name, then ".txt"; "''.txt" for a missing or empty name.
std::string expectedTextFileName(const char* fileName) {
  std::string name = fileName != nullptr && fileName[0] != '\0' ? fileName : "''";
  size_t separator = name.find_last_of("/\\");
  size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && (separator == std::string::npos || dot > separator)) {
    name.resize(dot);
  }
  return name + ".txt";
}

std::string readScratch() {
  std::string content;
  FILE* file = fopen(fuzzhost::scratchPath.c_str(), "rb");
  if (file == nullptr) return content;
  char block[4096];
  size_t got;
  while ((got = fread(block, 1, sizeof(block), file)) > 0) content.append(block, got);
  fclose(file);
  return content;
}

const fuzzhost::IntegerAnswer* lastAnswerTo(const Session& session, const char* prompt) {
  const fuzzhost::IntegerAnswer* found = nullptr;
  for (const fuzzhost::IntegerAnswer& answer : session.integerAnswers) {
    if (startsWith(answer.prompt, prompt)) found = &answer;
  }
  return found;
}

// The converted value the run logged, checked against the text entered.
bool checkConversion(const Session& session, int32_t* value) {
  bool converted = false;
  size_t accepted = 0;
  for (size_t index = 0; index < session.logged.size(); ++index) {
    const std::string& text = session.logged[index];
    if (!startsWith(text, kEntered)) continue;
    if (accepted >= session.textAnswers.size()) fault("a colour logged that was not entered", text);
    const std::string& answer = session.textAnswers[accepted++];
    if (text.substr(strlen(kEntered)) != answer) fault("the entered colour logged wrongly", text);
    int32_t expected = fuzzhost::referenceHexValue(answer.c_str(), answer.size());
    if (index + 1 >= session.logged.size() ||
        session.logged[index + 1] != kDecimal + std::to_string(expected)) {
      fault("wrong decimal value for", answer);
    }
    *value = expected;
    converted = true;
  }
  return converted;
}

void checkVertices(const Session& session, bool converted, int32_t colour) {
  const SurfaceRecord& surface = session.surface;
  if (!session.surfaceGiven) return;
  const int32_t count = surface.vertexCount;
  int32_t* colours = surface.vertexColors;
  if (colours == nullptr || count <= 0) return;
  const fuzzhost::IntegerAnswer* first = lastAnswerTo(session, kFirstPrompt);
  const fuzzhost::IntegerAnswer* last = lastAnswerTo(session, kLastPrompt);
  int32_t low = first != nullptr && first->value > 0 ? first->value : 0;
  int32_t high = last != nullptr ? (last->value < count - 1 ? last->value : count - 1) : -1;
  const int32_t painted = static_cast<int32_t>(0x3F000000u + static_cast<uint32_t>(colour));

  // Listed vertices (each checked as it came): exactly the range.
  if (session.listedCount > 0 && (session.listedFirst != low || session.listedLast != high)) {
    fault("listed other vertices than the range",
          std::to_string(session.listedFirst) + " to " + std::to_string(session.listedLast));
  }

  auto check = [&](int32_t vertex) {
    const int32_t untouched = fuzzhost::untouchedValue(count, vertex);
    if (colours[vertex] == untouched) return;
    if (!converted || vertex < low || vertex > high || colours[vertex] != painted) {
      fault("a vertex changed that should not", std::to_string(vertex));
    }
  };
  if (count <= kWhollyChecked) {
    for (int32_t vertex = 0; vertex < count; ++vertex) check(vertex);
  } else {
    const int32_t edges[] = {0, count - 1, low - 1, low, high, high + 1};
    for (int32_t vertex : edges) {
      if (vertex >= 0 && vertex < count) check(vertex);
    }
  }
  if (session.redraws > 0 && converted) {
    for (int32_t vertex = low; vertex <= high; ++vertex) {
      if (colours[vertex] != painted)
        fault("a vertex of the range not painted", std::to_string(vertex));
    }
  }
  // Back to the pattern for the next run.
  for (int32_t vertex = low; vertex <= high; ++vertex) {
    colours[vertex] = fuzzhost::untouchedValue(count, vertex);
  }
}

void checkReport(const Session& session) {
  // A host that leaves the record unfilled gives the plug-in a zeroed one.
  const SurfaceRecord surface = session.surfaceGiven ? session.surface : SurfaceRecord{};
  const std::string report = expectedReport(surface);
  const std::string textFile = expectedTextFileName(surface.fileName);
  for (const std::string& text : session.logged) {
    if (startsWith(text, kReportStart) && text != report) fault("a header report not whole", text);
    if (startsWith(text, kNotSaved) && text != kNotSaved + textFile + ".") {
      fault("the failure names another file", text);
    }
  }
  // Where the written text ends: the name opened, or the name it was then
  // renamed to.
  std::string written;
  for (const std::string& name : session.openedFiles) {
    if (surface.fileName != nullptr && name == surface.fileName) {
      fault("the surface file itself opened for writing", name);
    }
    written = name;
  }
  for (const auto& rename : session.renames) {
    if (surface.fileName != nullptr && rename.second == surface.fileName) {
      fault("a file moved over the surface file", rename.second);
    }
    if (rename.first == written) written = rename.second;
  }
  // Only a file this call made itself, never the text file, may go.
  for (const std::string& name : session.removed) {
    const bool made = std::find(session.openedFiles.begin(), session.openedFiles.end(), name) !=
                      session.openedFiles.end();
    if (!made || name == textFile) fault("removed a file it did not make", name);
  }
  bool confirmed = false;
  for (const std::string& text : session.logged) confirmed = confirmed || text == kSaved;
  if (confirmed) {
    if (session.openedFiles.empty() || session.openedFullDisk || written != textFile) {
      fault("confirmed a text file that was not written",
            textFile + (session.openedFullDisk ? " (a full disk)" : " (written: " + written + ")"));
    }
    if (readScratch() != report) fault("confirmed a text file that is not whole", textFile);
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Text files go to a scratch file in a folder of the fuzzer's own.
  char folder[] = "/tmp/facetkit-fuzz-XXXXXX";
  if (mkdtemp(folder) == nullptr) abort();
  fuzzhost::scratchPath = std::string(folder) + "/scratch.txt";
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  Session session;
  session.input = &input;
  setUp(input, &session);
  remove(fuzzhost::scratchPath.c_str());
  const bool initialise = input.ConsumeIntegralInRange(0, 7) != 0;

  fuzzhost::session = &session;
  ZDVNPluginInterface* plugin = createPlugin();
  if (plugin == nullptr) fault("no plug-in object", "");
  bool ready = !initialise || plugin->initPlugin();
  if (ready) plugin->execute();
  delete plugin;
  fuzzhost::session = nullptr;

  int32_t colour = 0;
  bool converted = checkConversion(session, &colour);
  checkVertices(session, converted, colour);
  checkReport(session);
  return 0;
}
