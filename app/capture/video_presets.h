#pragma once
#include <cstring>

// The videos made for a purpose (--preset NAME): a frame of a set size that
// the show's picture, at a whole scale, sits in the middle of on black; H.264
// High in yuv420p at a set quality and AAC at 48,000 Hz, in MP4, at 60 fps
// unless --fps says otherwise.
struct VideoPreset {
    const char* name;
    const char* purpose;
    int width, height;  // the frame
    int scale;          // the picture's, unless --scale asks for a smaller one
    int crf;            // H.264 quality: lower is better
    int audioRate;      // AAC, made from the module's rate in one resampling
    int audioBitRate;
};

inline constexpr VideoPreset videoPresets[] = {
    {"party", "a party's big screen", 1920, 1080, 4, 18, 48000, 320000},
    {"youtube", "upload to a video site", 3840, 2160, 9, 20, 48000, 320000},
};

// The preset of that name, or none.
inline const VideoPreset* findVideoPreset(const char* name) {
    for (const VideoPreset& preset : videoPresets)
        if (std::strcmp(preset.name, name) == 0) return &preset;
    return nullptr;
}
