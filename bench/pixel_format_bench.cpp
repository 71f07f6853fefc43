#include <benchmark/benchmark.h>

#include <vector>

#include "display/pixel_format.h"
#include "display/scaled_converter.h"
#include "image/image.h"

// One frame's conversion of the work image into the screen's format; it runs
// once per presented frame. Targets, against BM_FoundationMemcpy of the same
// 307,200 bytes: at most 2x for 32-bit 8-8-8, at most 4x for 24 and 16 bits.
namespace {

template <int (*Convert)(const Image&, const PixelFormat&, uint8_t*, int32_t), int BytesPerPixel>
void convertFrame(benchmark::State& state, const PixelFormat& format) {
    Image image;
    for (int32_t i = 0; i < image.count() * 4; ++i) image.pixels[i] = uint8_t(i * 7);
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

// The same frame by each code path, to compare the portable loop with the
// vector paths; formats as above.
void BM_PresentWith(benchmark::State& state, ConverterPath path, int bytesPerPixel) {
    if (!converterPathRuns(path)) {
        state.SkipWithError("this processor does not run the path");
        return;
    }
    const PixelFormat format = bytesPerPixel == 2 ? makePixelFormat(16, 0xF800, 0x07E0, 0x001F)
                                                  : makePixelFormat(8 * bytesPerPixel, 0xFF0000, 0xFF00, 0xFF);
    Image image;
    for (int32_t i = 0; i < image.count() * 4; ++i) image.pixels[i] = uint8_t(i * 7);
    const int32_t pitch = screenWidth * bytesPerPixel;
    std::vector<uint8_t> surface(size_t(pitch) * screenHeight);
    for (auto _ : state) {
        presentWith(path, bytesPerPixel, image, format, surface.data(), pitch);
        benchmark::DoNotOptimize(surface.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * screenPixels);
}

// The Windows program's full screen where the 320x240 mode is refused: the
// picture at x3 centred on a 1024x768 surface, bands and all.
void BM_ScaledConverter(benchmark::State& state, int bytesPerPixel) {
    const PixelFormat format = bytesPerPixel == 2 ? makePixelFormat(16, 0xF800, 0x07E0, 0x001F)
                                                  : makePixelFormat(8 * bytesPerPixel, 0xFF0000, 0xFF00, 0xFF);
    Image image;
    for (int32_t i = 0; i < image.count() * 4; ++i) image.pixels[i] = uint8_t(i * 7);
    const int32_t width = 1024, height = 768, pitch = width * bytesPerPixel;
    std::vector<uint8_t> surface(size_t(pitch) * height);
    ScaledConverter converter;
    const Placement placement = centredPlacement(width, height, 0);
    for (auto _ : state) {
        converter.convert(image, format, bytesPerPixel, surface.data(), pitch, width, height, placement);
        benchmark::DoNotOptimize(surface.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * width * height);
}

}  // namespace

BENCHMARK_CAPTURE(BM_ScaledConverter, x3_1024x768_32, 4);
BENCHMARK_CAPTURE(BM_ScaledConverter, x3_1024x768_16, 2);
BENCHMARK_CAPTURE(BM_PresentWith, portable_32, ConverterPath::Portable, 4);
BENCHMARK_CAPTURE(BM_PresentWith, portable_24, ConverterPath::Portable, 3);
BENCHMARK_CAPTURE(BM_PresentWith, portable_16, ConverterPath::Portable, 2);
#if defined(__SSE2__)
BENCHMARK_CAPTURE(BM_PresentWith, sse2_32, ConverterPath::Sse2, 4);
BENCHMARK_CAPTURE(BM_PresentWith, sse2_24, ConverterPath::Sse2, 3);
BENCHMARK_CAPTURE(BM_PresentWith, sse2_16, ConverterPath::Sse2, 2);
BENCHMARK_CAPTURE(BM_PresentWith, avx2_32, ConverterPath::Avx2, 4);
#endif
#if defined(__aarch64__)
BENCHMARK_CAPTURE(BM_PresentWith, neon_32, ConverterPath::Neon, 4);
BENCHMARK_CAPTURE(BM_PresentWith, neon_24, ConverterPath::Neon, 3);
BENCHMARK_CAPTURE(BM_PresentWith, neon_16, ConverterPath::Neon, 2);
#endif

BENCHMARK(BM_Present32);
BENCHMARK(BM_Present24);
BENCHMARK(BM_Present16);
