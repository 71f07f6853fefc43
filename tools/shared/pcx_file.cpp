#include "shared/pcx_writer.h"

#include "shared/replace_file.h"

bool writePcxFile(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb,
                  std::string& error) {
    if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF ||
        rgb.size() != static_cast<size_t>(width) * height * 3) {
        error = "bad picture size";
        return false;
    }
    const std::vector<uint8_t> bytes = encodePcx(width, height, rgb);
    return replaceFile(path, std::string(bytes.begin(), bytes.end()), error);
}
