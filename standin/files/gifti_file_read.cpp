// Reading GIfTI surfaces: one pass of expat over the file's bytes, each
// array's Data decoded as it streams in (gifti_array_data.h), then the
// mesh, colours and record fields taken from the arrays
// (gifti_surface_arrays.cpp). Made for files from anywhere: no entity is
// declared or expanded and nothing outside the file is read, nesting and
// metadata text are bounded, and no array gets more memory than its
// dimensions give, which must fit what the file can hold.

#include <expat.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "standin/files/gifti_array_data.h"
#include "standin/files/gifti_common.h"
#include "standin/files/gifti_surface_arrays.h"
#include "standin/files/surface_file.h"
#include "standin/files/surface_formats.h"
#include "standin/mesh/surface_anatomy.h"

namespace standin {

namespace {

// Real files nest four elements deep.
const int kDeepestNesting = 32;
// A metadata name or value; real ones are well under this.
const size_t kLongestMetadataText = 1 << 20;
// Most bytes that gzip can give per byte of Base64 text; a file whose
// arrays claim more holds no such data, and nothing that large is allocated.
const uint64_t kLargestExpansion = 1100;
// The file is given to expat in pieces of this size, small enough to stay in
// the processor's cache; the fuzz build makes them tiny, so that every way
// a piece can end is tried.
#ifndef FACETKIT_GIFTI_PIECE_SIZE
#define FACETKIT_GIFTI_PIECE_SIZE 65536
#endif
const size_t kPieceSize = FACETKIT_GIFTI_PIECE_SIZE;

enum class Element {
  kGifti,
  kMetaData,
  kMD,
  kName,
  kValue,
  kLabelTable,
  kDataArray,
  kTransform,
  kData,
  // An element the reader does not know, skipped with all it holds.
  kSkipped,
};

struct ElementName {
  const char* name;
  Element element;
  // The element it must sit in.
  Element parent;
};

const ElementName kElements[] = {
    {"MetaData", Element::kMetaData, Element::kGifti},
    {"MetaData", Element::kMetaData, Element::kDataArray},
    {"MD", Element::kMD, Element::kMetaData},
    {"Name", Element::kName, Element::kMD},
    {"Value", Element::kValue, Element::kMD},
    {"LabelTable", Element::kLabelTable, Element::kGifti},
    {"DataArray", Element::kDataArray, Element::kGifti},
    {"CoordinateSystemTransformMatrix", Element::kTransform, Element::kDataArray},
    {"Data", Element::kData, Element::kDataArray},
};

struct Reading {
  XML_Parser parser;
  size_t fileSize;
  GrowingText* error;
  bool failed = false;
  Element stack[kDeepestNesting];
  int depth = 0;
  GiftiArrays arrays;
  // The decoder of the Data of the last array, whose element is open.
  GiftiArrayData decoder;
  bool dataSeen = false;
  // Where in the file the last character data of the open Data element
  // ended, or its start tag; the file's bytes that skipped expat so far.
  size_t dataEnd = 0;
  size_t skipped = 0;
  uint64_t claimedBytes = 0;
  GrowingText name;
  GrowingText value;
  // The record fields from the metadata, the sample's where there are none,
  // and whether the file keeps any (a stand-in saved it).
  HostSurface fields;
  bool fieldSeen[32] = {};
  bool keepsFields = false;
  // The first AnatomicalStructurePrimary of the file's metadata and of the
  // POINTSET array's: whether there is one, and its value ("" for none).
  bool structureSeen[2] = {false, false};
  GrowingText structure[2];
};

// Where in the file expat's current event ends.
size_t eventEnd(const Reading* reading) {
  XML_Index index = XML_GetCurrentByteIndex(reading->parser);
  int count = XML_GetCurrentByteCount(reading->parser);
  if (index < 0 || count < 0) return SIZE_MAX;
  return static_cast<size_t>(index) + static_cast<size_t>(count) + reading->skipped;
}

// Ends the reading with `error` already holding why.
void stop(Reading* reading) {
  reading->failed = true;
  XML_StopParser(reading->parser, XML_FALSE);
}

void fail(Reading* reading, const char* message) {
  reading->error->append(message);
  stop(reading);
}

// Reads one record field kept as "zandrovix.<field>" from `value`.
bool takeField(Reading* reading, int index, const char* value) {
  const SurfaceField& field = kSurfaceFields[index];
  char* base = reinterpret_cast<char*>(&reading->fields) + field.offset;
  const char* at = value;
  int read = 0;
  for (; read < field.count; ++read) {
    while (*at == ' ') ++at;
    char word[64];
    size_t length = strcspn(at, " ");
    if (length == 0 || length >= sizeof(word)) break;
    memcpy(word, at, length);
    word[length] = '\0';
    at += length;
    if (!parseSurfaceFieldValue(word, field, base + read * 4)) break;
  }
  while (*at == ' ') ++at;
  if (read != field.count || *at != '\0') {
    reading->error->appendFormat("the metadata %s%s is not %d valid value(s)", kGiftiFieldPrefix,
                                 field.name, field.count);
    return false;
  }
  return true;
}

// Every name and value of the metadata: `array` is the index of the array
// whose MetaData holds it, -1 for the file's own. The file's own
// "zandrovix.<field>" entries give the record fields (the first of each);
// the first AnatomicalStructurePrimary of the file's own, else of the
// POINTSET array's, the hemisphere. Everything the reader takes from
// metadata is taken here.
bool takeMetadata(Reading* reading, int array, const char* name, const char* value) {
  if (strcmp(name, "AnatomicalStructurePrimary") == 0) {
    const int scope = array < 0 ? 0 : 1;
    if (scope == 1 && reading->arrays.first(GiftiIntent::kPointSet) != &reading->arrays.at(array))
      return true;
    if (!reading->structureSeen[scope]) reading->structure[scope].append(value);
    reading->structureSeen[scope] = true;
    return true;
  }
  const size_t prefixLength = strlen(kGiftiFieldPrefix);
  if (array >= 0 || strncmp(name, kGiftiFieldPrefix, prefixLength) != 0) return true;
  reading->keepsFields = true;
  for (int index = 0; index < kSurfaceFieldCount && index < 32; ++index) {
    if (strcmp(name + prefixLength, kSurfaceFields[index].name) != 0) continue;
    if (reading->fieldSeen[index]) return true;
    reading->fieldSeen[index] = true;
    // An empty value leaves the field as it is, as the GIfTI library had
    // no value for it.
    return value[0] == '\0' || takeField(reading, index, value);
  }
  return true;
}

// The attributes of a DataArray, checked before anything is allocated.
void startArray(Reading* reading, const XML_Char** attributes) {
  GiftiArray* array = reading->arrays.add();
  if (array == nullptr) {
    fail(reading, "out of memory");
    return;
  }
  reading->dataSeen = false;
  GrowingText* error = reading->error;
  if (!describeGiftiArray(attributes, array, error)) {
    stop(reading);
    return;
  }
  reading->claimedBytes += array->bytes;
  if (reading->claimedBytes > kLargestExpansion * reading->fileSize + 4096) {
    error->appendFormat("the arrays claim %llu bytes, more than the file can hold",
                        static_cast<unsigned long long>(reading->claimedBytes));
    stop(reading);
    return;
  }
  if (!checkMeshArray(reading->arrays, *array, error) || !allocateGiftiArray(array, error)) {
    stop(reading);
    return;
  }
  GrowingText reason;
  if (!reading->decoder.begin(array->encoding, array->layout, array->bigEndian, array->data,
                              array->bytes, &reason)) {
    error->appendFormat("array %d %s", array->index, reason.text());
    stop(reading);
  }
}

void endArray(Reading* reading) {
  const int index = reading->arrays.count() - 1;
  GrowingText reason;
  if (!reading->decoder.finish(&reason)) {
    reading->error->appendFormat("array %d %s", index, reason.text());
    stop(reading);
    return;
  }
  reading->arrays.keepIfUsed(index);
}

Element placed(Reading* reading, const XML_Char* name) {
  Element parent = reading->stack[reading->depth - 1];
  for (const ElementName& entry : kElements) {
    if (strcmp(name, entry.name) == 0 && entry.parent == parent) return entry.element;
  }
  // Elements out of place are skipped with what they hold, but for those
  // that hold arrays or the whole file.
  if (strcmp(name, "Data") == 0 || strcmp(name, "DataArray") == 0 || strcmp(name, "GIFTI") == 0) {
    reading->error->appendFormat("not a valid GIfTI file (a %s element where it does not belong)",
                                 name);
    stop(reading);
  }
  return Element::kSkipped;
}

void XMLCALL startElement(void* context, const XML_Char* name, const XML_Char** attributes) {
  Reading* reading = static_cast<Reading*>(context);
  if (reading->failed) return;
  if (reading->depth == kDeepestNesting) {
    fail(reading, "not a valid GIfTI file (its elements nest too deep)");
    return;
  }
  Element element = Element::kSkipped;
  if (reading->depth == 0) {
    if (strcmp(name, "GIFTI") != 0) {
      fail(reading, "not a valid GIfTI file (its root element is not GIFTI)");
      return;
    }
    element = Element::kGifti;
  } else if (reading->stack[reading->depth - 1] != Element::kSkipped) {
    element = placed(reading, name);
    if (reading->failed) return;
  }
  reading->stack[reading->depth++] = element;
  if (element == Element::kDataArray) {
    startArray(reading, attributes);
  } else if (element == Element::kData) {
    if (reading->dataSeen) {
      fail(reading, "not a valid GIfTI file (a DataArray with two Data elements)");
      return;
    }
    reading->dataSeen = true;
    reading->dataEnd = eventEnd(reading);
  } else if (element == Element::kMD) {
    reading->name.clear();
    reading->value.clear();
  }
}

void XMLCALL endElement(void* context, const XML_Char*) {
  Reading* reading = static_cast<Reading*>(context);
  if (reading->failed) return;
  Element element = reading->stack[--reading->depth];
  if (element == Element::kDataArray) {
    endArray(reading);
  } else if (element == Element::kMD) {
    int array = reading->depth >= 2 && reading->stack[reading->depth - 2] == Element::kDataArray
                    ? reading->arrays.count() - 1
                    : -1;
    if (!takeMetadata(reading, array, reading->name.text(), reading->value.text())) stop(reading);
  }
}

void XMLCALL characters(void* context, const XML_Char* text, int length) {
  Reading* reading = static_cast<Reading*>(context);
  if (reading->failed || reading->depth == 0 || length <= 0) return;
  Element element = reading->stack[reading->depth - 1];
  size_t size = static_cast<size_t>(length);
  if (element == Element::kData) {
    reading->dataEnd = eventEnd(reading);
    GrowingText reason;
    if (!reading->decoder.take(text, size, &reason)) {
      reading->error->appendFormat("array %d %s", reading->arrays.count() - 1, reason.text());
      stop(reading);
    }
  } else if (element == Element::kName || element == Element::kValue) {
    GrowingText* into = element == Element::kName ? &reading->name : &reading->value;
    if (size > kLongestMetadataText - into->length()) {
      fail(reading, "the file's metadata holds a name or value too long to read");
      return;
    }
    into->append(text, size);
  }
}

void XMLCALL refuseEntity(void* context, const XML_Char*, int, const XML_Char*, int,
                          const XML_Char*, const XML_Char*, const XML_Char*, const XML_Char*) {
  Reading* reading = static_cast<Reading*>(context);
  if (!reading->failed) fail(reading, "not a valid GIfTI file (it declares XML entities)");
}

void XMLCALL refuseSkippedEntity(void* context, const XML_Char*, int) {
  Reading* reading = static_cast<Reading*>(context);
  if (!reading->failed) fail(reading, "not a valid GIfTI file (it uses an undeclared entity)");
}

// Expat reads every byte of the Data text only to hand it on unchanged; the
// text after `at` is decoded here directly instead when expat stopped at
// `at` inside a Data element, with nothing of it held back, and what
// follows up to "</Data" is plain text. Returns where expat goes on.
size_t decodePlainData(const unsigned char* data, size_t size, size_t at, Reading* reading) {
  if (reading->failed || reading->depth == 0 ||
      reading->stack[reading->depth - 1] != Element::kData || reading->dataEnd != at) {
    return at;
  }
  const void* found = memchr(data + at, '<', size - at);
  if (found == nullptr) return at;
  const size_t end = static_cast<size_t>(static_cast<const unsigned char*>(found) - data);
  static const char kEndTag[] = "</Data";
  const size_t tagLength = sizeof(kEndTag) - 1;
  if (size - end <= tagLength || memcmp(data + end, kEndTag, tagLength) != 0 ||
      !(data[end + tagLength] == '>' || data[end + tagLength] == ' ' ||
        data[end + tagLength] == '\t' || data[end + tagLength] == '\n' ||
        data[end + tagLength] == '\r')) {
    return at;
  }
  // Without references, the text is what expat would give, but that expat
  // makes CR LF and CR a LF, which is white space to the decoders alike. A
  // byte that expat refuses, the decoders refuse too.
  if (memchr(data + at, '&', end - at) != nullptr) return at;
  GrowingText reason;
  if (!reading->decoder.take(reinterpret_cast<const char*>(data + at), end - at, &reason)) {
    reading->error->appendFormat("array %d %s", reading->arrays.count() - 1, reason.text());
    reading->failed = true;
    return at;
  }
  reading->skipped += end - at;
  return end;
}

// The line of the file where expat stopped, counting the lines of the text
// that skipped it, as expat counts them (CR LF, CR and LF end a line).
unsigned long lineAt(const unsigned char* data, size_t size, XML_Parser parser,
                     const Reading& reading) {
  XML_Index index = XML_GetCurrentByteIndex(parser);
  if (reading.skipped == 0 || index < 0) {
    return static_cast<unsigned long>(XML_GetCurrentLineNumber(parser));
  }
  size_t end = static_cast<size_t>(index) + reading.skipped;
  if (end > size) end = size;
  unsigned long line = 1;
  for (size_t at = 0; at < end; ++at) {
    line += data[at] == '\n' || (data[at] == '\r' && (at + 1 == size || data[at + 1] != '\n'));
  }
  return line;
}

bool parse(const unsigned char* data, size_t size, Reading* reading) {
  XML_Parser parser = XML_ParserCreate(nullptr);
  if (parser == nullptr) {
    reading->error->append("out of memory");
    return false;
  }
  reading->parser = parser;
  XML_SetUserData(parser, reading);
  XML_SetElementHandler(parser, startElement, endElement);
  XML_SetCharacterDataHandler(parser, characters);
  XML_SetEntityDeclHandler(parser, refuseEntity);
  XML_SetSkippedEntityHandler(parser, refuseSkippedEntity);
  XML_SetParamEntityParsing(parser, XML_PARAM_ENTITY_PARSING_NEVER);
  size_t at = 0;
  bool parsed = true;
  do {
    size_t piece = size - at < kPieceSize ? size - at : kPieceSize;
    bool last = at + piece == size;
    if (XML_Parse(parser, reinterpret_cast<const char*>(data + at), static_cast<int>(piece),
                  last ? XML_TRUE : XML_FALSE) != XML_STATUS_OK) {
      if (!reading->failed) {
        reading->error->appendFormat("not a valid GIfTI file (line %lu: %s)",
                                     lineAt(data, size, parser, *reading),
                                     XML_ErrorString(XML_GetErrorCode(parser)));
      }
      parsed = false;
      break;
    }
    at += piece;
    if (!last) at = decodePlainData(data, size, at, reading);
  } while (at < size && !reading->failed);
  XML_ParserFree(parser);
  return parsed && !reading->failed;
}

}  // namespace

bool decodeSurfaceGifti(const unsigned char* data, size_t size, HostSurface* surface,
                        GrowingText* error) {
  releaseSurface(surface);
  Reading reading;
  reading.fileSize = size;
  reading.error = error;
  setSampleDisplayFields(&reading.fields);
  if (!parse(data, size, &reading) ||
      !buildGiftiSurface(&reading.arrays, reading.fields, surface, error)) {
    releaseSurface(surface);
    return false;
  }
  // A file that the stand-in did not save keeps no record fields: its
  // display fields are made for its mesh. An empty structure names none.
  if (!reading.keepsFields) setOwnDisplayFields(surface);
  const GrowingText& structure =
      reading.structure[0].empty() ? reading.structure[1] : reading.structure[0];
  surface->hemisphere = hemisphereOfStructure(structure.empty() ? nullptr : structure.text());
  return true;
}

}  // namespace standin
