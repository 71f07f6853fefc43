#pragma once
#include <string>

#include "image/image.h"

// Lines of text in white 5x7 dots on a darkened box, from (x, y) of the
// image, one line under another ('\n' starts the next), clipped to the image:
// the overlay of the live players.
void drawTextBox(Image& image, int x, int y, const std::string& text);
