#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "flash/flash_analyser.h"

// The analyser's answer for every frame of a stream, with the scene each
// frame belongs to, and what is reported from it: the peaks of each scene
// and of the whole stream, and the verdict.
namespace flash {

struct FlashRecord {
    int fps = 60;
    std::vector<SecondFlashes> frames;  // the second ending with each frame
    std::vector<int> scenes;            // per frame; -1 where not known
    void add(const SecondFlashes& flashes, int scene) {
        frames.push_back(flashes);
        scenes.push_back(scene);
    }
};

// The most flashes of one kind in any second, and the frame that ends it
// (-1 when there was no flash at all).
struct Peak {
    int flashes = 0;
    int64_t frame = -1;
};

struct Peaks {
    Peak general, red;
};

// Peaks over frames [first, last).
Peaks peaksOf(const FlashRecord& record, size_t first, size_t last);

// Each scene's frames, in order: {scene, first frame, end frame}.
struct SceneSpan {
    int scene;
    size_t first, end;
};
std::vector<SceneSpan> sceneSpans(const FlashRecord& record);

bool fails(const Peaks& peaks);

// "12.350 s": the time of frame k on the virtual clock, floor(k * 1000 / fps) ms.
std::string frameTime(int64_t frame, int fps);

}  // namespace flash
