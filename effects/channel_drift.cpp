#include "effects/channel_drift.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "common/random.h"
#include "effects/screen_picture.h"
#include "image/pcx.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// trunc(offset) toward zero. Offsets a whole screen or more away (and NaN)
// all become one far value, so that channel reaches no canvas pixel.
int32_t pixelShift(float offset) {
    constexpr float far = 100000.0f;
    if (!(offset > -far && offset < far)) return static_cast<int32_t>(far);
    return static_cast<int32_t>(offset);
}

constexpr uint32_t colourBytes = 0x00FFFFFF;

uint32_t channelBytes(int k) { return 0xFFu << (8 * k); }

// The bytes of n consecutive pixels that `bytes` selects (0xFF at their places
// in the pixel word), from source to destination.
void copyBytesRun(uint8_t* destination, const uint8_t* source, int64_t n, uint32_t bytes) {
    int64_t i = 0;
#if defined(__SSE2__)
    const __m128i keep = _mm_set1_epi32(static_cast<int32_t>(bytes));
    for (; i + 4 <= n; i += 4) {
        __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 4 * i));
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(destination + 4 * i));
        __m128i merged = _mm_or_si128(_mm_and_si128(keep, s), _mm_andnot_si128(keep, d));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + 4 * i), merged);
    }
#endif
    for (int64_t byte = 4 * i; byte < 4 * n; ++byte) {
        if (bytes & channelBytes(static_cast<int>(byte & 3))) destination[byte] = source[byte];
    }
}

// Byte k of every picture pixel (x, y) goes to canvas pixel (x + dx, y + dy)
// where that lies on the canvas; both are 320x240.
void drawChannel(Image& canvas, const Image& picture, int32_t dx, int32_t dy, int k) {
    int32_t x0 = std::max(0, -dx), x1 = std::min(screenWidth, screenWidth - dx);
    int32_t y0 = std::max(0, -dy), y1 = std::min(screenHeight, screenHeight - dy);
    for (int32_t y = y0; y < y1; ++y) {
        const uint8_t* from = picture.pixels + 4 * (static_cast<int64_t>(y) * screenWidth + x0);
        uint8_t* to = canvas.pixels + 4 * (static_cast<int64_t>(y + dy) * screenWidth + x0 + dx);
        copyBytesRun(to, from, x1 - x0, channelBytes(k));
    }
}

// One step of a walk: offset += (k - subtrahend) * 0.1f, in double, stored as float.
void step(Random& prng, float& offset, int subtrahend) {
    int k = prng.rand() % 30;
    offset = static_cast<float>(offset + (k - subtrahend) * static_cast<double>(0.1f));
}

}  // namespace

ChannelDrift::ChannelDrift(const char* pictureName, const char* secondName, Random& prng, const ShowContext& context)
    : picture(loadScreenPicture(context, pictureName)),
      extraPicture(loadPcx(context, secondName)),  // never drawn, so any size will do
      canvas(std::make_unique<Image>()),
      prng_(prng) {
    prng_.srand(123);
}

void ChannelDrift::render(Image& target) {
    if (picture->isScreenSized() && picture->pixels) {
        drawChannel(*canvas, *picture, pixelShift(redX), pixelShift(redY), 2);
        drawChannel(*canvas, *picture, pixelShift(greenX), pixelShift(greenY), 1);
        drawChannel(*canvas, *picture, pixelShift(blueX), pixelShift(blueY), 0);
    }
    if (target.isScreenSized() && target.pixels) {
        copyBytesRun(target.pixels, canvas->pixels, screenPixels, colourBytes);
    }
    if (redX < 500) {
        step(prng_, redX, 14);
        step(prng_, redY, 15);
        step(prng_, greenX, 14);
        step(prng_, greenY, 16);
        step(prng_, blueX, 15);
        step(prng_, blueY, 14);
    }
}
