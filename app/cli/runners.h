#pragma once
#include "app/cli/options.h"

// The jobs of the vokdemo executable; each returns the process exit code.
int runPlayer(const Options& options);    // the live show in a window or full screen
int runHeadless(const Options& options);  // --render: deterministic frames, no display
int runCapture(const Options& options);   // --capture, --png, --wav
int runVerify(const Options& options);    // --verify: the frames against the data set's table
