// Reads the version resource of Facetkit.dll back through version.dll, as
// Windows Explorer does for the file's properties, and checks it against the
// project's version: the four numbers of the fixed part, the texts of the
// US English block and the translation entry. It also checks that the name
// that the plug-in gives the host carries the same version.
//
//   version_resource_check <path of Facetkit.dll> <project version, e.g. 0.2>
//
// Prints one line per failed check and a closing count; exits nonzero when a
// check failed. Built for Windows only, with the C runtime alone.

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "platform/module_lookup.h"
#include "tests/windows/check_count.h"

extern "C" {
FACETKIT_WINIMPORT ModuleHandle FACETKIT_WINAPI LoadLibraryA(const char* fileName);
FACETKIT_WINIMPORT int FACETKIT_WINAPI FreeLibrary(ModuleHandle module);

// version.dll. The size is that of the buffer that GetFileVersionInfoA
// needs, 0 when the file has no version resource; `handle` is unused.
FACETKIT_WINIMPORT unsigned long FACETKIT_WINAPI GetFileVersionInfoSizeA(const char* fileName,
                                                                         unsigned long* handle);
FACETKIT_WINIMPORT int FACETKIT_WINAPI GetFileVersionInfoA(const char* fileName,
                                                           unsigned long handle, unsigned long size,
                                                           void* data);
// Points `value` into `block` at the entry named by `path`; texts are
// converted to 8-bit text. Returns 0 when there is no such entry.
FACETKIT_WINIMPORT int FACETKIT_WINAPI VerQueryValueA(const void* block, const char* path,
                                                      void** value, unsigned int* length);
}

namespace {

// The fixed part of a version resource (VS_FIXEDFILEINFO).
struct FixedFileInfo {
  uint32_t signature;
  uint32_t structureVersion;
  uint32_t fileVersionMost;
  uint32_t fileVersionLeast;
  uint32_t productVersionMost;
  uint32_t productVersionLeast;
  uint32_t fileFlagsMask;
  uint32_t fileFlags;
  uint32_t fileOs;
  uint32_t fileType;
  uint32_t fileSubtype;
  uint32_t fileDateMost;
  uint32_t fileDateLeast;
};
static_assert(sizeof(FixedFileInfo) == 52, "VS_FIXEDFILEINFO is thirteen 32-bit fields");

const uint32_t kFixedInfoSignature = 0xFEEF04BDu;
const uint32_t kFileOsWindowsNt = 0x00040004u;
const uint32_t kFileTypeDll = 2;
const uint16_t kLanguageUsEnglish = 0x0409;
const uint16_t kCodePageUnicode = 1200;
const char* const kStringBlock = "\\StringFileInfo\\040904B0\\";

// Texts of the string block; a null value stands for the project version.
struct ExpectedText {
  const char* name;
  const char* value;
};
const ExpectedText kExpectedTexts[] = {
    {"CompanyName", "Facetkit developers"},
    {"FileDescription", "Facetkit plug-in for Zandrovix"},
    {"FileVersion", nullptr},
    {"InternalName", "Facetkit"},
    {"LegalCopyright", "Copyright (C) 2026 Facetkit developers"},
    {"OriginalFilename", "Facetkit.dll"},
    {"ProductName", "Facetkit"},
    {"ProductVersion", nullptr},
};

CheckCount checks;

void check(bool condition, const char* what) {
  checks.check(condition, what);
}

// Splits a dotted version of up to four numbers, each below 65536, into the
// two 32-bit halves of a Windows version; the parts left out count as 0.
bool windowsVersion(const char* text, uint32_t* most, uint32_t* least) {
  uint32_t parts[4] = {0, 0, 0, 0};
  const char* at = text;
  for (int index = 0; index < 4; ++index) {
    if (*at < '0' || *at > '9') return false;
    char* end = nullptr;
    unsigned long part = strtoul(at, &end, 10);
    if (part > 0xFFFFu) return false;
    parts[index] = static_cast<uint32_t>(part);
    at = end;
    if (*at == '\0') break;
    if (*at != '.' || index == 3) return false;
    ++at;
  }
  *most = (parts[0] << 16) | parts[1];
  *least = (parts[2] << 16) | parts[3];
  return true;
}

void checkFixedPart(const void* block, const char* version) {
  void* value = nullptr;
  unsigned int length = 0;
  if (!VerQueryValueA(block, "\\", &value, &length) || length < sizeof(FixedFileInfo)) {
    check(false, "the resource has its fixed part");
    return;
  }
  FixedFileInfo fixed;
  memcpy(&fixed, value, sizeof(fixed));
  check(fixed.signature == kFixedInfoSignature, "the fixed part carries its signature");

  uint32_t most = 0;
  uint32_t least = 0;
  if (!windowsVersion(version, &most, &least)) {
    check(false, "the project version is up to four dotted numbers below 65536");
    return;
  }
  if (fixed.fileVersionMost != most || fixed.fileVersionLeast != least ||
      fixed.productVersionMost != most || fixed.productVersionLeast != least) {
    printf("  file version %u,%u,%u,%u, product version %u,%u,%u,%u, project version %s\n",
           fixed.fileVersionMost >> 16, fixed.fileVersionMost & 0xFFFFu,
           fixed.fileVersionLeast >> 16, fixed.fileVersionLeast & 0xFFFFu,
           fixed.productVersionMost >> 16, fixed.productVersionMost & 0xFFFFu,
           fixed.productVersionLeast >> 16, fixed.productVersionLeast & 0xFFFFu, version);
  }
  check(fixed.fileVersionMost == most && fixed.fileVersionLeast == least,
        "FILEVERSION is the project version");
  check(fixed.productVersionMost == most && fixed.productVersionLeast == least,
        "PRODUCTVERSION is the project version");
  check(fixed.fileType == kFileTypeDll, "the file type is a DLL");
  check(fixed.fileOs == kFileOsWindowsNt, "the file is for 32- or 64-bit Windows");
  check(fixed.fileFlags == 0, "the file is marked neither debug nor pre-release");
}

void checkTranslation(const void* block) {
  void* value = nullptr;
  unsigned int length = 0;
  if (!VerQueryValueA(block, "\\VarFileInfo\\Translation", &value, &length) || length != 4) {
    check(false, "the resource has one translation entry");
    return;
  }
  uint16_t entry[2];
  memcpy(entry, value, sizeof(entry));
  check(entry[0] == kLanguageUsEnglish && entry[1] == kCodePageUnicode,
        "the translation is US English, Unicode");
}

void checkTexts(const void* block, const char* version) {
  for (const ExpectedText& expected : kExpectedTexts) {
    const char* wanted = expected.value != nullptr ? expected.value : version;
    char path[128];
    snprintf(path, sizeof(path), "%s%s", kStringBlock, expected.name);
    void* value = nullptr;
    unsigned int length = 0;
    const char* actual = nullptr;
    if (VerQueryValueA(block, path, &value, &length) && value != nullptr) {
      actual = static_cast<const char*>(value);
    }
    char what[160];
    snprintf(what, sizeof(what), "%s is \"%s\" (found \"%s\")", expected.name, wanted,
             actual != nullptr ? actual : "<none>");
    check(actual != nullptr && strcmp(actual, wanted) == 0, what);
  }
}

// The host shows the plug-in as "Facetkit (v<version>)"; that version is
// written in the sources, so it must follow the project's version by hand.
void checkPluginName(const char* dllPath, const char* version) {
  ModuleHandle dll = LoadLibraryA(dllPath);
  check(dll != nullptr, "the DLL loads");
  if (dll == nullptr) return;
  ProcAddress address = GetProcAddress(dll, "getPluginName");
  check(address != nullptr, "getPluginName is exported");
  if (address != nullptr) {
    const char* (*getPluginName)();
    static_assert(sizeof(getPluginName) == sizeof(address), "one kind of code address");
    memcpy(&getPluginName, &address, sizeof(getPluginName));
    char wanted[64];
    snprintf(wanted, sizeof(wanted), "Facetkit (v%s)", version);
    const char* name = getPluginName();
    char what[160];
    snprintf(what, sizeof(what), "getPluginName gives \"%s\" (found \"%s\")", wanted,
             name != nullptr ? name : "<null>");
    check(name != nullptr && strcmp(name, wanted) == 0, what);
  }
  FreeLibrary(dll);
}

}  // namespace

int main(int argumentCount, char** arguments) {
  if (argumentCount != 3) {
    printf("usage: version_resource_check <path of Facetkit.dll> <project version>\n");
    return 2;
  }
  const char* dllPath = arguments[1];
  const char* version = arguments[2];

  unsigned long unused = 0;
  unsigned long size = GetFileVersionInfoSizeA(dllPath, &unused);
  check(size > 0, "the DLL has a version resource");
  void* block = size > 0 ? malloc(size) : nullptr;
  if (block != nullptr) {
    if (GetFileVersionInfoA(dllPath, 0, size, block)) {
      checkFixedPart(block, version);
      checkTranslation(block);
      checkTexts(block, version);
    } else {
      check(false, "the version resource can be read");
    }
    free(block);
  }
  checkPluginName(dllPath, version);

  return checks.finish();
}
