#pragma once
#include <cstdint>
#include <functional>

#include "demo/demo.h"
#include "shell/show_control.h"

// --sync-log of the live players, on standard error: a line at every seek as
// it happens (the landing's scene, the time it landed on and the picture's
// time it was asked at) and at every pause and resume; while the show plays,
// at the first frame after a seek ("landed"), at every new beginning of a
// looping show ("loop") and at every change of scene ("scene"), each with
// the show's time, where in the music the listener is and how far the
// picture is ahead of the music.
class SyncLog {
public:
    // Where in the music the listener is, in milliseconds; negative when that
    // is not known, which the line then says with `musicNote`.
    using MusicPlace = std::function<double()>;

    SyncLog(bool on, MusicPlace heardMusicMs, const char* musicNote = "no music")
        : on_(on), heardMusicMs_(std::move(heardMusicMs)), musicNote_(musicNote) {}

    // After a key went to the show control (`wasPaused` and `seeksBefore`
    // as they were before it).
    void afterKey(const ShowControl& control, bool wasPaused, int seeksBefore) const;
    // After each frame the show control stepped.
    void afterFrame(const Demo& demo, const ShowControl& control);

private:
    void line(const char* what, int scene, uint32_t showMs) const;

    bool on_;
    MusicPlace heardMusicMs_;
    const char* musicNote_;
    int scene_ = -1;
    int seeks_ = 0;
    int loops_ = 0;
};
