#pragma once
#include "app/win32/win32_backend.h"
#include "demo/demo.h"

// How the show runs: looping (--loop) and with the sync log (--sync-log).
struct ShowLoopSettings {
    bool loop = false;
    bool syncLog = false;
};

// The show's one loop on the one thread, until the quit message: waiting
// window messages come first, one per pass (the keys act inside them); when
// none waits, one frame, or while paused the held picture again. Returns the
// quit message's code.
int runShow(Demo& demo, Win32Backend& backend, const ShowLoopSettings& settings);
