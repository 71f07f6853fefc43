#include "image/pcx.h"

#include <cstdio>
#include <cstring>
#include <string>


namespace {

constexpr int headerSize = 128;
constexpr int blockSize = 1000;

// Hands out the pixel data byte by byte from blocks of 1000 bytes. Bytes past
// the end of the file read as 0.
class BlockReader {
public:
    explicit BlockReader(FILE* file) : file_(file) { fill(); }

    uint8_t next() {
        if (index_ == blockSize) fill();
        return buffer_[index_++];
    }

    // Every byte of the file has been handed out: all further bytes are 0.
    bool exhausted() const { return ended_ && index_ >= got_; }

private:
    void fill() {
        got_ = ended_ ? 0 : static_cast<int>(std::fread(buffer_, 1, blockSize, file_));
        if (got_ < blockSize) ended_ = true;
        std::memset(buffer_ + got_, 0, blockSize - got_);
        index_ = 0;
    }

    FILE* file_;
    uint8_t buffer_[blockSize];
    int index_ = 0;
    int got_ = 0;
    bool ended_ = false;
};

void decodePlaneRow(BlockReader& reader, uint8_t* row, int32_t width, int plane) {
    int32_t column = 0;
    while (column < width) {
        uint8_t byte = reader.next();
        int32_t runLength = 1;
        if (byte >= 192) {
            runLength = byte - 192;
            byte = reader.next();
        }
        // A run that reaches past the end of the plane row is cut there.
        int32_t end = column + runLength < width ? column + runLength : width;
        for (int32_t x = column; x < end; ++x) row[4 * x + plane] = byte;
        column += runLength;
    }
}

}  // namespace

std::unique_ptr<Image> loadPcx(const ShowContext& context, const char* fileName, int64_t largestBytes) {
    FILE* file = context.data.open(fileName, "rb");
    if (!file) return std::make_unique<Image>(0, 0);

    uint8_t header[headerSize] = {};
    size_t got = std::fread(header, 1, headerSize, file);
    (void)got;  // a short header reads as zeros
    int32_t width = header[12] | (header[13] << 8);
    int32_t height = header[14] | (header[15] << 8);
    if (static_cast<int64_t>(width) * height * 4 > largestBytes) {
        context.messages.warning(std::string(fileName) + ": picture of " + std::to_string(width) + "x" + std::to_string(height) +
                         " pixels is too large, not loaded");
        std::fclose(file);
        return std::make_unique<Image>(0, 0);
    }

    auto image = std::make_unique<Image>(width, height);
    std::fseek(file, headerSize, SEEK_SET);
    BlockReader reader(file);
    // Once the file's bytes are used up, the rest decodes as literal zeros onto
    // bytes that are still zero, so decoding stops there: a short file with a
    // large header costs no more than its own bytes.
    for (int32_t y = 0; y < height && image->count() > 0 && !reader.exhausted(); ++y) {
        uint8_t* row = image->pixels + 4 * static_cast<int64_t>(y) * width;
        for (int plane = 2; plane >= 0 && !reader.exhausted(); --plane) decodePlaneRow(reader, row, width, plane);
    }
    std::fclose(file);
    return image;
}
