#include "effects/wave_warp.h"
void waveWarp(Image&, const Image&, float, float) {}  // placeholder until the effect lands
