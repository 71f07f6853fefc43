#include "app/win32/win32_keys.h"

#include <cstdio>
#include <string>
#include <vector>

#include "app/win32/win32_music.h"
#include "app/win32/win32_screenshot.h"
#include "shell/show_info.h"
#include "text/text_box.h"

namespace {

bool repeats(ShowKey key) { return key == ShowKey::Back || key == ShowKey::Forward; }

ShowKey keyOf(WPARAM key) {
    switch (key) {
        case VK_SPACE: return ShowKey::Pause;
        case VK_LEFT: return ShowKey::Back;
        case VK_RIGHT: return ShowKey::Forward;
        case VK_PRIOR:
        case VK_OEM_COMMA: return ShowKey::PreviousScene;
        case VK_NEXT:
        case VK_OEM_PERIOD: return ShowKey::NextScene;
        case VK_HOME: return ShowKey::Beginning;
        case 'F': return ShowKey::FullScreen;
        case 'S': return ShowKey::Screenshot;
        case 'I': return ShowKey::Overlay;
        default: return ShowKey::None;
    }
}

std::string narrowed(const std::wstring& path) {
    const int length = WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string text(length > 0 ? length - 1 : 0, '\0');
    if (length > 1) WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, &text[0], length, nullptr, nullptr);
    return text;
}

}  // namespace

ShowKey showKeyForVirtualKey(WPARAM key, bool alt, bool repeat) {
    if (alt && key != VK_RETURN) return ShowKey::None;
    const ShowKey show = alt ? ShowKey::FullScreen : keyOf(key);
    return repeat && !repeats(show) ? ShowKey::None : show;
}

void WindowsKeys::handle(WPARAM key, bool alt, bool repeat) {
    switch (const ShowKey show = showKeyForVirtualKey(key, alt, repeat)) {
        case ShowKey::None: return;
        case ShowKey::FullScreen: display_.toggleFullScreen(); return;
        case ShowKey::Screenshot: takeScreenshot(); return;
        case ShowKey::Overlay: overlay_ = !overlay_; return;
        default: control_.press(show); return;
    }
}

void WindowsKeys::countFrame(uint32_t nowMs) {
    frameTimes_.push_back(nowMs);
    while (nowMs - frameTimes_.front() > 1000) frameTimes_.pop_front();
}

std::string WindowsKeys::overlay() const {
    const uint32_t now = GetTickCount();
    const bool recent = !frameTimes_.empty() && now - frameTimes_.back() <= 1000;
    const double fps = recent && !control_.paused() ? static_cast<double>(frameTimes_.size()) : 0.0;
    return overlayText(control_.shownMs(), demo_.state->lastScene, fps, music::heardMusicMs(), music::unheardNote());
}

const Image& WindowsKeys::picture(const Image& work) {
    if (!overlay_) return work;
    overlaid_.copyFrom(work);
    drawTextBox(overlaid_, 4, 4, overlay());
    return overlaid_;
}

// The frame on the screen, without the overlay.
void WindowsKeys::takeScreenshot() {
    const std::string name = screenshotName(control_.shownMs(), demo_.state->lastScene);
    std::string error;
    const std::wstring path = screenshot::save(demo_.state->workImage, name, {L"", screenshot::programFolder()}, error);
    if (path.empty()) {
        std::fprintf(stderr, "vokdemo: no screenshot: %s\n", error.c_str());
    } else {
        std::fprintf(stderr, "vokdemo: screenshot %s\n", narrowed(path).c_str());
    }
    std::fflush(stderr);
}
