#include "standin/files/ply_header.h"

#include <errno.h>
#include <limits.h>
#include <stdlib.h>
#include <string.h>

#include "standin/files/surface_file.h"

namespace standin {

namespace {

const char* const kFormatLine = "binary_little_endian";

struct TypeName {
  const char* name;
  PlyType type;
};

const TypeName kTypeNames[] = {
    {"char", PlyType::kInt8},       {"int8", PlyType::kInt8},       {"uchar", PlyType::kUint8},
    {"uint8", PlyType::kUint8},     {"short", PlyType::kInt16},     {"int16", PlyType::kInt16},
    {"ushort", PlyType::kUint16},   {"uint16", PlyType::kUint16},   {"int", PlyType::kInt32},
    {"int32", PlyType::kInt32},     {"uint", PlyType::kUint32},     {"uint32", PlyType::kUint32},
    {"float", PlyType::kFloat32},   {"float32", PlyType::kFloat32}, {"double", PlyType::kFloat64},
    {"float64", PlyType::kFloat64},
};

constexpr int kMaxWords = 8;
constexpr int kWordSize = 128;

// One header line split at blanks. `overflow` tells that the line had more
// than kMaxWords words or a word of kWordSize characters or more; such a
// line is malformed unless it is free text (a comment).
struct Words {
  char word[kMaxWords][kWordSize];
  int count;
  bool overflow;
};

void splitWords(const char* line, size_t length, Words* words) {
  words->count = 0;
  words->overflow = false;
  size_t at = 0;
  while (at < length) {
    while (at < length && (line[at] == ' ' || line[at] == '\t')) ++at;
    if (at == length) break;
    size_t end = at;
    while (end < length && line[end] != ' ' && line[end] != '\t') ++end;
    if (words->count == kMaxWords || end - at >= kWordSize) {
      words->overflow = true;
      return;
    }
    memcpy(words->word[words->count], line + at, end - at);
    words->word[words->count][end - at] = '\0';
    ++words->count;
    at = end;
  }
}

bool isFreeText(const Words& words) {
  if (words.count == 0) return false;
  if (strcmp(words.word[0], "obj_info") == 0) return true;
  return strcmp(words.word[0], "comment") == 0 &&
         (words.count < 2 || strcmp(words.word[1], "zandrovix") != 0);
}

bool parseType(const char* name, PlyType* type) {
  for (const TypeName& entry : kTypeNames) {
    if (strcmp(entry.name, name) == 0) {
      *type = entry.type;
      return true;
    }
  }
  return false;
}

bool copyName(char* out, const char* name) {
  size_t length = strlen(name);
  if (length >= kPlyNameSize) return false;
  memcpy(out, name, length + 1);
  return true;
}

bool parseCount(const char* text, int32_t* count) {
  if (*text < '0' || *text > '9') return false;
  errno = 0;
  char* end = nullptr;
  long long value = strtoll(text, &end, 10);
  if (errno != 0 || *end != '\0' || value < 0 || value > INT32_MAX) return false;
  *count = static_cast<int32_t>(value);
  return true;
}

// "comment zandrovix <field> <values>".
bool parseComment(const Words& words, HostSurface* fields, int lineNumber, GrowingText* error) {
  for (int index = 0; index < kSurfaceFieldCount; ++index) {
    const SurfaceField& field = kSurfaceFields[index];
    if (words.count < 3 || strcmp(words.word[2], field.name) != 0) continue;
    if (words.count != 3 + field.count) {
      error->appendFormat("header line %d: \"%s\" needs %d value(s)", lineNumber, field.name,
                          field.count);
      return false;
    }
    char* base = reinterpret_cast<char*>(fields) + field.offset;
    for (int value = 0; value < field.count; ++value) {
      if (!parseSurfaceFieldValue(words.word[3 + value], field, base + value * 4)) {
        error->appendFormat("header line %d: \"%s\" is not a valid value of %s", lineNumber,
                            words.word[3 + value], field.name);
        return false;
      }
    }
    return true;
  }
  error->appendFormat("header line %d: unknown zandrovix field \"%s\"", lineNumber,
                      words.count >= 3 ? words.word[2] : "");
  return false;
}

bool parseProperty(const Words& words, PlyHeader* header, int lineNumber, GrowingText* error) {
  if (header->elementCount == 0) {
    error->appendFormat("header line %d: property before any element", lineNumber);
    return false;
  }
  PlyElement& element = header->elements[header->elementCount - 1];
  if (element.propertyCount == kMaxPlyProperties) {
    error->appendFormat("header line %d: more than %d properties", lineNumber, kMaxPlyProperties);
    return false;
  }
  PlyProperty& property = element.properties[element.propertyCount];
  bool list = words.count == 5 && strcmp(words.word[1], "list") == 0;
  bool parsed = list ? parseType(words.word[2], &property.countType) &&
                           plyTypeIsInteger(property.countType) &&
                           parseType(words.word[3], &property.type) &&
                           copyName(property.name, words.word[4])
                     : words.count == 3 && parseType(words.word[1], &property.type) &&
                           copyName(property.name, words.word[2]);
  if (!parsed) {
    error->appendFormat("header line %d: malformed property", lineNumber);
    return false;
  }
  property.isList = list;
  if (!list) property.countType = PlyType::kUint8;
  ++element.propertyCount;
  return true;
}

bool parseLine(const Words& words, PlyHeader* header, HostSurface* fields, int lineNumber,
               bool* formatSeen, GrowingText* error) {
  if (words.count == 0) return true;
  const char* keyword = words.word[0];
  if (strcmp(keyword, "comment") == 0) return parseComment(words, fields, lineNumber, error);
  if (strcmp(keyword, "format") == 0) {
    if (words.count != 3 || strcmp(words.word[1], kFormatLine) != 0 ||
        strcmp(words.word[2], "1.0") != 0) {
      error->appendFormat("header line %d: only \"format %s 1.0\" is supported", lineNumber,
                          kFormatLine);
      return false;
    }
    *formatSeen = true;
    return true;
  }
  if (strcmp(keyword, "element") == 0) {
    if (header->elementCount == kMaxPlyElements) {
      error->appendFormat("header line %d: more than %d elements", lineNumber, kMaxPlyElements);
      return false;
    }
    PlyElement& element = header->elements[header->elementCount];
    if (words.count != 3 || !copyName(element.name, words.word[1]) ||
        !parseCount(words.word[2], &element.count)) {
      error->appendFormat("header line %d: malformed element", lineNumber);
      return false;
    }
    element.propertyCount = 0;
    ++header->elementCount;
    return true;
  }
  if (strcmp(keyword, "property") == 0) return parseProperty(words, header, lineNumber, error);
  error->appendFormat("header line %d: unknown keyword \"%s\"", lineNumber, keyword);
  return false;
}

}  // namespace

int plyTypeSize(PlyType type) {
  switch (type) {
    case PlyType::kInt8:
    case PlyType::kUint8:
      return 1;
    case PlyType::kInt16:
    case PlyType::kUint16:
      return 2;
    case PlyType::kInt32:
    case PlyType::kUint32:
    case PlyType::kFloat32:
      return 4;
    case PlyType::kFloat64:
      return 8;
  }
  return 8;
}

bool plyTypeIsInteger(PlyType type) {
  return type != PlyType::kFloat32 && type != PlyType::kFloat64;
}

int findPlyProperty(const PlyElement& element, const char* name) {
  for (int index = 0; index < element.propertyCount; ++index) {
    if (strcmp(element.properties[index].name, name) == 0) return index;
  }
  return -1;
}

bool parsePlyHeader(const unsigned char* data, size_t size, PlyHeader* header, HostSurface* fields,
                    GrowingText* error) {
  header->elementCount = 0;
  header->bodyOffset = 0;
  const char* text = reinterpret_cast<const char*>(data);
  bool formatSeen = false;
  size_t lineStart = 0;
  for (int lineNumber = 1; lineStart < size; ++lineNumber) {
    const void* feed = memchr(text + lineStart, '\n', size - lineStart);
    if (feed == nullptr) break;
    size_t lineEnd = static_cast<size_t>(static_cast<const char*>(feed) - text);
    size_t next = lineEnd + 1;
    if (lineEnd > lineStart && text[lineEnd - 1] == '\r') --lineEnd;
    Words words;
    splitWords(text + lineStart, lineEnd - lineStart, &words);
    lineStart = next;
    if (isFreeText(words)) continue;
    if (words.overflow) {
      error->appendFormat("header line %d: too many or too long words", lineNumber);
      return false;
    }
    if (lineNumber == 1) {
      if (words.count != 1 || strcmp(words.word[0], "ply") != 0) {
        error->append("not a PLY file (it does not start with \"ply\")");
        return false;
      }
      continue;
    }
    if (words.count == 1 && strcmp(words.word[0], "end_header") == 0) {
      if (!formatSeen) {
        error->append("the header names no format");
        return false;
      }
      header->bodyOffset = next;
      return true;
    }
    if (!parseLine(words, header, fields, lineNumber, &formatSeen, error)) return false;
  }
  error->append(size >= 3 && memcmp(data, "ply", 3) == 0 ? "the header has no end_header line"
                                                         : "not a PLY file");
  return false;
}

}  // namespace standin
