#pragma once

// Where the pictures of a session go: one numbered PNG file per redraw into
// a folder, one PNG file of the surface as the session left it, and a
// preview on the terminal per redraw. Each is asked for on the command line
// or, for the preview, by an interactive terminal; nothing is drawn or
// written that nobody asked for.

#include <stdint.h>

#include "standin/mesh/host_surface.h"
#include "standin/pictures/picture_view.h"
#include "standin/pictures/surface_picture.h"

namespace standin {

struct PictureSettings {
  // The folder for "redraw-0001.png", "redraw-0002.png" ...; null for none.
  // It is made at the first redraw if it does not exist (its parent must).
  const char* folder = nullptr;
  // The picture written at the end of the session; null for none.
  const char* snapshotPath = nullptr;
  // The size of each view; several views make a picture as many times wider.
  int32_t width = 800;
  int32_t height = 600;
  // The views drawn side by side; none for the surface's default view.
  ViewList views;
  // Print a preview to standard output on every redraw.
  bool preview = false;
};

struct PictureOutput {
  PictureSettings settings;
  // Computed at the first picture; the mesh does not change in a session.
  SurfaceShape shape;
  bool shapeReady = false;
  Picture picture;
  int32_t redraws = 0;
  // Set when a picture could not be drawn or written.
  bool failed = false;
};

// The host has redrawn its window: draws `surface` and writes the redraw's
// file and preview, if any is wanted. A failure is told on standard error
// and in the trace, and sets `failed`.
void showRedraw(PictureOutput* output, const HostSurface& surface);

// Writes the snapshot of `surface`, if one is wanted. Returns false, after
// telling why as showRedraw does, when it cannot be written.
bool writeSnapshot(PictureOutput* output, const HostSurface& surface);

// Gives back the memory of the shape and picture.
void releasePictureOutput(PictureOutput* output);

}  // namespace standin
