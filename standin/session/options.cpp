#include "standin/session/options.h"

#include <errno.h>
#include <limits.h>
#include <stdlib.h>
#include <string.h>

namespace standin {

namespace {

// What --help shows before and after the options.
const char* const kUsageIntro =
    "Usage: Zandrovix.exe [options]\n"
    "Plays the host application Zandrovix for the Facetkit plug-in: loads it, runs it and\n"
    "answers its calls.\n"
    "\n";
const char* const kUsageNotes =
    "\n"
    "Answer script: one answer per line: number N | text SOMETHING | yes | no | file NAME |\n"
    "cancel; blank lines and lines starting with # are skipped. A number is returned as\n"
    "written, even outside the bounds the prompt gives (the terminal asks again instead).\n"
    "Exit code: 0 session ran, 1 unexpected host call, 2 setup error, 3 script error,\n"
    "4 a picture could not be written.\n";

// --help indents each option by two blanks and starts its help text in this
// column, each further line of the help in the same column.
const size_t kOptionIndent = 2;
const size_t kHelpColumn = 24;

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

}  // namespace

// Each option in the order --help lists them; `apply` stores what the option
// sets, and returns false for a value it cannot read.
const OptionRow kOptionRows[] = {
    {"--plugin", "PATH", "plug-in library (default: beside this program, or two folders up)",
     [](const char* value, Options* options) {
       options->pluginPath = value;
       return true;
     }},
    {"--answers", "FILE", "answer prompts from FILE instead of the terminal",
     [](const char* value, Options* options) {
       options->answersPath = value;
       return true;
     }},
    {"--trace", "FILE", "write one line per host call to FILE (- for standard output)",
     [](const char* value, Options* options) {
       options->tracePath = value;
       return true;
     }},
    {"--log", "FILE", "also write the host's log to FILE (- for standard output)",
     [](const char* value, Options* options) {
       options->logPath = value;
       return true;
     }},
    {"--host-version", "X.Y.Z", "host version to report (default 3.2.0)",
     [](const char* value, Options* options) { return parseVersion(value, &options->settings); }},
    {"--no-vmr", nullptr, "no VMR document is current",
     [](const char*, Options* options) {
       options->settings.vmrPresent = false;
       return true;
     }},
    {"--surfaces", "N", "number of surfaces in the scene (default 1)",
     [](const char* value, Options* options) {
       return parseWholeInt(value, &options->settings.surfaceCount);
     }},
    {"--surface", "FILE",
     "current surface from a PLY, FreeSurfer or GIfTI file\n"
     "(default: built-in sphere)",
     [](const char* value, Options* options) {
       options->surfacePath = value;
       return true;
     }},
    {"--surface-name", "TEXT", "file name of the current surface (after building or loading it)",
     [](const char* value, Options* options) {
       options->surfaceName = value;
       return true;
     }},
    {"--surface-record", "HOW",
     "how zvGetCurrentSRF fills the record: full (default),\n"
     "no-vertices, no-colors, no-file-name, or unfilled",
     [](const char* value, Options* options) {
       return parseRecordFill(value, &options->settings.recordFill);
     }},
    {"--scene-unfilled", nullptr, "zvGetScene fills nothing",
     [](const char*, Options* options) {
       options->settings.sceneUnfilled = true;
       return true;
     }},
    {"--host-path", "TEXT",
     "host folder to report (default C:\\Program Files\\Zandrovix\\); the\n"
     "save dialog opens there if it exists, else in the current folder",
     [](const char* value, Options* options) {
       options->settings.hostPath = value;
       return true;
     }},
    {"--locale", "NAME[,NAME]",
     "set the host process's locale to the first NAME the C runtime\n"
     "knows (e.g. de_DE.UTF-8,German for a decimal comma)",
     [](const char* value, Options* options) {
       options->locale = value;
       return value[0] != '\0';
     }},
    {"--runs", "N", "call execute N times (default 1)",
     [](const char* value, Options* options) {
       return parseWholeInt(value, &options->runs) && options->runs >= 0;
     }},
    {"--skip-init", nullptr, "call execute without initPlugin",
     [](const char*, Options* options) {
       options->skipInit = true;
       return true;
     }},
    {"--show-vertices", "A-B",
     "trace the stored colours of vertices A to B after the runs\n"
     "(may be repeated)",
     [](const char* value, Options* options) {
       if (options->shownRanges == Options::kMaxShownRanges) return false;
       ++options->shownRanges;
       return parseVertexRange(value, &options->firstVertex[options->shownRanges - 1],
                               &options->lastVertex[options->shownRanges - 1]);
     }},
    {"--pictures", "DIR",
     "write a PNG picture of the surface to DIR on every redraw:\n"
     "redraw-0001.png, redraw-0002.png, ... (DIR is made if missing;\n"
     "its parent must exist)",
     [](const char* value, Options* options) {
       options->pictures.folder = value;
       return true;
     }},
    {"--snapshot", "FILE", "write a PNG picture of the surface to FILE at the end",
     [](const char* value, Options* options) {
       options->pictures.snapshotPath = value;
       return true;
     }},
    {"--picture-size", "WxH", "size of the pictures, of each view (default 800x600)",
     [](const char* value, Options* options) {
       return parsePictureSize(value, &options->pictures);
     }},
    {"--view", "NAME[,NAME]",
     "the pictures' views, side by side: lateral, medial, dorsal,\n"
     "ventral, anterior, posterior (by the surface's hemisphere and\n"
     "coordinates: x right, y anterior, z superior) or record (by the\n"
     "record's rotation). Default: lateral for a FreeSurfer or GIfTI\n"
     "file, record for the sample and the files this host saves",
     [](const char* value, Options* options) {
       return parseViewList(value, &options->pictures.views);
     }},
    {"--no-preview", nullptr,
     "no picture preview on the terminal at a redraw (there is\n"
     "none anyway when the output is not a terminal or the trace\n"
     "or the log goes there)",
     [](const char*, Options* options) {
       options->noPreview = true;
       return true;
     }},
    {"--help", nullptr, "show this text",
     [](const char*, Options* options) {
       options->help = true;
       return true;
     }},
    {"--version", nullptr, "show this program's version",
     [](const char*, Options* options) {
       options->version = true;
       return true;
     }},
};
const int kOptionRowCount = static_cast<int>(sizeof(kOptionRows) / sizeof(kOptionRows[0]));

void appendUsage(GrowingText* out) {
  out->append(kUsageIntro);
  for (const OptionRow& row : kOptionRows) {
    const size_t start = out->length();
    out->appendFormat("%*s%s", static_cast<int>(kOptionIndent), "", row.name);
    if (row.value != nullptr) out->appendFormat(" %s", row.value);
    // An option too long for the help column has its help on the next line.
    size_t width = out->length() - start;
    if (width + 1 >= kHelpColumn) {
      out->appendChar('\n');
      width = 0;
    }
    for (const char* line = row.help; *line != '\0';) {
      const char* end = strchr(line, '\n');
      const size_t length = end != nullptr ? static_cast<size_t>(end - line) : strlen(line);
      out->appendFormat("%*s", static_cast<int>(kHelpColumn - width), "");
      out->append(line, length);
      out->appendChar('\n');
      width = 0;
      line += end != nullptr ? length + 1 : length;
    }
  }
  out->append(kUsageNotes);
}

bool parseOptions(int count, const char* const* arguments, Options* options, GrowingText* error) {
  for (int index = 0; index < count; ++index) {
    const char* argument = arguments[index];
    const char* equals = strchr(argument, '=');
    size_t nameLength =
        equals != nullptr ? static_cast<size_t>(equals - argument) : strlen(argument);
    const OptionRow* row = nullptr;
    for (const OptionRow& candidate : kOptionRows) {
      if (strlen(candidate.name) == nameLength &&
          strncmp(candidate.name, argument, nameLength) == 0) {
        row = &candidate;
      }
    }
    if (row == nullptr) {
      error->appendFormat("unknown option \"%s\"", argument);
      return false;
    }
    const char* value = nullptr;
    if (row->value != nullptr) {
      if (equals != nullptr) {
        value = equals + 1;
      } else if (index + 1 < count && strncmp(arguments[index + 1], "--", 2) != 0) {
        value = arguments[++index];
      } else {
        error->appendFormat("%s needs a value", row->name);
        return false;
      }
    } else if (equals != nullptr) {
      error->appendFormat("%s takes no value", row->name);
      return false;
    }
    if (!row->apply(value, options)) {
      error->appendFormat("%s: \"%s\" is not a valid value", row->name,
                          value != nullptr ? value : "");
      return false;
    }
  }
  const PictureSettings& pictures = options->pictures;
  if (pictures.views.count > 1 && pictures.width > kMaxPictureSide / pictures.views.count) {
    error->appendFormat("%d views of %d pixels are wider than %d pixels", pictures.views.count,
                        pictures.width, kMaxPictureSide);
    return false;
  }
  return true;
}

}  // namespace standin
