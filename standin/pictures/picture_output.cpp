#include "standin/pictures/picture_output.h"

#include <stdio.h>
#include <string.h>

#include "platform/make_folder.h"
#include "standin/base/growing_text.h"
#include "standin/base/trace.h"
#include "standin/pictures/png_file.h"
#include "standin/pictures/terminal_preview.h"

namespace standin {

namespace {

void pictureFailed(PictureOutput* output, const char* reason) {
  output->failed = true;
  fprintf(stderr, "Zandrovix.exe: %s\n", reason);
  traceHost("error: %s", reason);
}

// Draws `surface` into the output's picture, computing its shape first if
// this is the first picture.
bool draw(PictureOutput* output, const HostSurface& surface) {
  const PictureSettings& settings = output->settings;
  // Views times width stays within the largest side: the options check it.
  int32_t views = viewsToDraw(settings.views, surface).count;
  if (output->picture.pixels == nullptr &&
      !allocatePicture(&output->picture, settings.width * views, settings.height)) {
    pictureFailed(output, "no memory for a picture");
    return false;
  }
  if (!output->shapeReady) {
    if (!computeSurfaceShape(surface, &output->shape)) {
      pictureFailed(output, "no memory for a picture");
      return false;
    }
    output->shapeReady = true;
  }
  if (!renderViews(surface, output->shape, settings.views, &output->picture)) {
    pictureFailed(output, "no memory for a picture");
    return false;
  }
  return true;
}

bool writePicture(PictureOutput* output, const char* path) {
  GrowingText error;
  if (writePngFile(path, output->picture, &error)) return true;
  pictureFailed(output, error.text());
  return false;
}

}  // namespace

void showRedraw(PictureOutput* output, const HostSurface& surface) {
  if (output->redraws < INT32_MAX) ++output->redraws;
  const PictureSettings& settings = output->settings;
  if (settings.folder == nullptr && !settings.preview) return;
  if (!draw(output, surface)) return;
  if (settings.folder != nullptr) {
    if (output->redraws == 1) makeFolder(settings.folder);
    size_t length = strlen(settings.folder);
    bool separated =
        length > 0 && (settings.folder[length - 1] == '/' || settings.folder[length - 1] == '\\');
    GrowingText path;
    path.appendFormat("%s%sredraw-%04d.png", settings.folder, separated ? "" : "/",
                      output->redraws);
    writePicture(output, path.text());
  }
  if (settings.preview) {
    GrowingText preview;
    appendPicturePreview(output->picture, kPreviewColumns, &preview);
    fputs(preview.text(), stdout);
    fflush(stdout);
  }
}

bool writeSnapshot(PictureOutput* output, const HostSurface& surface) {
  if (output->settings.snapshotPath == nullptr) return true;
  return draw(output, surface) && writePicture(output, output->settings.snapshotPath);
}

void releasePictureOutput(PictureOutput* output) {
  releaseSurfaceShape(&output->shape);
  releasePicture(&output->picture);
  output->shapeReady = false;
}

}  // namespace standin
