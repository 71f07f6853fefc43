#include "app/win32/win32_backend.h"

#include "app/win32/win32_music.h"

Win32Backend::Win32Backend(HINSTANCE instance, int showCommand, const Options& options, bool music)
    : instance_(instance),
      showCommand_(showCommand),
      windowed_(options.fullscreen ? 0 : 1),
      scale_(options.scale),
      music_(music) {
    if (options.gentle) gentle_ = std::make_unique<GentleScreen>();
}

void Win32Backend::initialiseMusic() {
    if (music_) music::init(44100, 32, 0);
}

void Win32Backend::loadMusic(const std::string& path) {
    if (music_) song_ = music::loadSong(path.c_str());
}

bool Win32Backend::openDisplay() {
    display_ = new Display(instance_, showCommand_, windowed_, scale_);
    return true;
}

void Win32Backend::playMusic(double startSeconds) {
    if (music_) music::playSong(song_, startSeconds);
}

void Win32Backend::present(const Image& work) {
    const Image& shown = keys != nullptr ? keys->picture(work) : work;
    display_->present(gentle_ ? gentle_->show(shown, GetTickCount()) : shown);
}

void Win32Backend::flip() { display_->flip(); }
void Win32Backend::pause() {
    if (music_) music::pause();
}

void Win32Backend::playFrom(double seconds) {
    if (music_) music::playFrom(seconds);
}
