#include "standin/calls/save_dialog.h"

#include <string.h>

#include "platform/library_loader.h"

namespace standin {

namespace {

bool isSeparator(char character) {
  return character == '/' || character == '\\';
}

bool startsFromRoot(const char* name) {
  if (isSeparator(name[0])) return true;
  bool letter = (name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z');
  return letter && name[1] == ':';
}

}  // namespace

bool saveDialogFolder(const char* startPath, GrowingText* folder) {
  folder->clear();
  if (folderExists(startPath)) {
    folder->append(startPath);
    return true;
  }
  char current[4096];
  folder->append(currentFolder(current, sizeof(current)) ? current : ".");
  return false;
}

void placeInFolder(const char* folder, const char* name, GrowingText* path) {
  path->clear();
  const char* shown = name != nullptr ? name : "";
  if (!startsFromRoot(shown) && folder != nullptr && folder[0] != '\0') {
    path->append(folder);
    if (!isSeparator(folder[strlen(folder) - 1])) path->appendChar('/');
  }
  path->append(shown);
}

}  // namespace standin
