#pragma once
#include <SDL.h>

#include <string>

#include "display/pixel_format.h"
#include "image/image.h"

// The show's screen on SDL2: one window with a 320x240 client area (or
// scaled by a whole factor), or the whole desktop with the picture scaled by
// the largest whole factor that fits and centred on black.
//
// present() converts the work image into a 320x240 streaming texture in the
// screen's own pixel format; flip() shows that texture. The two flags follow
// the window: `running` drops to 0 for good on Escape or closing, `active` is
// 0 while the window is minimised or hidden. flip() shows nothing while either
// is 0; present() converts regardless.
struct DisplaySettings {
    bool windowed = true;
    int scale = 1;  // window only; 0: the largest that fits the desktop (see fittingScale)
    bool vsync = false;
};

class SdlDisplay {
public:
    explicit SdlDisplay(const DisplaySettings& settings);
    ~SdlDisplay();
    SdlDisplay(const SdlDisplay&) = delete;
    SdlDisplay& operator=(const SdlDisplay&) = delete;

    bool isOpen() const { return texture != nullptr; }
    SDL_Window* sdlWindow() const { return window; }
    const std::string& failure() const { return failureText; }

    int present(const Image& image);  // always 1
    int flip();                       // always 1

    // The window's part of an event: Escape, closing, minimising, restoring.
    // Returns true when the event ends the program.
    bool handleEvent(const SDL_Event& event);

    // F: full screen (the desktop's size, no cursor) on and off; back in a
    // window it is the largest whole scale that fits, at (10, 10).
    void toggleFullScreen();

    // The rectangle the picture fills in an output of the given size.
    static SDL_Rect placement(int outputWidth, int outputHeight);

    // The largest whole window scale, 1 to 3, whose window fits the usable
    // desktop with room for its position and frame.
    static int fittingScale(int usableWidth, int usableHeight);

    // Whether presenting waits for the display's refresh, and the refresh
    // rate in Hz (60 when the display does not say).
    bool presentWaitsForRefresh() const;
    int refreshRate() const;

    bool windowed;
    bool running = false;
    bool active = false;
    PixelFormat format;

private:
    bool createWindow(const DisplaySettings& settings);
    bool createScreen(const DisplaySettings& settings);
    void releaseSurfaces();

    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    SDL_Cursor* arrow = nullptr;
    int windowScale = 0;  // the window's scale; 0: the largest that fits
    std::string failureText;
};

// The caption of the window.
extern const char* const windowCaption;
