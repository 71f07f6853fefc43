#pragma once
#include "image/image.h"

// Loads a picture that an effect reads with rows of 320 pixels. A missing file
// or a picture of another size is replaced by a black 320x240 picture, with one
// warning line on standard error, so the effect never reads outside its pixels.
// The caller owns the result.
Image* loadScreenPicture(const char* fileName);
