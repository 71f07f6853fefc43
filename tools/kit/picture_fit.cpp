#include "picture_fit.h"

extern "C" {
#include <libswscale/swscale.h>
}

namespace {

struct Rect {
    int x, y, width, height;
};

// Scales the `from` part of the source onto the `to` part of the target.
bool scaleInto(const RgbPicture& source, Rect from, RgbPicture& target, Rect to) {
    SwsContext* context = sws_getContext(from.width, from.height, AV_PIX_FMT_RGB24, to.width, to.height,
                                         AV_PIX_FMT_RGB24, SWS_LANCZOS | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INT,
                                         nullptr, nullptr, nullptr);
    if (!context) return false;
    const uint8_t* sourcePlane[1] = {source.rgb.data() + (static_cast<size_t>(from.y) * source.width + from.x) * 3};
    const int sourceStride[1] = {source.width * 3};
    uint8_t* targetPlane[1] = {target.rgb.data() + (static_cast<size_t>(to.y) * target.width + to.x) * 3};
    const int targetStride[1] = {target.width * 3};
    sws_scale(context, sourcePlane, sourceStride, 0, from.height, targetPlane, targetStride);
    sws_freeContext(context);
    return true;
}

// The largest part of the source with the target's shape, centred.
Rect cropArea(const RgbPicture& source, int width, int height) {
    Rect area{0, 0, source.width, source.height};
    if (static_cast<int64_t>(source.width) * height > static_cast<int64_t>(source.height) * width) {
        area.width = static_cast<int>(static_cast<int64_t>(source.height) * width / height);
        area.x = (source.width - area.width) / 2;
    } else {
        area.height = static_cast<int>(static_cast<int64_t>(source.width) * height / width);
        area.y = (source.height - area.height) / 2;
    }
    if (area.width < 1) area.width = 1;
    if (area.height < 1) area.height = 1;
    return area;
}

// The largest rectangle of the source's shape inside the target, centred.
Rect fitArea(const RgbPicture& source, int width, int height) {
    Rect area{0, 0, width, height};
    if (static_cast<int64_t>(source.width) * height > static_cast<int64_t>(source.height) * width) {
        area.height = static_cast<int>(static_cast<int64_t>(source.height) * width / source.width);
        area.y = (height - area.height) / 2;
    } else {
        area.width = static_cast<int>(static_cast<int64_t>(source.width) * height / source.height);
        area.x = (width - area.width) / 2;
    }
    if (area.width < 1) area.width = 1;
    if (area.height < 1) area.height = 1;
    return area;
}

}  // namespace

bool fitPicture(const RgbPicture& picture, int width, int height, FitMode mode, RgbPicture& result) {
    if (picture.width == width && picture.height == height) {
        result = picture;
        return true;
    }
    result.width = width;
    result.height = height;
    result.rgb.assign(static_cast<size_t>(width) * height * 3, 0);
    if (mode == FitMode::Crop) return scaleInto(picture, cropArea(picture, width, height), result, Rect{0, 0, width, height});
    return scaleInto(picture, Rect{0, 0, picture.width, picture.height}, result, fitArea(picture, width, height));
}
