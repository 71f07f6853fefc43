#include "display/screen_scale.h"

#include <algorithm>

int32_t wholeScaleForDpi(uint32_t dpi) { return std::max<int32_t>(1, static_cast<int32_t>((dpi + 48) / 96)); }

Placement centredPlacement(int32_t width, int32_t height, int32_t cap) {
    Placement placement;
    placement.scale = std::max(0, std::min(width / screenWidth, height / screenHeight));
    if (cap > 0) placement.scale = std::min(placement.scale, cap);
    if (placement.scale == 0) return placement;
    placement.x = (width - placement.width()) / 2;
    placement.y = (height - placement.height()) / 2;
    return placement;
}
