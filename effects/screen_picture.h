#pragma once
#include <memory>

#include "common/show_context.h"
#include "image/image.h"

// Loads a picture that an effect reads with rows of 320 pixels. A missing file
// or a picture of another size is replaced by a black 320x240 picture, with one
// warning to the context's messages, so the effect never reads outside its pixels.
std::unique_ptr<Image> loadScreenPicture(const ShowContext& context, const char* fileName);

// Says why a loaded picture cannot be used: "missing picture: NAME" only when
// the file cannot be opened; a file that opens is named with the size it reads
// as, `needed` (such as ", not 320x240") and a pointer to the kit's check,
// which tells what in the file gives that size.
void warnUnusablePicture(const ShowContext& context, const char* fileName, const Image& picture,
                         const std::string& needed);
