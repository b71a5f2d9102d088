// The table of views and the drawing of several side by side.

#include "standin/pictures/picture_view.h"

#include <string.h>

#include "standin/mesh/surface_anatomy.h"

namespace standin {

namespace {

void fillBackground(Picture* picture) {
  size_t pixels = static_cast<size_t>(picture->width) * static_cast<size_t>(picture->height);
  for (size_t at = 0; at < pixels; ++at) memcpy(picture->pixels + at * 3, kPictureBackground, 3);
}

// A view as a camera (see Camera) for a left hemisphere. A right hemisphere
// is a left one mirrored in x, so its lateral side is seen as a left one's
// medial side is, and the other way round; the other views look the same
// for either. Anterior is to the left in a left hemisphere's lateral view
// and superior is up in every side view, as the field's tools show them;
// seen from above or below, anterior is up.
struct ViewRow {
  const char* name;
  // The view whose camera a right hemisphere takes; null for this one's.
  const char* forRightHemisphere;
  double right[3];
  double up[3];
  double towardViewer[3];
};

// Each row: the name, the view a right hemisphere takes, the picture's
// right, its up, and the side the viewer looks from.
constexpr ViewRow kViewRows[] = {
    {"lateral", "medial", {0, -1, 0}, {0, 0, 1}, {-1, 0, 0}},
    {"medial", "lateral", {0, 1, 0}, {0, 0, 1}, {1, 0, 0}},
    {"dorsal", nullptr, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
    {"ventral", nullptr, {-1, 0, 0}, {0, 1, 0}, {0, 0, -1}},
    {"anterior", nullptr, {-1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
    {"posterior", nullptr, {1, 0, 0}, {0, 0, 1}, {0, -1, 0}},
};
constexpr int kViewRowCount = static_cast<int>(sizeof(kViewRows) / sizeof(kViewRows[0]));

// Whether every row sees the mesh as it is, not mirrored: the picture's
// right times its up is the direction towards the viewer.
constexpr bool rowsKeepHandedness() {
  for (const ViewRow& row : kViewRows) {
    for (int axis = 0; axis < 3; ++axis) {
      int next = (axis + 1) % 3;
      int last = (axis + 2) % 3;
      if (row.right[next] * row.up[last] - row.right[last] * row.up[next] != row.towardViewer[axis])
        return false;
    }
  }
  return true;
}
static_assert(rowsKeepHandedness(), "a view of the table would show the mesh mirrored");
// The index that stands for the record's view, after the table's rows.
const uint8_t kRecordView = static_cast<uint8_t>(kViewRowCount);
const uint8_t kLateralView = 0;

// The index of the view `name` of `length` characters, or -1.
int findView(const char* name, size_t length) {
  if (length == strlen("record") && strncmp(name, "record", length) == 0) return kRecordView;
  for (int index = 0; index < kViewRowCount; ++index) {
    if (strlen(kViewRows[index].name) == length &&
        strncmp(kViewRows[index].name, name, length) == 0)
      return index;
  }
  return -1;
}

Camera viewCamera(uint8_t view, const HostSurface& surface) {
  if (view >= kRecordView) return recordCamera(surface);
  const ViewRow* row = &kViewRows[view];
  if (row->forRightHemisphere != nullptr && surfaceHemisphere(surface) == Hemisphere::kRight) {
    row = &kViewRows[findView(row->forRightHemisphere, strlen(row->forRightHemisphere))];
  }
  Camera camera;
  memcpy(camera.rows[0], row->right, sizeof(row->right));
  memcpy(camera.rows[1], row->up, sizeof(row->up));
  memcpy(camera.rows[2], row->towardViewer, sizeof(row->towardViewer));
  return camera;
}

}  // namespace

bool parseViewList(const char* text, ViewList* views) {
  *views = ViewList();
  while (true) {
    const char* end = strchr(text, ',');
    size_t length = end != nullptr ? static_cast<size_t>(end - text) : strlen(text);
    int view = findView(text, length);
    if (view < 0 || views->count == kMaxViews) {
      *views = ViewList();
      return false;
    }
    views->views[views->count++] = static_cast<uint8_t>(view);
    if (end == nullptr) return true;
    text = end + 1;
  }
}

ViewList viewsToDraw(const ViewList& asked, const HostSurface& surface) {
  if (asked.count > 0) return asked;
  ViewList chosen;
  chosen.count = 1;
  chosen.views[0] = surface.ownDisplayFields ? kLateralView : kRecordView;
  return chosen;
}

bool renderViews(const HostSurface& surface, const SurfaceShape& shape, const ViewList& views,
                 Picture* picture) {
  ViewList drawn = viewsToDraw(views, surface);
  if (drawn.count == 1) {
    return renderSurfaceFrom(surface, shape, viewCamera(drawn.views[0], surface), picture);
  }
  // Each view is drawn alone, then copied into its columns; columns left
  // over when the width does not divide show the background.
  fillBackground(picture);
  Picture part;
  if (!allocatePicture(&part, picture->width / drawn.count, picture->height)) return false;
  bool drawnAll = true;
  for (int32_t index = 0; index < drawn.count && drawnAll; ++index) {
    drawnAll = renderSurfaceFrom(surface, shape, viewCamera(drawn.views[index], surface), &part);
    size_t rowBytes = static_cast<size_t>(part.width) * 3;
    for (int32_t row = 0; row < part.height && drawnAll; ++row) {
      size_t to = (static_cast<size_t>(row) * static_cast<size_t>(picture->width) +
                   static_cast<size_t>(index) * static_cast<size_t>(part.width)) *
                  3;
      memcpy(picture->pixels + to, part.pixels + static_cast<size_t>(row) * rowBytes, rowBytes);
    }
  }
  releasePicture(&part);
  if (!drawnAll) fillBackground(picture);
  return drawnAll;
}

}  // namespace standin
