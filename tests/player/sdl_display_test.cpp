#include <gtest/gtest.h>

#include <SDL.h>

#include <cstring>

#include "display/sdl_display.h"
#include "image/image.h"

// The display's window half and presentation, on SDL's headless video
// driver (the suite sets SDL_VIDEODRIVER=dummy): what shows after flip() is
// read back from the window's own surface.
namespace {

void fill(Image& image, uint8_t r, uint8_t g, uint8_t b) {
    for (int32_t i = 0; i < image.count(); ++i) {
        image.pixels[4 * i] = b;
        image.pixels[4 * i + 1] = g;
        image.pixels[4 * i + 2] = r;
    }
}

SDL_Event windowEvent(Uint8 what) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = what;
    return event;
}

SDL_Event keyDown(SDL_Keycode key) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = key;
    return event;
}

bool quitWaits() {
    SDL_PumpEvents();
    return SDL_PeepEvents(nullptr, 1, SDL_PEEKEVENT, SDL_QUIT, SDL_QUIT) > 0;
}

class SdlDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS), 0) << SDL_GetError();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    void TearDown() override { SDL_Quit(); }

    // The colour at the centre of the window as last shown.
    static Uint32 shownCentre(SDL_Window* window) {
        SDL_Surface* surface = SDL_GetWindowSurface(window);
        if (!surface) return 0xDEADBEEF;
        SDL_LockSurface(surface);
        const int x = surface->w / 2, y = surface->h / 2;
        Uint32 pixel = 0;
        std::memcpy(&pixel, static_cast<uint8_t*>(surface->pixels) + y * surface->pitch + x * surface->format->BytesPerPixel,
                    surface->format->BytesPerPixel);
        Uint8 r = 0, g = 0, b = 0;
        SDL_GetRGB(pixel, surface->format, &r, &g, &b);
        SDL_UnlockSurface(surface);
        return (Uint32(r) << 16) | (Uint32(g) << 8) | b;
    }
};

TEST(SdlDisplayPlacement, LargestWholeFactorCentred) {
    auto expect = [](int w, int h, int x, int y, int pw, int ph) {
        const SDL_Rect r = SdlDisplay::placement(w, h);
        EXPECT_EQ(r.x, x) << w << "x" << h;
        EXPECT_EQ(r.y, y) << w << "x" << h;
        EXPECT_EQ(r.w, pw) << w << "x" << h;
        EXPECT_EQ(r.h, ph) << w << "x" << h;
    };
    expect(320, 240, 0, 0, 320, 240);
    expect(640, 480, 0, 0, 640, 480);
    expect(1024, 768, 32, 24, 960, 720);
    expect(1920, 1080, 320, 60, 1280, 960);  // the height decides
    expect(639, 479, 159, 119, 320, 240);    // just short of twice
    expect(200, 100, -60, -70, 320, 240);    // never below 1: the middle shows
}

TEST_F(SdlDisplayTest, WindowOpensRunningAndActiveAtTheClientSize) {
    SdlDisplay display(DisplaySettings{});
    ASSERT_TRUE(display.isOpen()) << display.failure();
    EXPECT_TRUE(display.running);
    EXPECT_TRUE(display.active);
    int w = 0, h = 0;
    SDL_GetWindowSize(display.sdlWindow(), &w, &h);
    EXPECT_EQ(w, 320);
    EXPECT_EQ(h, 240);
    EXPECT_STREQ(SDL_GetWindowTitle(display.sdlWindow()), windowCaption);
    EXPECT_EQ(SDL_GetWindowFlags(display.sdlWindow()) & SDL_WINDOW_RESIZABLE, 0u);
    EXPECT_TRUE(isConvertible(display.format));
}

TEST_F(SdlDisplayTest, ScaledWindow) {
    DisplaySettings settings;
    settings.scale = 3;
    SdlDisplay display(settings);
    ASSERT_TRUE(display.isOpen()) << display.failure();
    int w = 0, h = 0;
    SDL_GetWindowSize(display.sdlWindow(), &w, &h);
    EXPECT_EQ(w, 960);
    EXPECT_EQ(h, 720);
}

TEST_F(SdlDisplayTest, PresentAndFlipShowTheImage) {
    SdlDisplay display(DisplaySettings{});
    ASSERT_TRUE(display.isOpen()) << display.failure();
    Image image;
    fill(image, 0xFF, 0x80, 0x10);
    EXPECT_EQ(display.present(image), 1);
    EXPECT_EQ(display.flip(), 1);
    EXPECT_EQ(shownCentre(display.sdlWindow()), 0xFF8010u);
}

// Minimised, frames are still converted but not shown; restoring shows the
// latest one.
TEST_F(SdlDisplayTest, MinimisedConvertsButShowsNothingUntilRestored) {
    SdlDisplay display(DisplaySettings{});
    ASSERT_TRUE(display.isOpen()) << display.failure();
    Image image;
    fill(image, 0xFF, 0xFF, 0xFF);
    display.present(image);
    display.flip();

    EXPECT_FALSE(display.handleEvent(windowEvent(SDL_WINDOWEVENT_MINIMIZED)));
    EXPECT_FALSE(display.active);
    fill(image, 0xFF, 0, 0);
    display.present(image);
    display.flip();
    EXPECT_EQ(shownCentre(display.sdlWindow()), 0xFFFFFFu);

    display.handleEvent(windowEvent(SDL_WINDOWEVENT_RESTORED));
    EXPECT_TRUE(display.active);
    display.flip();
    EXPECT_EQ(shownCentre(display.sdlWindow()), 0xFF0000u);
}

TEST_F(SdlDisplayTest, FocusLossKeepsPresentingHidingStops) {
    SdlDisplay display(DisplaySettings{});
    ASSERT_TRUE(display.isOpen()) << display.failure();
    display.handleEvent(windowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
    EXPECT_TRUE(display.active);
    display.handleEvent(windowEvent(SDL_WINDOWEVENT_HIDDEN));
    EXPECT_FALSE(display.active);
    display.handleEvent(windowEvent(SDL_WINDOWEVENT_SHOWN));
    EXPECT_TRUE(display.active);
}

TEST_F(SdlDisplayTest, EscapeStopsPresentingAndAsksToQuit) {
    SdlDisplay display(DisplaySettings{});
    ASSERT_TRUE(display.isOpen()) << display.failure();
    Image image;
    fill(image, 0, 0xFF, 0);
    display.present(image);
    display.flip();

    EXPECT_FALSE(display.handleEvent(keyDown(SDLK_a)));
    EXPECT_TRUE(display.running);
    EXPECT_FALSE(quitWaits());

    EXPECT_FALSE(display.handleEvent(keyDown(SDLK_ESCAPE)));
    EXPECT_FALSE(display.running);
    EXPECT_TRUE(quitWaits());
    fill(image, 0, 0, 0xFF);
    display.present(image);
    display.flip();
    EXPECT_EQ(shownCentre(display.sdlWindow()), 0x00FF00u);

    SDL_Event quit{};
    quit.type = SDL_QUIT;
    EXPECT_TRUE(display.handleEvent(quit));
    EXPECT_FALSE(display.isOpen());
    EXPECT_EQ(display.present(image), 1);  // nothing left to draw into; no harm
    EXPECT_EQ(display.flip(), 1);
}

TEST_F(SdlDisplayTest, ClosingTheWindowStopsPresenting) {
    SdlDisplay display(DisplaySettings{});
    ASSERT_TRUE(display.isOpen()) << display.failure();
    EXPECT_FALSE(display.handleEvent(windowEvent(SDL_WINDOWEVENT_CLOSE)));
    EXPECT_FALSE(display.running);
}

TEST_F(SdlDisplayTest, FullScreenHidesTheCursorAndUsesEightBitChannels) {
    DisplaySettings settings;
    settings.windowed = false;
    SdlDisplay display(settings);
    ASSERT_TRUE(display.isOpen()) << display.failure();
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    EXPECT_EQ(display.format.bitCount, 32u);
    EXPECT_EQ(display.format.redMask, 0xFF0000u);
    Image image;
    fill(image, 0x12, 0x34, 0x56);
    display.present(image);
    display.flip();
    EXPECT_EQ(shownCentre(display.sdlWindow()), 0x123456u);
    SDL_ShowCursor(SDL_ENABLE);
}

}  // namespace

TEST(SdlDisplayFittingScale, LargestUpToThreeThatFitsTheDesktop) {
    const struct {
        int width, height, scale;
    } cases[] = {
        {1920, 1080, 3}, {3840, 2160, 3},  // never above 3
        {1366, 768, 2},  {1024, 768, 2},   // 960x720 plus a title bar is too tall
        {980, 780, 3},   {979, 780, 2},   {980, 779, 2},
        {800, 600, 2},   {660, 540, 2},   {659, 540, 1},
        {640, 480, 1},   {320, 240, 1},   {0, 0, 1},  // never below 1
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SdlDisplay::fittingScale(c.width, c.height), c.scale) << c.width << "x" << c.height;
    }
}
