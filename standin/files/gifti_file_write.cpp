// Writing GIfTI surfaces through libgiftiio.

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "standin/files/gifti_library.h"
#include "standin/files/surface_file.h"
#include "standin/files/surface_formats.h"
#include "standin/mesh/shown_color.h"

namespace standin {

const bool kGiftiAvailable = true;

namespace {

const char* const kColorValuesName = "zandrovix colour values";
const char* const kViewerColorsName = "zandrovix viewer colours";

// Sets `array` to `intent` and `datatype` with `rows` x `columns` values
// (one dimension when `columns` is 0), row-major, compressed, in this
// machine's byte order, and gives it zeroed data.
bool shapeArray(giiDataArray* array, int intent, int datatype, int32_t rows, int columns,
                const char* name) {
  gifti_set_DA_defaults(array);
  array->intent = intent;
  array->datatype = datatype;
  int swapsize = 0;
  gifti_datatype_sizes(datatype, &array->nbyper, &swapsize);
  array->ind_ord = GIFTI_IND_ORD_ROW_MAJOR;
  array->num_dim = columns > 0 ? 2 : 1;
  array->dims[0] = rows;
  array->dims[1] = columns > 0 ? columns : 0;
  array->nvals = static_cast<long long>(rows) * (columns > 0 ? columns : 1);
  array->encoding = GIFTI_ENCODING_B64GZ;
  array->endian = gifti_get_this_endian();
  size_t bytes = static_cast<size_t>(array->nvals) * static_cast<size_t>(array->nbyper);
  array->data = calloc(bytes > 0 ? bytes : 1, 1);
  if (array->data == nullptr) return false;
  return name == nullptr || gifti_add_to_meta(&array->meta, "Name", name, 1) == 0;
}

bool buildImage(const HostSurface& surface, gifti_image* image) {
  if (gifti_add_empty_darray(image, 4) != 0) return false;
  giiDataArray** arrays = image->darray;
  int32_t vertices = surface.vertexCount;
  if (!shapeArray(arrays[0], NIFTI_INTENT_POINTSET, NIFTI_TYPE_FLOAT32, vertices, 3, nullptr) ||
      !shapeArray(arrays[1], NIFTI_INTENT_TRIANGLE, NIFTI_TYPE_INT32, surface.triangleCount, 3,
                  nullptr) ||
      !shapeArray(arrays[2], NIFTI_INTENT_NONE, NIFTI_TYPE_INT32, vertices, 0, kColorValuesName) ||
      !shapeArray(arrays[3], NIFTI_INTENT_RGBA_VECTOR, NIFTI_TYPE_UINT8, vertices, 4,
                  kViewerColorsName)) {
    return false;
  }
  size_t count = static_cast<size_t>(vertices);
  memcpy(arrays[0]->data, surface.positions, count * 3 * sizeof(float));
  memcpy(arrays[1]->data, surface.triangles,
         static_cast<size_t>(surface.triangleCount) * 3 * sizeof(int32_t));
  memcpy(arrays[2]->data, surface.colors, count * sizeof(int32_t));
  // What viewers show: each vertex as it is shown in pictures, opaque.
  SurfaceShape shape;
  if (!computeSurfaceShape(surface, &shape)) return false;
  unsigned char* rgba = static_cast<unsigned char*>(arrays[3]->data);
  for (int32_t vertex = 0; vertex < vertices; ++vertex) {
    unsigned char* color = rgba + static_cast<size_t>(vertex) * 4;
    shownVertexColor(surface, shape, vertex, color);
    color[3] = 255;
  }
  releaseSurfaceShape(&shape);
  for (int index = 0; index < kSurfaceFieldCount; ++index) {
    const SurfaceField& field = kSurfaceFields[index];
    GrowingText name;
    GrowingText value;
    name.appendFormat("%s%s", kGiftiFieldPrefix, field.name);
    appendSurfaceFieldValues(&value, surface, field);
    // The values each follow a blank; the first blank is not kept.
    if (gifti_add_to_meta(&image->meta, name.text(), value.text() + 1, 1) != 0) return false;
  }
  return true;
}

// Whether the GIfTI text ends with its root element's end tag, as a whole
// file does.
bool endsWithRoot(const GrowingText& contents) {
  static const char kEnd[] = "</GIFTI>";
  size_t end = contents.length();
  while (end > 0 && (contents.text()[end - 1] == '\n' || contents.text()[end - 1] == '\r' ||
                     contents.text()[end - 1] == ' '))
    --end;
  return end >= sizeof(kEnd) - 1 &&
         memcmp(contents.text() + end - (sizeof(kEnd) - 1), kEnd, sizeof(kEnd) - 1) == 0;
}

}  // namespace

bool saveSurfaceGifti(const HostSurface& surface, const char* path, GrowingText* error) {
  GiftiImage image;
  bool built = false;
  {
    QuietStandardError quiet;
    image.image = gifti_create_image(0, NIFTI_INTENT_NONE, NIFTI_TYPE_FLOAT32, 0, nullptr, 0);
    built = image.image != nullptr && buildImage(surface, image.image);
  }
  if (!built) {
    error->appendFormat("cannot write \"%s\": out of memory", path);
    return false;
  }
  // libgiftiio does not check its own writes, so it writes to a temporary
  // file, and the file is written out from there with every write checked.
  TemporaryFile staged;
  GrowingText contents;
  int failed = 1;
  if (staged.write(contents)) {
    QuietStandardError quiet;
    failed = gifti_write_image(image.image, staged.path(), 1);
  }
  if (failed != 0 || !readFile(staged.path(), &contents) || !endsWithRoot(contents)) {
    error->appendFormat("cannot write \"%s\": libgiftiio could not write the file", path);
    return false;
  }
  return writeWholeFile(path, contents, error);
}

}  // namespace standin
