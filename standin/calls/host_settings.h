#pragma once

// How the stand-in plays its host, as chosen on the command line: the
// version it reports, its scene, and how it fills the surface record.

namespace standin {

// How zvGetCurrentSRF fills the record, so that sessions can play hosts
// whose surfaces are unusual or whose record is left unfilled.
enum class RecordFill {
  kFull,        // every field from the current surface
  kNoVertices,  // vertex count 0 and no colour array
  kNoColors,    // the vertex count, but no colour array
  kNoFileName,  // no file name text
  kNothing,     // the record is left as the plug-in handed it over
};

struct HostSettings {
  int versionMajor = 3;
  int versionMinor = 2;
  int versionSub = 0;
  bool vmrPresent = true;
  int surfaceCount = 1;
  const char* hostPath = "C:\\Program Files\\Zandrovix\\";
  RecordFill recordFill = RecordFill::kFull;
  // zvGetScene leaves its record as the plug-in handed it over.
  bool sceneUnfilled = false;
};

}  // namespace standin
