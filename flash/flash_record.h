#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "flash/flash_analyser.h"

// The analyser's figures for every frame of a stream at a fixed rate, with
// the scene each frame belongs to, and what is reported from them: each
// scene's and the whole stream's status under either reading.
namespace flash {

struct FlashRecord {
    int fps = 60;
    FieldSize field = wcagField;  // the WCAG reading's
    std::vector<FrameFigures> frames;
    std::vector<int> scenes;  // per frame; -1 where not known
    void add(const FrameFigures& figures, int scene) {
        frames.push_back(figures);
        scenes.push_back(scene);
    }
};

KindCounts countsOf(const FrameFigures& figures, Reading reading);
Status statusOf(const FrameFigures& figures, Reading reading);

// The most transitions of one kind in any second, and the frame that ends
// it (-1 when there was none).
struct Peak {
    int transitions = 0;
    int64_t frame = -1;
};

// What a run of frames gives under one reading.
struct Summary {
    Status status = Status::Pass;
    Peak general, red;
    uint32_t extendedMs = 0;  // the most flashing time within 5 s (the broadcast reading)
    int64_t firstFailing = -1, lastFailing = -1;  // frames
};

// Frames [first, end) under one reading.
Summary summarise(const FlashRecord& record, Reading reading, size_t first, size_t end);

// Each scene's frames, in order: {scene, first frame, end frame}.
struct SceneSpan {
    int scene;
    size_t first, end;
};
std::vector<SceneSpan> sceneSpans(const FlashRecord& record);

// "PASS", "PASS WITH WARNING", "FAIL"; "pass", "warning", "fail" as a word
// of the verdict file.
const char* statusName(Status status);
const char* statusWord(Status status);
const char* readingName(Reading reading);  // "wcag", "broadcast"

// "12.350": the seconds of frame k on the virtual clock, floor(k * 1000 / fps) ms.
std::string frameSeconds(int64_t frame, int fps);
// "12.350 s"
std::string frameTime(int64_t frame, int fps);

}  // namespace flash
