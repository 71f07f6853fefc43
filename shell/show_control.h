#pragma once
#include <cstdint>

#include "demo/demo.h"
#include "shell/backend.h"

// What the viewer's keys do to a running show, the same in the live player
// and the browser page: pause and resume, seeks by 5 s, to the previous or
// next scene and to the beginning. Each program maps its own key events to a
// ShowKey and keeps the keys that touch only its screen (full screen, the
// screenshot, the overlay) to itself.
enum class ShowKey { None, Pause, Back, Forward, PreviousScene, NextScene, Beginning, FullScreen, Screenshot, Overlay };

// How the music follows the viewer: paused, and played again from a show
// time. A program without music keeps the defaults.
class MusicFollower {
public:
    virtual ~MusicFollower() = default;
    virtual void pause() {}
    // From now on the listener hears the music at `seconds` of the show.
    virtual void playFrom(double seconds) { (void)seconds; }
};

// A seek as it happened: the picture's show time when it was asked for and
// the time it landed on, so that what reports a seek (the sync log, the
// page) gives the event itself rather than a reading taken after it.
struct SeekLanding {
    uint32_t fromMs = 0;
    uint32_t toMs = 0;
};

class ShowControl {
public:
    static constexpr uint32_t stepMs = 5000;  // Left and Right

    ShowControl(Demo& demo, MusicFollower& music) : demo_(demo), music_(music) {}

    // Pause, the seeks and the beginning; the keys of the screen are not the
    // show's and do nothing here. Nothing here acts once the show has ended.
    void press(ShowKey key);

    // The pause holds the picture's time; resuming goes on from it, the
    // pause not counted in the next frame's delta.
    void togglePause();
    // Lands at `ms` of the show, clamped to 0 and its end (which ends the
    // show as usual): a fresh show state, the clock moved, the music
    // following. While paused the show stays paused at the new time.
    void seekTo(int64_t ms);

    // With the loop on, the show never takes its end step: the frame that
    // would take it begins the show again instead, as a seek to 0 does (a
    // fresh run, the music from its start), and shows its first picture.
    void setLoop(bool loop) { loop_ = loop; }
    int loops() const { return loops_; }  // how many times it began again

    // One frame of the live show: the shared frame step, looping as above.
    // False once the show has taken its end step.
    bool step(Backend& backend);

    bool paused() const { return paused_; }
    int seeks() const { return seeks_; }  // how many so far
    const SeekLanding& lastSeek() const { return lastSeek_; }
    // The show time of the picture on the screen, in milliseconds.
    uint32_t shownMs() const { return static_cast<uint32_t>(demo_.clock->lastElapsed); }

    // Whether the loop renders a frame now: always while playing; while
    // paused only the one frame a seek asks for, at the held time. Otherwise
    // the loop shows the held picture again.
    bool frameDue();

private:
    Demo& demo_;
    MusicFollower& music_;
    bool paused_ = false;
    bool seekPending_ = false;
    bool loop_ = false;
    int seeks_ = 0;
    int loops_ = 0;
    SeekLanding lastSeek_;
    uint32_t heldMs_ = 0;
};
