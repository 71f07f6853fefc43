#include "flash/flash_record.h"

#include <cstdio>

namespace flash {

Peaks peaksOf(const FlashRecord& record, size_t first, size_t last) {
    Peaks peaks;
    for (size_t i = first; i < last && i < record.frames.size(); ++i) {
        const SecondFlashes& f = record.frames[i];
        if (f.general > peaks.general.flashes) peaks.general = {f.general, static_cast<int64_t>(i)};
        if (f.red > peaks.red.flashes) peaks.red = {f.red, static_cast<int64_t>(i)};
    }
    return peaks;
}

std::vector<SceneSpan> sceneSpans(const FlashRecord& record) {
    std::vector<SceneSpan> spans;
    for (size_t i = 0; i < record.scenes.size(); ++i) {
        if (spans.empty() || spans.back().scene != record.scenes[i]) spans.push_back({record.scenes[i], i, i});
        spans.back().end = i + 1;
    }
    return spans;
}

bool fails(const Peaks& peaks) { return peaks.general.flashes > flashLimit || peaks.red.flashes > flashLimit; }

std::string frameTime(int64_t frame, int fps) {
    const uint64_t ms = static_cast<uint64_t>(frame) * 1000u / static_cast<uint64_t>(fps);
    char text[32];
    std::snprintf(text, sizeof text, "%llu.%03llu s", static_cast<unsigned long long>(ms / 1000),
                  static_cast<unsigned long long>(ms % 1000));
    return text;
}

}  // namespace flash
