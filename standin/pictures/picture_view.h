#pragma once

// The views that --view names: the record's view, or a camera that looks at
// the surface as the field's plotting tools show a brain, from a side named
// in the surface's own coordinates (x to the subject's right, y anterior,
// z superior), whatever the record's rotation. Several views are drawn side
// by side in one picture.

#include <stdint.h>

#include "standin/mesh/host_surface.h"
#include "standin/pictures/surface_picture.h"

namespace standin {

// The most views one picture holds.
const int32_t kMaxViews = 8;

// Views in the order they are drawn, left to right, each an index into the
// table of views; none means the surface's default view.
struct ViewList {
  int32_t count = 0;
  uint8_t views[kMaxViews] = {};
};

// Reads "NAME[,NAME...]" into `views`, replacing what it held. Returns false
// for an unknown or empty name, or more than kMaxViews names.
bool parseViewList(const char* text, ViewList* views);

// The views to draw of `surface`: `asked` when it holds any, else its
// default: `lateral` for a surface with display fields of its own (a
// FreeSurfer or GIfTI file), the record's view for any other.
ViewList viewsToDraw(const ViewList& asked, const HostSurface& surface);

// Draws the `views` of `surface` side by side into `picture`, each
// picture->width / views.count pixels wide and as high as the picture (no
// views: the default view alone). As renderSurface, returns false with only
// the background drawn when memory runs out or `shape` does not fit.
bool renderViews(const HostSurface& surface, const SurfaceShape& shape, const ViewList& views,
                 Picture* picture);

}  // namespace standin
