#include "app/sdl/player_keys.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "media/png_writer.h"
#include "shell/show_info.h"
#include "text/text_box.h"

namespace {

bool repeats(ShowKey key) { return key == ShowKey::Back || key == ShowKey::Forward; }

ShowKey keyOf(SDL_Keycode code) {
    switch (code) {
        case SDLK_SPACE: return ShowKey::Pause;
        case SDLK_LEFT: return ShowKey::Back;
        case SDLK_RIGHT: return ShowKey::Forward;
        case SDLK_PAGEUP:
        case SDLK_COMMA: return ShowKey::PreviousScene;
        case SDLK_PAGEDOWN:
        case SDLK_PERIOD: return ShowKey::NextScene;
        case SDLK_HOME: return ShowKey::Beginning;
        case SDLK_f: return ShowKey::FullScreen;
        case SDLK_s: return ShowKey::Screenshot;
        case SDLK_i: return ShowKey::Overlay;
        default: return ShowKey::None;
    }
}

}  // namespace

ShowKey showKeyFor(const SDL_KeyboardEvent& key) {
    if (key.keysym.mod & (KMOD_CTRL | KMOD_ALT | KMOD_GUI)) return ShowKey::None;
    const ShowKey show = keyOf(key.keysym.sym);
    return key.repeat && !repeats(show) ? ShowKey::None : show;
}

void PlayerKeys::handle(const SDL_Event& event) {
    if (event.type != SDL_KEYDOWN) return;
    switch (const ShowKey key = showKeyFor(event.key)) {
        case ShowKey::None: return;
        case ShowKey::FullScreen: display_.toggleFullScreen(); return;
        case ShowKey::Screenshot: screenshot(); return;
        case ShowKey::Overlay: overlay_ = !overlay_; return;
        default: control_.press(key); return;
    }
}

void PlayerKeys::countFrame() {
    const Uint64 now = SDL_GetPerformanceCounter();
    frameTimes_.push_back(now);
    while (now - frameTimes_.front() > SDL_GetPerformanceFrequency()) frameTimes_.pop_front();
}

const Image& PlayerKeys::picture(const Image& work) {
    if (!overlay_) return work;
    overlaid_.copyFrom(work);
    const Uint64 now = SDL_GetPerformanceCounter();
    const bool recent = !frameTimes_.empty() && now - frameTimes_.back() <= SDL_GetPerformanceFrequency();
    const double fps = recent && !control_.paused() ? static_cast<double>(frameTimes_.size()) : 0.0;
    drawTextBox(overlaid_, 4, 4, overlayText(control_.shownMs(), demo_.state->lastScene, fps, music_.heardMusicMs()));
    return overlaid_;
}

// The frame on the screen, without the overlay, beside the files already
// there: a name that is taken gets a number before ".png".
void PlayerKeys::screenshot() {
    const std::string name = screenshotName(control_.shownMs(), demo_.state->lastScene);
    std::string path = name;
    for (int n = 2; std::filesystem::exists(path); ++n) path = name.substr(0, name.size() - 4) + "-" + std::to_string(n) + ".png";
    std::string error;
    PngFrameWriter writer(".", 1);
    if (writer.writePicture(demo_.state->workImage, path, error)) {
        std::fprintf(stderr, "vokdemo: screenshot %s\n", path.c_str());
    } else {
        std::fprintf(stderr, "vokdemo: %s\n", error.c_str());
    }
}
