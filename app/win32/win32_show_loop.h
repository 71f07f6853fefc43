#pragma once
#include "app/win32/win32_backend.h"
#include "demo/demo.h"

// The show's one loop on the one thread, until the quit message: waiting
// window messages come first, one per pass (the keys act inside them); when
// none waits, one frame, or while paused the held picture again. With
// `syncLog`, a line on standard error at every scene change, pause, resume
// and seek. Returns the quit message's code.
int runShow(Demo& demo, Win32Backend& backend, bool syncLog);
