#pragma once

// The stand-in host's command line.

#include "standin/base/growing_text.h"
#include "standin/calls/host_settings.h"
#include "standin/pictures/picture_output.h"

namespace standin {

struct Options {
  HostSettings settings;
  // Null where the option was not given.
  const char* pluginPath = nullptr;
  const char* surfacePath = nullptr;
  // Replaces the current surface's file name.
  const char* surfaceName = nullptr;
  const char* answersPath = nullptr;
  const char* tracePath = nullptr;
  const char* logPath = nullptr;
  // --pictures, --snapshot, --picture-size; the preview is decided in main.
  PictureSettings pictures;
  bool noPreview = false;
  // Locale names separated by commas; the host process takes the first that
  // the C runtime knows, before it loads the plug-in.
  const char* locale = nullptr;
  int runs = 1;
  bool skipInit = false;
  // The ranges given with --show-vertices, in order; it may be repeated.
  static constexpr int kMaxShownRanges = 8;
  int shownRanges = 0;
  int firstVertex[kMaxShownRanges] = {};
  int lastVertex[kMaxShownRanges] = {};
  bool help = false;
  bool version = false;
};

// One command-line option: its name ("--trace"), the placeholder of its
// value as --help shows it ("FILE"; null for an option without a value), its
// help text (lines separated by line feeds), and what it sets: `apply` gets
// the value (null for an option without one) and returns false when it
// cannot read it.
struct OptionRow {
  const char* name;
  const char* value;
  const char* help;
  bool (*apply)(const char* value, Options* options);
};

// Every option, in the order --help lists them.
extern const OptionRow kOptionRows[];
extern const int kOptionRowCount;

// Appends the text that --help shows: the options of kOptionRows, each with
// its value and help, between an introduction and notes.
void appendUsage(GrowingText* out);

// Reads the options in `arguments` (without the program name), as
// "--name value" or "--name=value". Returns false with a message in `error`
// for an unknown option, a missing value or a malformed one.
bool parseOptions(int count, const char* const* arguments, Options* options, GrowingText* error);

}  // namespace standin
