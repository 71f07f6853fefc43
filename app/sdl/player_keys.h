#pragma once
#include <SDL.h>

#include <cstdint>
#include <deque>

#include "app/sdl/sdl_music.h"
#include "shell/show_control.h"
#include "demo/demo.h"
#include "display/sdl_display.h"
#include "image/image.h"

// The show key of a key press: Space, Left, Right, Page Up or ',', Page Down
// or '.', Home, F, S, I. Held keys repeat only the seeks; a key with Ctrl,
// Alt or the system key is not the show's.
ShowKey showKeyFor(const SDL_KeyboardEvent& key);

// The live player's keys: the show's own go to the ShowControl; F toggles
// full screen, S writes the frame on the screen as a PNG picture into the
// working directory, I shows or hides the overlay.
class PlayerKeys {
public:
    PlayerKeys(Demo& demo, ShowControl& control, SdlMusic& music, SdlDisplay& display)
        : demo_(demo), control_(control), music_(music), display_(display) {}

    void handle(const SDL_Event& event);

    // Counts a rendered frame for the overlay's frame rate.
    void countFrame();

    // What the screen shows: the work image, with the overlay drawn over a
    // copy of it when the overlay is on (the show's own image is never touched).
    const Image& picture(const Image& work);

private:
    void screenshot();

    Demo& demo_;
    ShowControl& control_;
    SdlMusic& music_;
    SdlDisplay& display_;
    bool overlay_ = false;
    Image overlaid_;
    std::deque<Uint64> frameTimes_;  // the frames of the last second, performance counter
};
