#pragma once
#include <memory>

#include "common/messages.h"
#include "image/image.h"

// Loads a picture that an effect reads with rows of 320 pixels. A missing file
// or a picture of another size is replaced by a black 320x240 picture, with one
// warning to `messages`, so the effect never reads outside its pixels.
std::unique_ptr<Image> loadScreenPicture(const char* fileName, MessageSink& messages);
