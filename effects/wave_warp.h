#pragma once
#include "image/image.h"

// Fills the 320x240 `target` with `source` bent by two travelling cosine waves.
void waveWarp(Image& target, const Image& source, float seconds, float amplitude);
