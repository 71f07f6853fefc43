#include <benchmark/benchmark.h>

#include <vector>

#include "display/pixel_format.h"
#include "image/image.h"

// One frame's conversion of the work image into the screen's format; it runs
// once per presented frame. Targets, against BM_FoundationMemcpy of the same
// 307,200 bytes: at most 2x for 32-bit 8-8-8, at most 4x for 24 and 16 bits.
namespace {

template <int (*Convert)(const Image&, const PixelFormat&, uint8_t*, int32_t), int BytesPerPixel>
void convertFrame(benchmark::State& state, const PixelFormat& format) {
    Image image;
    for (int32_t i = 0; i < image.count * 4; ++i) image.pixels[i] = uint8_t(i * 7);
    const int32_t pitch = screenWidth * BytesPerPixel;
    std::vector<uint8_t> surface(size_t(pitch) * screenHeight);
    for (auto _ : state) {
        Convert(image, format, surface.data(), pitch);
        benchmark::DoNotOptimize(surface.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * screenPixels);
}

void BM_Present32(benchmark::State& state) {
    convertFrame<present32, 4>(state, makePixelFormat(32, 0xFF0000, 0xFF00, 0xFF));
}
void BM_Present24(benchmark::State& state) {
    convertFrame<present24, 3>(state, makePixelFormat(24, 0xFF0000, 0xFF00, 0xFF));
}
void BM_Present16(benchmark::State& state) {
    convertFrame<present16, 2>(state, makePixelFormat(16, 0xF800, 0x07E0, 0x001F));
}

}  // namespace

BENCHMARK(BM_Present32);
BENCHMARK(BM_Present24);
BENCHMARK(BM_Present16);
