#pragma once

// What a loaded surface says of the brain it shows: its hemisphere, and
// display fields made for its mesh when its file holds none.

#include "standin/mesh/host_surface.h"

namespace standin {

// Sets the display fields of a surface read from a file that holds none: as
// the sample's, but no rotation and the mesh centre at the centre of the box
// around the finite vertices (the origin for none); sets ownDisplayFields.
void setOwnDisplayFields(HostSurface* surface);

// The hemisphere that a GIfTI AnatomicalStructurePrimary value names:
// "CortexLeft" or "CortexRight"; kUnknown for null or any other value.
Hemisphere hemisphereOfStructure(const char* structure);

// The hemisphere that a FreeSurfer file's name gives: its last part (after
// the last '/' or '\') begins "lh." or "rh."; kUnknown otherwise.
Hemisphere hemisphereOfFreeSurferName(const char* path);

// The surface's hemisphere: the one its file names, else the side of its
// mean x coordinate (left below 0, right otherwise, as x grows to the right).
Hemisphere surfaceHemisphere(const HostSurface& surface);

}  // namespace standin
