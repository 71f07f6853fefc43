#pragma once
#include <memory>

#include "shell/backend.h"
#include "common/show_context.h"
#include "demo/demo.h"

struct ShowStart {
    std::unique_ptr<Demo> demo;  // null when start-up failed
    int exitCode = 0;            // what the program ends with when it failed
};

// Start-up in the fixed order: initialise the music and load the module, open
// the display, make the Demo (its clock last: time zero is the end of
// loading), start the music, fill the angle tables. A show begun
// `startSeconds` in has its clock moved back by that much and its music
// started there. A mesh file that cannot be opened ends start-up with its
// message "ia pas le file NAME" and exit code 1, before the music starts; a
// display that cannot open ends it with exit code 1. The show reads its files,
// its clock and its key poll from `context`.
ShowStart startShow(Backend& backend, const ShowContext& context, double startSeconds = 0.0);

// One frame: tick the clock, render, present, flip. False once the show has
// taken its end step; that frame is still presented and flipped (it shows the
// previous picture again) and the program then ends its loop.
bool stepFrame(Demo& demo, Backend& backend);
// The frame step after the tick: render, present, flip.
bool showFrame(Demo& demo, Backend& backend);
