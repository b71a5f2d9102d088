// Loads Facetkit.dll the way the host does, with LoadLibraryA and
// GetProcAddress, and checks what the host relies on: the plain exports and
// their texts, the description built while the DLL was loading, the order of
// the plug-in object's virtual functions, the exported class members, and
// that the object ends through its virtual destructor and the DLL unloads.
//
//   dll_load_check <path of Facetkit.dll>
//
// Prints one line per failed check and a closing count; exits nonzero when a
// check failed. Built for Windows only, with the C runtime alone.

#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include "platform/module_lookup.h"
#include "tests/windows/check_count.h"

extern "C" {
FACETKIT_WINIMPORT ModuleHandle FACETKIT_WINAPI LoadLibraryA(const char* fileName);
FACETKIT_WINIMPORT int FACETKIT_WINAPI FreeLibrary(ModuleHandle module);
}

// The plug-in object as the host declares it: only the order of the virtual
// functions and the virtual destructor matter. Outside the unnamed namespace,
// so that no optimiser takes it for a class that nothing in this file derives
// from and calls through it.
class HostViewOfPlugin {
 public:
  virtual ~HostViewOfPlugin() {}
  virtual bool execute() = 0;
  virtual bool initPlugin() = 0;
};

namespace {

using TextExport = const char* (*)();
using CreateExport = HostViewOfPlugin* (*)();
// Member functions on x64 Windows take the object as their first argument,
// and constructors and assignment return it.
using ConstructorMember = void* (*)(void* self);
using CopyMember = void* (*)(void* self, const void* other);
using DestructorMember = void (*)(void* self);

const char* const kExpectedName = "Facetkit (v0.2)";
const char* const kDescriptionStart = "This Facetkit provides the following functions:<P>1: ";

CheckCount checks;

void check(bool condition, const char* what) {
  checks.check(condition, what);
}

bool startsWith(const char* text, const char* start) {
  return text != nullptr && strncmp(text, start, strlen(start)) == 0;
}

bool endsWith(const char* text, const char* end) {
  if (text == nullptr) return false;
  size_t length = strlen(text);
  size_t endLength = strlen(end);
  return length >= endLength && strcmp(text + length - endLength, end) == 0;
}

ProcAddress find(ModuleHandle dll, const char* name) {
  ProcAddress address = GetProcAddress(dll, name);
  if (address == nullptr) printf("missing export: %s\n", name);
  return address;
}

template <typename Function>
Function as(ProcAddress address) {
  Function function;
  static_assert(sizeof(function) == sizeof(address), "one kind of code address");
  memcpy(&function, &address, sizeof(function));
  return function;
}

const void* slotOf(const void* object, int slot) {
  const void* const* table;
  memcpy(&table, object, sizeof(table));
  return table[slot];
}

const void* tableOf(const void* object) {
  const void* table;
  memcpy(&table, object, sizeof(table));
  return table;
}

const void* codeAddress(ProcAddress address) {
  const void* code;
  memcpy(&code, &address, sizeof(code));
  return code;
}

void checkTexts(ModuleHandle dll) {
  ProcAddress nameExport = find(dll, "getPluginName");
  ProcAddress descriptionExport = find(dll, "getPluginDescription");
  ProcAddress authorExport = find(dll, "getAuthor");
  ProcAddress helpExport = find(dll, "getHelpFile");
  ProcAddress scriptExport = find(dll, "getGUIScript");
  check(nameExport && descriptionExport && authorExport && helpExport && scriptExport,
        "the five text exports are found by their plain names");
  if (!(nameExport && descriptionExport && authorExport && helpExport && scriptExport)) return;

  const char* name = as<TextExport>(nameExport)();
  check(name != nullptr && strcmp(name, kExpectedName) == 0, "getPluginName gives the name");

  const char* description = as<TextExport>(descriptionExport)();
  check(startsWith(description, kDescriptionStart),
        "getPluginDescription gives the list built while the DLL loaded");
  check(as<TextExport>(descriptionExport)() == description,
        "getPluginDescription gives the same text every time");

  const char* author = as<TextExport>(authorExport)();
  check(startsWith(author, "<i>") && endsWith(author, "</i>") && strlen(author) > 7,
        "getAuthor gives a credit in italics");

  check(helpExport == scriptExport, "getGUIScript is getHelpFile under a second name");
  const char* help = as<TextExport>(helpExport)();
  check(help != nullptr && help[0] == '\0', "getHelpFile gives an empty text");
}

void checkObjects(ModuleHandle dll) {
  ProcAddress createExport = find(dll, "createPlugin");
  ProcAddress executeMember = find(dll, "?execute@Facetkit@@UEAA_NXZ");
  ProcAddress initMember = find(dll, "?initPlugin@Facetkit@@UEAA_NXZ");
  check(createExport && executeMember && initMember, "createPlugin and the operations are found");
  if (!(createExport && executeMember && initMember)) return;

  HostViewOfPlugin* first = as<CreateExport>(createExport)();
  HostViewOfPlugin* second = as<CreateExport>(createExport)();
  check(first != nullptr && second != nullptr && first != second,
        "createPlugin gives a new object on every call");
  if (first == nullptr || second == nullptr) return;

  // Slot 0 is the destructor; the host calls execute in slot 1 and
  // initPlugin in slot 2.
  check(slotOf(first, 1) == codeAddress(executeMember), "execute is in the second slot");
  check(slotOf(first, 2) == codeAddress(initMember), "initPlugin is in the third slot");

  // This program is not the host, so neither operation finds it.
  check(!first->initPlugin(), "initPlugin refuses to run without the host");
  check(!second->execute(), "execute refuses to run without the host");

  // The exported constructors build the same objects as createPlugin.
  ProcAddress constructor = find(dll, "??0Facetkit@@QEAA@XZ");
  ProcAddress destructor = find(dll, "??1Facetkit@@UEAA@XZ");
  if (constructor && destructor) {
    alignas(16) unsigned char storage[64];
    void* self = as<ConstructorMember>(constructor)(storage);
    check(self == storage && tableOf(storage) == tableOf(first),
          "the exported Facetkit constructor builds a plug-in object in place");
    as<DestructorMember>(destructor)(storage);
  } else {
    check(false, "the Facetkit constructor and destructor are exported");
  }

  ProcAddress baseTable = find(dll, "??_7ZDVNPluginInterface@@6B@");
  ProcAddress baseConstructor = find(dll, "??0ZDVNPluginInterface@@QEAA@XZ");
  ProcAddress baseCopy = find(dll, "??0ZDVNPluginInterface@@QEAA@AEBV0@@Z");
  ProcAddress baseAssign = find(dll, "??4ZDVNPluginInterface@@QEAAAEAV0@AEBV0@@Z");
  ProcAddress baseDestructor = find(dll, "??1ZDVNPluginInterface@@UEAA@XZ");
  if (baseTable && baseConstructor && baseCopy && baseAssign && baseDestructor) {
    alignas(16) unsigned char original[64];
    alignas(16) unsigned char copy[64];
    as<ConstructorMember>(baseConstructor)(original);
    check(tableOf(original) == codeAddress(baseTable),
          "the interface constructor installs the exported table");
    void* copied = as<CopyMember>(baseCopy)(copy, original);
    check(copied == copy && tableOf(copy) == codeAddress(baseTable),
          "the interface copy constructor installs the exported table");
    void* assigned = as<CopyMember>(baseAssign)(copy, original);
    check(assigned == copy, "the interface copy assignment returns the object assigned to");
    as<DestructorMember>(baseDestructor)(copy);
    as<DestructorMember>(baseDestructor)(original);
  } else {
    check(false, "the members of ZDVNPluginInterface are exported");
  }

  // The host ends each object through the virtual destructor, which gives
  // the memory back to the DLL's own allocator; a wrong slot or allocator
  // ends this program here.
  delete first;
  delete second;
}

}  // namespace

int main(int argumentCount, char** arguments) {
  if (argumentCount != 2) {
    printf("usage: dll_load_check <path of Facetkit.dll>\n");
    return 2;
  }
  ModuleHandle dll = LoadLibraryA(arguments[1]);
  check(dll != nullptr, "the DLL loads");
  if (dll != nullptr) {
    checkTexts(dll);
    checkObjects(dll);
    check(FreeLibrary(dll) != 0, "the DLL unloads");
    check(GetModuleHandleA("Facetkit.dll") == nullptr, "no reference to the DLL is left");
  }
  return checks.finish();
}
