#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "image/image.h"

// Writes frames as 8-bit RGB PNG pictures, scaled by a whole factor with
// nearest-neighbour sampling.
class PngFrameWriter {
public:
    PngFrameWriter(const std::string& directory, int scale);

    bool prepareDirectory(std::string& error);  // creates it when missing
    std::string framePath(int64_t frame) const;  // DIR/frame_00042.png
    // Writes one frame; a picture that fails half-way is removed.
    bool write(const Image& image, int64_t frame, std::string& error);
    // Writes one picture to `path`; `shownPath` names it in messages.
    bool writeFile(const Image& image, const std::string& path, const std::string& shownPath, std::string& error);
    // Writes one picture to `path`, removed again when it fails half-way.
    bool writePicture(const Image& image, const std::string& path, std::string& error);

private:

    std::string directory_;
    int scale_;
    std::vector<uint8_t> row_;  // one scaled RGB row
};
