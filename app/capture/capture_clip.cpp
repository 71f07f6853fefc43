#include "app/capture/capture_clip.h"

#include <cmath>
#include <cstdio>

#include "shell/show_run.h"
#include "demo/scenes.h"

namespace {

// Frames and times of the capture meet at k / fps; a time given in decimal
// seconds that lands within this of a frame's start is taken as that start.
constexpr double frameSlack = 1e-6;

// The first and last frames of `scene` at `fps`.
Clip sceneClip(int scene, int fps) {
    Clip clip{fps, 0, 0};
    while (headless::frameScene(clip.first, fps) < scene) ++clip.first;
    clip.last = clip.first;
    while (headless::frameScene(clip.last + 1, fps) == scene) ++clip.last;
    return clip;
}

std::string seconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

}  // namespace

bool chooseClip(const Options& options, int fps, Clip& clip, std::string& error) {
    const int64_t showFrames = headless::expectedFrameCount(fps);
    if (options.scene >= 0) {
        if (options.hasFrom || options.hasTo) {
            error = "--scene chooses the frames itself; give it without --from and --to";
            return false;
        }
        clip = sceneClip(options.scene, fps);
        return true;
    }
    clip = Clip{fps, 0, showFrames - 1};
    const double showSeconds = static_cast<double>(showFrames) / fps;
    if (options.hasFrom && options.fromSeconds >= showSeconds) {
        error = "--from " + seconds(options.fromSeconds) + " is past the end of the show (" + seconds(showSeconds) +
                " s)";
        return false;
    }
    if (options.hasTo && options.toSeconds > showSeconds + frameSlack) {
        error = "--to " + seconds(options.toSeconds) + " is past the end of the show (" + seconds(showSeconds) +
                " s)";
        return false;
    }
    const double from = options.hasFrom ? options.fromSeconds : 0.0;
    if (options.hasTo && from >= options.toSeconds) {
        error = "--from " + seconds(from) + " is not before --to " + seconds(options.toSeconds);
        return false;
    }
    if (options.hasFrom) clip.first = static_cast<int64_t>(std::floor(options.fromSeconds * fps + frameSlack));
    if (options.hasTo) clip.last = static_cast<int64_t>(std::ceil(options.toSeconds * fps - frameSlack)) - 1;
    if (clip.last < clip.first) clip.last = clip.first;  // --from and --to within one frame
    if (clip.last >= showFrames) clip.last = showFrames - 1;
    return true;
}

int64_t posterFrame(const Options& options, const Clip& clip) {
    if (options.hasFrom || options.scene >= 0) return clip.first;
    const Clip title = sceneClip(0, clip.fps);
    return (title.first + title.last + 1) / 2;
}

std::vector<Chapter> clipChapters(const Clip& clip) {
    std::vector<Chapter> chapters;
    int shown = -1;
    for (int64_t frame = clip.first; frame <= clip.last; ++frame) {
        const int scene = headless::frameScene(frame, clip.fps);
        if (scene != shown) chapters.push_back({sceneName(scene), frame - clip.first, 0});
        shown = scene;
        chapters.back().end = frame - clip.first + 1;
    }
    return chapters;
}
