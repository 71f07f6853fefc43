#include "display/sdl_display.h"

#include <cstring>

const char* const windowCaption = "vokdemo";

namespace {

// The converter's view of an SDL pixel format. Bit counts are whole bytes
// per pixel, as the converters store them: a 5-5-5 screen counts 16, an
// 8-8-8 screen padded to four bytes counts 32.
PixelFormat converterFormat(Uint32 sdlFormat) {
    int bits = 0;
    Uint32 red = 0, green = 0, blue = 0, alpha = 0;
    if (SDL_ISPIXELFORMAT_FOURCC(sdlFormat) || SDL_ISPIXELFORMAT_INDEXED(sdlFormat) ||
        !SDL_PixelFormatEnumToMasks(sdlFormat, &bits, &red, &green, &blue, &alpha)) {
        return PixelFormat{};
    }
    return makePixelFormat(SDL_BYTESPERPIXEL(sdlFormat) * 8, red, green, blue);
}

// Whether the renderer is OpenGL carried out in software (Mesa's llvmpipe,
// softpipe or swrast), judged from the OpenGL renderer's name.
bool isSoftwareOpenGl(SDL_Renderer* renderer) {
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer, &info) != 0 || std::strncmp(info.name, "opengl", 6) != 0) return false;
    using GetString = const unsigned char* (*)(unsigned int);
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned int glRenderer = 0x1F01;
    const char* name = getString ? reinterpret_cast<const char*>(getString(glRenderer)) : nullptr;
    if (!name) return false;
    return std::strstr(name, "llvmpipe") || std::strstr(name, "softpipe") || std::strstr(name, "swrast");
}

// Whether SDL's video driver shows anything. Without a reachable X server or
// Wayland display, SDL falls back to drivers that draw nowhere (offscreen,
// dummy); the show would then play its music to a screen nobody sees. Those
// are taken only when asked for by name.
bool showsOnScreen() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) return false;
    for (const char* invisible : {"offscreen", "dummy", "evdev"}) {
        if (std::strcmp(driver, invisible) != 0) continue;
        const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
        return asked && std::strstr(asked, invisible);
    }
    return true;
}

// 8-8-8 in four bytes: the full-screen format, and the fallback for screens
// the converters cannot write (palettized, or channels wider than 8 bits),
// which SDL then converts itself.
constexpr Uint32 format888 = SDL_PIXELFORMAT_RGB888;

}  // namespace

SdlDisplay::SdlDisplay(const DisplaySettings& settings) : windowed(settings.windowed) {
    if (!createWindow(settings) || !createScreen(settings)) {
        failureText = SDL_GetError();
        releaseSurfaces();
        return;
    }
    // Shown only once the renderer exists: making an OpenGL renderer may
    // replace the window underneath, which would otherwise flash.
    SDL_ShowWindow(window);
    // Showing the window makes it running and active, as a restored window is.
    running = true;
    active = (SDL_GetWindowFlags(window) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) == 0;
    if (!windowed) SDL_ShowCursor(SDL_DISABLE);
}

SdlDisplay::~SdlDisplay() { releaseSurfaces(); }

bool SdlDisplay::createWindow(const DisplaySettings& settings) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    if (!showsOnScreen()) {
        SDL_SetError("no display to show it on (is DISPLAY set?)");
        return false;
    }
    int scale = settings.scale;
    if (windowed && scale == 0) {
        SDL_Rect usable{};
        scale = SDL_GetDisplayUsableBounds(0, &usable) == 0 ? fittingScale(usable.w, usable.h) : 1;
    }
    if (scale < 1) scale = 1;
    windowScale = windowed ? scale : settings.scale;
    if (windowed) {
        window = SDL_CreateWindow(windowCaption, 10, 10, screenWidth * scale, screenHeight * scale, SDL_WINDOW_HIDDEN);
    } else {
        // Created at the desktop's size as well, so that the whole screen is
        // covered even where no window manager acts on the full-screen request.
        SDL_DisplayMode desktop{};
        if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) return false;
        window = SDL_CreateWindow(windowCaption, 0, 0, desktop.w, desktop.h,
                                  SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS | SDL_WINDOW_FULLSCREEN_DESKTOP);
    }
    if (!window) return false;
    arrow = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    if (arrow) SDL_SetCursor(arrow);
    return true;
}

bool SdlDisplay::createScreen(const DisplaySettings& settings) {
    const Uint32 vsyncFlag = settings.vsync ? SDL_RENDERER_PRESENTVSYNC : 0;
    renderer = SDL_CreateRenderer(window, -1, vsyncFlag);
    if (renderer && isSoftwareOpenGl(renderer)) {
        // OpenGL drawn by the processor (a virtual X server, no graphics
        // driver) costs several times what SDL's own software renderer does
        // for one 320x240 picture. The window surface then goes to the X
        // server directly, not through OpenGL either.
        SDL_DestroyRenderer(renderer);
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE | vsyncFlag);
    }
    if (!renderer) return false;
    Uint32 textureFormat = format888;
    if (windowed) {
        const Uint32 screenFormat = SDL_GetWindowPixelFormat(window);
        if (isConvertible(converterFormat(screenFormat))) textureFormat = screenFormat;
    }
    format = converterFormat(textureFormat);
    texture = SDL_CreateTexture(renderer, textureFormat, SDL_TEXTUREACCESS_STREAMING, screenWidth, screenHeight);
    if (!texture) return false;
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
    SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    return true;
}

void SdlDisplay::releaseSurfaces() {
    if (texture) SDL_DestroyTexture(texture);
    if (renderer) SDL_DestroyRenderer(renderer);
    if (window) SDL_DestroyWindow(window);
    if (arrow) SDL_FreeCursor(arrow);
    texture = nullptr;
    renderer = nullptr;
    window = nullptr;
    arrow = nullptr;
}

int SdlDisplay::present(const Image& image) {
    if (!texture) return 1;
    void* pixels = nullptr;
    int pitch = 0;
    // A failed lock leaves the texture as it was; the next flip shows it again.
    if (SDL_LockTexture(texture, nullptr, &pixels, &pitch) != 0) return 1;
    uint8_t* surface = static_cast<uint8_t*>(pixels);
    switch (converterBytes(format)) {
        case 4: present32(image, format, surface, pitch); break;
        case 3: present24(image, format, surface, pitch); break;
        default: present16(image, format, surface, pitch); break;
    }
    SDL_UnlockTexture(texture);
    return 1;
}

int SdlDisplay::flip() {
    if (!active || !running || !renderer) return 1;
    int width = 0, height = 0;
    if (SDL_GetRendererOutputSize(renderer, &width, &height) != 0) return 1;
    const SDL_Rect target = placement(width, height);
    // Black shows only around a picture that does not fill the output.
    if (target.w != width || target.h != height) SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, nullptr, &target);
    SDL_RenderPresent(renderer);
    return 1;
}

void SdlDisplay::toggleFullScreen() {
    if (!window) return;
    const bool full = (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0;
    if (!full) {
        // The desktop's size as well, as a full-screen start makes it, for
        // where no window manager acts on the request.
        SDL_DisplayMode desktop{};
        if (SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
            SDL_SetWindowBordered(window, SDL_FALSE);
            SDL_SetWindowPosition(window, 0, 0);
            SDL_SetWindowSize(window, desktop.w, desktop.h);
        }
        SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
        SDL_ShowCursor(SDL_DISABLE);
        return;
    }
    SDL_SetWindowFullscreen(window, 0);
    SDL_SetWindowBordered(window, SDL_TRUE);
    SDL_Rect usable{};
    int scale = windowScale;
    if (scale == 0) scale = SDL_GetDisplayUsableBounds(0, &usable) == 0 ? fittingScale(usable.w, usable.h) : 1;
    SDL_SetWindowSize(window, screenWidth * scale, screenHeight * scale);
    SDL_SetWindowPosition(window, 10, 10);
    SDL_ShowCursor(SDL_ENABLE);
}

SDL_Rect SdlDisplay::placement(int outputWidth, int outputHeight) {
    int factor = outputWidth / screenWidth < outputHeight / screenHeight ? outputWidth / screenWidth
                                                                          : outputHeight / screenHeight;
    if (factor < 1) factor = 1;
    const int width = screenWidth * factor, height = screenHeight * factor;
    return SDL_Rect{(outputWidth - width) / 2, (outputHeight - height) / 2, width, height};
}

int SdlDisplay::fittingScale(int usableWidth, int usableHeight) {
    // The window sits at (10, 10); a frame and a title bar take some more.
    constexpr int marginWidth = 20, marginHeight = 60, largest = 3;
    int scale = largest;
    while (scale > 1 && (screenWidth * scale + marginWidth > usableWidth || screenHeight * scale + marginHeight > usableHeight)) {
        --scale;
    }
    return scale;
}

bool SdlDisplay::presentWaitsForRefresh() const {
    SDL_RendererInfo info{};
    return renderer && SDL_GetRendererInfo(renderer, &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
}

int SdlDisplay::refreshRate() const {
    SDL_DisplayMode mode{};
    const int display = window ? SDL_GetWindowDisplayIndex(window) : 0;
    if (SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) != 0 || mode.refresh_rate <= 0) return 60;
    return mode.refresh_rate;
}

bool SdlDisplay::handleEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            running = false;
            releaseSurfaces();
            return true;
        case SDL_KEYDOWN:
            if (event.key.keysym.sym == SDLK_ESCAPE) {
                // Nothing is shown from the key press on; the close request
                // waits behind whatever events are already queued.
                running = false;
                SDL_Event quit{};
                quit.type = SDL_QUIT;
                SDL_PushEvent(&quit);
            }
            return false;
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_MINIMIZED:
                case SDL_WINDOWEVENT_HIDDEN:
                    active = false;
                    break;
                case SDL_WINDOWEVENT_RESTORED:
                case SDL_WINDOWEVENT_MAXIMIZED:
                case SDL_WINDOWEVENT_SHOWN:
                    active = true;
                    break;
                case SDL_WINDOWEVENT_CLOSE:
                    running = false;
                    break;
                default:
                    break;  // focus changes leave presentation as it is
            }
            return false;
        default:
            return false;
    }
}
