#include "standin/options.h"

#include <errno.h>
#include <limits.h>
#include <stdlib.h>
#include <string.h>

namespace standin {

const char* const kUsage =
    "Usage: Zandrovix.exe [options]\n"
    "Plays the host application Zandrovix for the Facetkit plug-in: loads it, runs it and\n"
    "answers its calls.\n"
    "\n"
    "  --plugin PATH         plug-in library (default: beside this program, or two folders up)\n"
    "  --answers FILE        answer prompts from FILE instead of the terminal\n"
    "  --trace FILE          write one line per host call to FILE (- for standard output)\n"
    "  --log FILE            also write the host's log to FILE\n"
    "  --version X.Y.Z       host version to report (default 3.2.0)\n"
    "  --no-vmr              no VMR document is current\n"
    "  --surfaces N          number of surfaces in the scene (default 1)\n"
    "  --surface FILE        current surface from a PLY, FreeSurfer or GIfTI file\n"
    "                        (default: built-in sphere)\n"
    "  --surface-name TEXT   file name of the current surface (after building or loading it)\n"
    "  --surface-record HOW  how zvGetCurrentSRF fills the record: full (default),\n"
    "                        no-vertices, no-colors, no-file-name, or unfilled\n"
    "  --scene-unfilled      zvGetScene fills nothing\n"
    "  --host-path TEXT      host folder to report (default C:\\Program Files\\Zandrovix\\); the\n"
    "                        save dialog opens there if it exists, else in the current folder\n"
    "  --locale NAME[,NAME]  set the host process's locale to the first NAME the C runtime\n"
    "                        knows (e.g. de_DE.UTF-8,German for a decimal comma)\n"
    "  --runs N              call execute N times (default 1)\n"
    "  --skip-init           call execute without initPlugin\n"
    "  --show-vertices A-B   trace the stored colours of vertices A to B after the runs\n"
    "                        (may be repeated)\n"
    "  --pictures DIR        write a PNG picture of the surface to DIR (which must exist) on\n"
    "                        every redraw: redraw-0001.png, redraw-0002.png, ...\n"
    "  --snapshot FILE       write a PNG picture of the surface to FILE at the end\n"
    "  --picture-size WxH    size of the pictures (default 800x600)\n"
    "  --no-preview          no picture preview on the terminal at a redraw (there is\n"
    "                        none anyway when the output or the trace is not a terminal)\n"
    "  --help                show this text\n"
    "\n"
    "Answer script: one answer per line: number N | text SOMETHING | yes | no | file NAME |\n"
    "cancel; blank lines and lines starting with # are skipped. A number is returned as\n"
    "written, even outside the bounds the prompt gives (the terminal asks again instead).\n"
    "Exit code: 0 session ran, 1 unexpected host call, 2 setup error, 3 script error,\n"
    "4 a picture could not be written.\n";

namespace {

enum class OptionId {
  kPlugin,
  kAnswers,
  kTrace,
  kLog,
  kVersion,
  kNoVmr,
  kSurfaces,
  kSurface,
  kSurfaceName,
  kSurfaceRecord,
  kSceneUnfilled,
  kHostPath,
  kLocale,
  kRuns,
  kSkipInit,
  kShowVertices,
  kPictures,
  kSnapshot,
  kPictureSize,
  kNoPreview,
  kHelp
};

struct OptionForm {
  const char* name;
  OptionId id;
  bool takesValue;
};

const OptionForm kOptionForms[] = {
    {"--plugin", OptionId::kPlugin, true},
    {"--answers", OptionId::kAnswers, true},
    {"--trace", OptionId::kTrace, true},
    {"--log", OptionId::kLog, true},
    {"--version", OptionId::kVersion, true},
    {"--no-vmr", OptionId::kNoVmr, false},
    {"--surfaces", OptionId::kSurfaces, true},
    {"--surface", OptionId::kSurface, true},
    {"--surface-name", OptionId::kSurfaceName, true},
    {"--surface-record", OptionId::kSurfaceRecord, true},
    {"--scene-unfilled", OptionId::kSceneUnfilled, false},
    {"--host-path", OptionId::kHostPath, true},
    {"--locale", OptionId::kLocale, true},
    {"--runs", OptionId::kRuns, true},
    {"--skip-init", OptionId::kSkipInit, false},
    {"--show-vertices", OptionId::kShowVertices, true},
    {"--pictures", OptionId::kPictures, true},
    {"--snapshot", OptionId::kSnapshot, true},
    {"--picture-size", OptionId::kPictureSize, true},
    {"--no-preview", OptionId::kNoPreview, false},
    {"--help", OptionId::kHelp, false},
};

// Reads a signed decimal int at `*text`, moving past it.
bool takeInt(const char** text, int* value) {
  const char* start = *text;
  if (*start != '-' && *start != '+' && (*start < '0' || *start > '9')) return false;
  errno = 0;
  char* end = nullptr;
  long long number = strtoll(start, &end, 10);
  if (end == start || errno != 0 || number < INT_MIN || number > INT_MAX) return false;
  *value = static_cast<int>(number);
  *text = end;
  return true;
}

bool parseWholeInt(const char* text, int* value) {
  return takeInt(&text, value) && *text == '\0';
}

bool parseVersion(const char* text, HostSettings* settings) {
  int parts[3] = {0, 0, 0};
  for (int index = 0; index < 3; ++index) {
    if (index > 0 && *text++ != '.') return false;
    if (!takeInt(&text, &parts[index])) return false;
  }
  if (*text != '\0') return false;
  settings->versionMajor = parts[0];
  settings->versionMinor = parts[1];
  settings->versionSub = parts[2];
  return true;
}

// "A-B" or "A", both not negative.
bool parseVertexRange(const char* text, int* first, int* last) {
  if (*text == '-' || *text == '+' || !takeInt(&text, first) || *first < 0) return false;
  *last = *first;
  if (*text == '\0') return true;
  if (*text != '-') return false;
  ++text;
  if (*text == '-' || *text == '+' || !takeInt(&text, last) || *last < 0) return false;
  return *text == '\0';
}

// "WxH", both from 1 to the largest picture side.
bool parsePictureSize(const char* text, PictureSettings* pictures) {
  int width = 0;
  int height = 0;
  if (*text == '-' || *text == '+' || !takeInt(&text, &width) || *text++ != 'x') return false;
  if (*text == '-' || *text == '+' || !parseWholeInt(text, &height)) return false;
  if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide) return false;
  pictures->width = width;
  pictures->height = height;
  return true;
}

bool parseRecordFill(const char* text, RecordFill* fill) {
  struct Mode {
    const char* name;
    RecordFill fill;
  };
  const Mode modes[] = {{"full", RecordFill::kFull},
                        {"no-vertices", RecordFill::kNoVertices},
                        {"no-colors", RecordFill::kNoColors},
                        {"no-file-name", RecordFill::kNoFileName},
                        {"unfilled", RecordFill::kNothing}};
  for (const Mode& mode : modes) {
    if (strcmp(text, mode.name) != 0) continue;
    *fill = mode.fill;
    return true;
  }
  return false;
}

bool applyOption(OptionId id, const char* value, Options* options) {
  switch (id) {
    case OptionId::kPlugin:
      options->pluginPath = value;
      return true;
    case OptionId::kAnswers:
      options->answersPath = value;
      return true;
    case OptionId::kTrace:
      options->tracePath = value;
      return true;
    case OptionId::kLog:
      options->logPath = value;
      return true;
    case OptionId::kVersion:
      return parseVersion(value, &options->settings);
    case OptionId::kNoVmr:
      options->settings.vmrPresent = false;
      return true;
    case OptionId::kSurfaces:
      return parseWholeInt(value, &options->settings.surfaceCount);
    case OptionId::kSurface:
      options->surfacePath = value;
      return true;
    case OptionId::kSurfaceName:
      options->surfaceName = value;
      return true;
    case OptionId::kSurfaceRecord:
      return parseRecordFill(value, &options->settings.recordFill);
    case OptionId::kSceneUnfilled:
      options->settings.sceneUnfilled = true;
      return true;
    case OptionId::kHostPath:
      options->settings.hostPath = value;
      return true;
    case OptionId::kLocale:
      options->locale = value;
      return value[0] != '\0';
    case OptionId::kRuns:
      return parseWholeInt(value, &options->runs) && options->runs >= 0;
    case OptionId::kSkipInit:
      options->skipInit = true;
      return true;
    case OptionId::kShowVertices:
      if (options->shownRanges == Options::kMaxShownRanges) return false;
      ++options->shownRanges;
      return parseVertexRange(value, &options->firstVertex[options->shownRanges - 1],
                              &options->lastVertex[options->shownRanges - 1]);
    case OptionId::kPictures:
      options->pictures.folder = value;
      return true;
    case OptionId::kSnapshot:
      options->pictures.snapshotPath = value;
      return true;
    case OptionId::kPictureSize:
      return parsePictureSize(value, &options->pictures);
    case OptionId::kNoPreview:
      options->noPreview = true;
      return true;
    case OptionId::kHelp:
      options->help = true;
      return true;
  }
  return false;
}

}  // namespace

bool parseOptions(int count, const char* const* arguments, Options* options, GrowingText* error) {
  for (int index = 0; index < count; ++index) {
    const char* argument = arguments[index];
    const char* equals = strchr(argument, '=');
    size_t nameLength =
        equals != nullptr ? static_cast<size_t>(equals - argument) : strlen(argument);
    const OptionForm* form = nullptr;
    for (const OptionForm& candidate : kOptionForms) {
      if (strlen(candidate.name) == nameLength &&
          strncmp(candidate.name, argument, nameLength) == 0) {
        form = &candidate;
      }
    }
    if (form == nullptr) {
      error->appendFormat("unknown option \"%s\"", argument);
      return false;
    }
    const char* value = nullptr;
    if (form->takesValue) {
      if (equals != nullptr) {
        value = equals + 1;
      } else if (index + 1 < count && strncmp(arguments[index + 1], "--", 2) != 0) {
        value = arguments[++index];
      } else {
        error->appendFormat("%s needs a value", form->name);
        return false;
      }
    } else if (equals != nullptr) {
      error->appendFormat("%s takes no value", form->name);
      return false;
    }
    if (!applyOption(form->id, value, options)) {
      error->appendFormat("%s: \"%s\" is not a valid value", form->name,
                          value != nullptr ? value : "");
      return false;
    }
  }
  return true;
}

}  // namespace standin
