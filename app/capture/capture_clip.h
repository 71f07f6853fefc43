#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "app/cli/options.h"

// The part of the show a capture writes: frames `first` to `last` of the
// whole show at `fps`, both included. The show is always rendered from its
// start, so a clip's frames are those of the whole capture, and its music
// starts at the sample of its first frame.
struct Clip {
    int fps = 0;
    int64_t first = 0;
    int64_t last = 0;

    int64_t frames() const { return last - first + 1; }
    bool contains(int64_t frame) const { return frame >= first && frame <= last; }
};

// The clip that --from, --to or --scene ask for, or the whole show. --from
// takes the frame on screen at that time; --to ends before the frame shown
// at that time. False with a one-line message when the times are out of
// the show or out of order.
bool chooseClip(const Options& options, int fps, Clip& clip, std::string& error);

// The frame of the poster: the clip's first frame when a part of the show is
// asked for, otherwise the frame in the middle of the title scene.
int64_t posterFrame(const Options& options, const Clip& clip);

// One chapter of a video: a scene, in frames from the start of the clip.
struct Chapter {
    std::string title;
    int64_t start = 0;
    int64_t end = 0;  // the start of the next one, or the end of the clip
};

// A chapter for every scene the clip shows, named from the scene table and
// starting at the scene's first frame (or at the clip's start).
std::vector<Chapter> clipChapters(const Clip& clip);
