#pragma once

// The plug-in's menu functions, one row each, in menu order: the menu, the
// description and the dispatch of a chosen number all read this one table.
// Adding a function is one row in function_catalogue.cpp plus its file in
// surface/.

#include <stdint.h>

#include "host/host_records.h"

// Identifies one menu function. The menu numbers its lines by position and
// the run takes the number entered as the id, so each row's id is its place
// in the table, from 1.
using FunctionId = int32_t;

// Runs a menu function on the host's current surface. The record is the
// plug-in's copy; the colour array it points to is the host's own.
using RunFunction = void (*)(const SurfaceRecord& surface);

struct MenuFunction {
  FunctionId id;
  // As the menu and the plug-in's description list it.
  const char* title;
  RunFunction run;
};

// The rows, with their count.
struct FunctionCatalogue {
  const MenuFunction* functions;
  int32_t count;
};

extern const FunctionCatalogue functionCatalogue;

// The row of `id`, or null when no function has that id.
const MenuFunction* findMenuFunction(FunctionId id);
