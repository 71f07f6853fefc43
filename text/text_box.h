#pragma once
#include <string>

#include "image/image.h"

// Draws `text` in white 5x7 dots on a darkened box whose top left corner is
// (x, y), one line under another; what falls outside the image is left out.
void drawTextBox(Image& image, int x, int y, const std::string& text);
