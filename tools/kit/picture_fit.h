#pragma once
#include "picture_reader.h"

// How a picture of another shape becomes 320x240: Crop fills the screen and
// cuts the excess from both sides of the longer dimension; Fit shows all of it,
// centred, with black bars.
enum class FitMode { Crop, Fit };

// The picture at the given size in `result`; a picture already of that size
// is copied unchanged, pixel for pixel. Scaling goes through libswscale; false
// when it cannot scale between these sizes.
bool fitPicture(const RgbPicture& picture, int width, int height, FitMode mode, RgbPicture& result);
