#pragma once
#include <string>

#include "image/image.h"

// What a program supplies to run the show: its music, its screen and the
// output of each frame. The start-up order and the frame step are the same for
// every program and are written once (show_start.h); a backend overrides only
// what it has.
class Backend {
public:
    virtual ~Backend() = default;

    virtual void initialiseMusic() {}
    // Loads the module file at `path` (in the show's data folder).
    virtual void loadMusic(const std::string& path) { (void)path; }
    // Opens the window or screen. False when nothing can be shown: start-up
    // stops there, after the backend has said why.
    virtual bool openDisplay() { return true; }
    // Starts the music `startSeconds` into the module.
    virtual void playMusic(double startSeconds) { (void)startSeconds; }

    virtual void present(const Image& work) { (void)work; }
    virtual void flip() {}
};
