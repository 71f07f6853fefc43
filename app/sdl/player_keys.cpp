#include "app/sdl/player_keys.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "media/png_writer.h"
#include "shell/show_info.h"
#include "text/font.h"

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

// The text in white 5x7 dots on a dark box, from (x, y), one line under another.
void drawText(Image& image, int x, int y, const std::string& text) {
    int lines = 1, longest = 0, column = 0;
    for (char c : text) {
        column = c == '\n' ? 0 : column + 1;
        lines += c == '\n';
        if (column > longest) longest = column;
    }
    const int right = std::min<int>(image.width, x + longest * glyphAdvance + 3);
    const int bottom = std::min<int>(image.height, y + lines * (glyphRows + 2) + 2);
    uint32_t* pixels = reinterpret_cast<uint32_t*>(image.pixels);
    for (int py = y; py < bottom; ++py)
        for (int px = x; px < right; ++px) pixels[py * image.width + px] = (pixels[py * image.width + px] >> 2) & 0x3F3F3F3Fu;
    int cx = x + 2, cy = y + 2;
    for (char c : text) {
        if (c == '\n') {
            cx = x + 2;
            cy += glyphRows + 2;
            continue;
        }
        for (int row = 0; row < glyphRows; ++row)
            for (int col = 0; col < glyphColumns; ++col)
                if (glyphDot(c, col, row) && cx + col < image.width && cy + row < image.height)
                    pixels[(cy + row) * image.width + cx + col] = 0xFFFFFFFFu;
        cx += glyphAdvance;
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
    drawText(overlaid_, 4, 4, overlayText(control_.shownMs(), demo_.lastScene, fps, music_.heardMusicMs()));
    return overlaid_;
}

// The frame on the screen, without the overlay, beside the files already
// there: a name that is taken gets a number before ".png".
void PlayerKeys::screenshot() {
    const std::string name = screenshotName(control_.shownMs(), demo_.lastScene);
    std::string path = name;
    for (int n = 2; std::filesystem::exists(path); ++n) path = name.substr(0, name.size() - 4) + "-" + std::to_string(n) + ".png";
    std::string error;
    PngFrameWriter writer(".", 1);
    if (writer.writePicture(*demo_.workImage, path, error)) {
        std::fprintf(stderr, "vokdemo: screenshot %s\n", path.c_str());
    } else {
        std::fprintf(stderr, "vokdemo: %s\n", error.c_str());
    }
}
