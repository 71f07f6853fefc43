// The picture reader on arbitrary bytes: it must return an image whatever the
// file holds, and neither read outside its buffer nor write outside the image.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "image/pcx.h"
#include "memory_file.h"

namespace {

// 64 KiB of pixels (a 128x128 picture) is enough to reach every path of the
// decoder; a larger header would only spend the fuzzer's time clearing memory.
constexpr int64_t largestFuzzedPicture = 64 * 1024;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static MemoryFile file;
    static DiscardMessages messages;
    file.write(data, size);
    std::unique_ptr<Image> image = loadPcx(ShowContext(messages), file.path(), largestFuzzedPicture);
    // The image must describe its own pixel array exactly.
    int64_t pixels = static_cast<int64_t>(image->width) * image->height;
    if (image->count() != pixels || (pixels > 0) != (image->pixels != nullptr)) std::abort();
    if (pixels > 0) {
        volatile uint8_t last = image->pixels[pixels * 4 - 1];  // the whole array is there
        (void)last;
    }
    return 0;
}
