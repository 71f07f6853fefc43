#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "flash/flash_record.h"

namespace flash {

// Where the fields over the limit were: for every scene (or the stream),
// the most changes in a second each field made of the WCAG reading, and the
// frame that ends the scene's worst second. Drawn over that frame of the
// worst scene as a PNG picture, twice the frame's size, with a caption.
class HeatMap {
public:
    explicit HeatMap(FieldSize field);

    // Each frame as it was analysed, with the analyser that took it.
    void add(const uint8_t* bgra, const FlashAnalyser& analyser, const FrameFigures& figures, int scene);

    // sceneNames[k] names scene k. False with the reason in `error` when
    // the file cannot be written.
    bool write(const FlashRecord& record, const std::vector<std::string>& sceneNames, const std::string& file,
               std::string& error) const;

private:
    struct SceneHeat {
        int scene;
        std::vector<uint16_t> fields;  // the most changes of each field position
        int peak = -1;                 // the most of any field at one frame
        int64_t peakFrame = 0;
        int fieldX = -1, fieldY = -1;  // the worst field then
        std::vector<uint8_t> picture;  // that frame
    };
    const SceneHeat& worstScene() const;
    std::vector<uint16_t> heatOfPixels(const SceneHeat& scene) const;

    FieldSize field_;
    int columns_, rows_;
    std::vector<SceneHeat> scenes_;
    int64_t frames_ = 0;
};

}  // namespace flash
