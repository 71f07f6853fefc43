#include "flash/heat_map.h"

#include <algorithm>

#include "flash/plot_canvas.h"

namespace flash {
namespace {

constexpr int zoom = 2;
constexpr int captionLines = 4, lineHeight = 20;
constexpr uint32_t warnColour = 0xFFC800, failColour = 0xE60000, outline = 0xFFFFFF, ink = 0x000000;

// The frame's pixel as a dimmed grey, so that the colours of the heat stand out.
uint32_t dimmedGrey(const uint8_t* bgra, int pixel) {
    const uint8_t* p = bgra + 4 * pixel;
    const int grey = (p[2] * 54 + p[1] * 183 + p[0] * 19) / 256 * 3 / 5;
    return static_cast<uint32_t>(grey * 0x010101);
}

uint32_t heatColour(uint32_t base, int changes) {
    if (changes > transitionLimit) return blend(base, failColour, std::min(190, 100 + 4 * changes));
    if (changes >= warningFrom) return blend(base, warnColour, 100);
    return base;
}

}  // namespace

HeatMap::HeatMap(FieldSize field)
    : field_(field), columns_(frameWidth - field.width + 1), rows_(frameHeight - field.height + 1) {}

void HeatMap::add(const uint8_t* bgra, const FlashAnalyser& analyser, const FrameFigures& figures, int scene) {
    if (scenes_.empty() || scenes_.back().scene != scene) {
        scenes_.push_back({scene, std::vector<uint16_t>(static_cast<size_t>(columns_) * rows_, 0), -1, 0, -1, -1, {}});
    }
    SceneHeat& heat = scenes_.back();
    const uint16_t* general = analyser.wcagFields(General).counts();
    const uint16_t* red = analyser.wcagFields(Red).counts();
    for (size_t f = 0; f < heat.fields.size(); ++f) heat.fields[f] = std::max({heat.fields[f], general[f], red[f]});
    if (figures.wcag.most() > heat.peak) {
        heat.peak = figures.wcag.most(), heat.peakFrame = frames_;
        heat.fieldX = figures.fieldX, heat.fieldY = figures.fieldY;
        heat.picture.assign(bgra, bgra + frameBytes);
    }
    ++frames_;
}

const HeatMap::SceneHeat& HeatMap::worstScene() const {
    const SceneHeat* worst = &scenes_.front();
    for (const SceneHeat& s : scenes_)
        if (s.peak > worst->peak) worst = &s;
    return *worst;
}

// For each pixel, the most changes of any field position that covers it:
// the largest over a field-sized window, across and then down.
std::vector<uint16_t> HeatMap::heatOfPixels(const SceneHeat& scene) const {
    std::vector<uint16_t> across(static_cast<size_t>(rows_) * frameWidth, 0), heat(framePixels, 0);
    for (int y = 0; y < rows_; ++y)
        for (int x = 0; x < frameWidth; ++x)
            for (int f = std::max(0, x - field_.width + 1); f <= std::min(x, columns_ - 1); ++f)
                across[y * frameWidth + x] = std::max(across[y * frameWidth + x], scene.fields[y * columns_ + f]);
    for (int y = 0; y < frameHeight; ++y)
        for (int x = 0; x < frameWidth; ++x)
            for (int f = std::max(0, y - field_.height + 1); f <= std::min(y, rows_ - 1); ++f)
                heat[y * frameWidth + x] = std::max(heat[y * frameWidth + x], across[f * frameWidth + x]);
    return heat;
}

bool HeatMap::write(const FlashRecord& record, const std::vector<std::string>& sceneNames, const std::string& file,
                    std::string& error) const {
    PlotCanvas canvas(frameWidth * zoom, frameHeight * zoom + captionLines * lineHeight + 10, 0xFFFFFF);
    if (scenes_.empty()) return canvas.write(file, error);
    const SceneHeat& scene = worstScene();
    const std::vector<uint16_t> heat = heatOfPixels(scene);
    for (int i = 0; i < framePixels; ++i)
        canvas.fill((i % frameWidth) * zoom, (i / frameWidth) * zoom, zoom, zoom, heatColour(dimmedGrey(scene.picture.data(), i), heat[i]));
    if (scene.fieldX >= 0) canvas.frame(scene.fieldX * zoom, scene.fieldY * zoom, field_.width * zoom, field_.height * zoom, outline);
    const std::string name = scene.scene >= 0 && scene.scene < static_cast<int>(sceneNames.size())
                                 ? "SCENE " + std::to_string(scene.scene) + " (" + sceneNames[static_cast<size_t>(scene.scene)] + ")"
                                 : std::string("THE STREAM");
    const std::string field = std::to_string(field_.width) + "X" + std::to_string(field_.height);
    const int y = frameHeight * zoom + 8;
    canvas.text(8, y, name + " AT " + frameTime(scene.peakFrame, record.fps), ink);
    canvas.text(8, y + lineHeight, "RED: " + field + " FIELDS OVER THE LIMIT (7 AND MORE", failColour);
    canvas.text(8, y + 2 * lineHeight, "TRANSITIONS A SECOND); YELLOW: 4 TO 6", 0xB08000);
    canvas.text(8, y + 3 * lineHeight, "FRAMED: THE WORST FIELD THEN, " + std::to_string(std::max(0, scene.peak)), ink);
    return canvas.write(file, error);
}

}  // namespace flash
