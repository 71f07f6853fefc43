#include "display/pixel_format.h"
// placeholder until the converter lands
int lowestSetBit(uint32_t) { return 0; }
int bitLength(uint32_t) { return 0; }
PixelFormat makePixelFormat(uint32_t, uint32_t, uint32_t, uint32_t) { return {}; }
bool isConvertible(const PixelFormat&) { return false; }
int present32(const Image&, const PixelFormat&, uint8_t*, int32_t) { return 1; }
int present24(const Image&, const PixelFormat&, uint8_t*, int32_t) { return 1; }
int present16(const Image&, const PixelFormat&, uint8_t*, int32_t) { return 1; }
