// The Display under Wine: a real window and DirectDraw set-up, then fake
// surfaces in place of the real ones to drive present, flip and release.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "display/gdi_screen.h"
#include "display/screen_scale.h"
#include "display/win32_display.h"
#include "platform/win32_platform.h"
#include "windows/fake_surface.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace {

constexpr HRESULT invalidRectangle = static_cast<HRESULT>(0x88760096);

class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override { display.reset(new Display(GetModuleHandle(nullptr), SW_SHOWNORMAL, 1)); }
    void TearDown() override {
        // The fakes are not DirectDraw's: take them out before the window goes.
        display->primary = nullptr;
        display->back = nullptr;
        DestroyWindow(display->window);
        drainMessages();
        currentDisplay = nullptr;
    }
    static void drainMessages() {
        MSG message;
        while (PeekMessage(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&message);
    }
    // Replaces the surfaces; the real ones stay with DirectDraw until the end.
    void useFakes(FakeSurface* primary, FakeSurface* back) {
        display->primary = primary;
        display->back = back;
    }
    static const Image& gradient() {
        static Image image;
        for (int i = 0; i < screenPixels; ++i) {
            image.pixels[4 * i + 0] = static_cast<uint8_t>(i);        // blue
            image.pixels[4 * i + 1] = static_cast<uint8_t>(i >> 8);   // green
            image.pixels[4 * i + 2] = static_cast<uint8_t>(i * 7);    // red
            image.pixels[4 * i + 3] = 0x5A;
        }
        return image;
    }
    std::unique_ptr<Display> display;
};

uint32_t readPixel(const FakeSurface& surface, int pitch, int x, int y, int bytes) {
    uint32_t value = 0;
    std::memcpy(&value, &surface.memory[static_cast<size_t>(y) * pitch + x * bytes], bytes);
    return value;
}

TEST_F(DisplayTest, WindowHasTheClientAreaCaptionAndPlace) {
    ASSERT_NE(display->window, nullptr);
    EXPECT_EQ(display->running, 1);
    EXPECT_EQ(display->active, 1);
    EXPECT_EQ(display->surfacesReady, 1);
    EXPECT_EQ(currentDisplay, display.get());

    char caption[64] = {};
    GetWindowTextA(display->window, caption, sizeof caption);
    EXPECT_STREQ(caption, windowCaption);
    char className[64] = {};
    GetClassNameA(display->window, className, sizeof className);
    EXPECT_STREQ(className, "-=- vok2000 test -=-");

    RECT outer;
    GetWindowRect(display->window, &outer);
    EXPECT_EQ(outer.left, 10);
    EXPECT_EQ(outer.top, 10);
    EXPECT_EQ(outer.right - outer.left, display->windowSize.cx);
    EXPECT_EQ(outer.bottom - outer.top, display->windowSize.cy);
    RECT client;
    GetClientRect(display->window, &client);
    EXPECT_EQ(client.right, 320);  // the suite's screens are at 96 DPI
    EXPECT_EQ(client.bottom, 240);

    EXPECT_EQ(display->clientRect.left, 0);
    EXPECT_EQ(display->clientRect.top, 0);
    EXPECT_EQ(display->clientRect.right, 320);
    EXPECT_EQ(display->clientRect.bottom, 240);
    POINT origin = {0, 0};
    ClientToScreen(display->window, &origin);
    EXPECT_EQ(display->screenRect.left, origin.x);
    EXPECT_EQ(display->screenRect.top, origin.y);
    EXPECT_EQ(display->screenRect.right, origin.x + 320);
    EXPECT_EQ(display->screenRect.bottom, origin.y + 240);
}

TEST_F(DisplayTest, ShiftsComeFromThePrimarySurfaceOfA24BitDesktop) {
    // The suite runs this program on an Xvfb screen of depth 24.
    EXPECT_EQ(display->format.bitCount, 32u);
    EXPECT_EQ(display->format.redMask, 0xFF0000u);
    EXPECT_EQ(display->format.redLeftShift, 16);
    EXPECT_EQ(display->format.greenLeftShift, 8);
    EXPECT_EQ(display->format.blueLeftShift, 0);
    EXPECT_EQ(display->format.redRightShift, 0);
}

TEST_F(DisplayTest, WindowProcedureFollowsMinimiseActivateAndTracking) {
    HWND window = display->window;
    SendMessage(window, WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_EQ(display->active, 0);
    SendMessage(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(320, 240));
    EXPECT_EQ(display->active, 1);
    SendMessage(window, WM_SIZE, SIZE_MAXHIDE, 0);
    EXPECT_EQ(display->active, 0);
    EXPECT_EQ(SendMessage(window, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0), 0);
    EXPECT_EQ(display->active, 1);  // only the minimised state counts
    SendMessage(window, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 1), 0);
    EXPECT_EQ(display->active, 0);

    MINMAXINFO info = {};
    info.ptMaxSize = {1234, 567};
    SendMessage(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, display->windowSize.cx);
    EXPECT_EQ(info.ptMinTrackSize.y, display->windowSize.cy);
    EXPECT_EQ(info.ptMaxTrackSize.x, info.ptMinTrackSize.x);
    EXPECT_EQ(info.ptMaxTrackSize.y, info.ptMinTrackSize.y);
    EXPECT_EQ(info.ptMaxSize.x, 1234);
}

TEST_F(DisplayTest, EscapeStopsPresentingAndAsksToClose) {
    drainMessages();
    SendMessage(display->window, WM_KEYDOWN, 'A', 0);
    EXPECT_EQ(display->running, 1);
    EXPECT_EQ(SendMessage(display->window, WM_KEYDOWN, VK_ESCAPE, 0), 0);
    EXPECT_EQ(display->running, 0);
    MSG message;
    ASSERT_TRUE(PeekMessage(&message, display->window, WM_CLOSE, WM_CLOSE, PM_REMOVE));

    FakeSurface primary(320, 240, 1280), back(320, 240, 1280);
    useFakes(&primary, &back);
    display->flip();
    EXPECT_EQ(primary.blts, 0);
}

TEST_F(DisplayTest, DestroyReleasesBackThenPrimaryThenDirectDrawAndQuits) {
    std::vector<std::string> released;
    FakeSurface primary(320, 240, 1280, &released, "primary"), back(320, 240, 1280, &released, "back");
    useFakes(&primary, &back);
    drainMessages();
    DestroyWindow(display->window);
    EXPECT_EQ(display->running, 0);
    EXPECT_EQ(released, (std::vector<std::string>{"back", "primary"}));
    EXPECT_EQ(display->directDraw, nullptr);
    EXPECT_EQ(display->primary, nullptr);
    EXPECT_EQ(display->back, nullptr);
    MSG message;
    ASSERT_TRUE(PeekMessage(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 0u);

    // Nothing is touched once the surfaces are gone.
    FakeSurface laterPrimary(320, 240, 1280), laterBack(320, 240, 1280);
    useFakes(&laterPrimary, &laterBack);
    display->running = 1;
    display->present(Image());
    display->flip();
    EXPECT_EQ(laterBack.locks, 0);
    EXPECT_EQ(laterPrimary.blts, 0);
}

TEST_F(DisplayTest, Windowed16BitWritesTwoBytesAPixelAndKeepsThePadding) {
    FakeSurface primary(320, 240, 1280), back(320, 240, 700);
    useFakes(&primary, &back);
    display->format = makePixelFormat(16, 0xF800, 0x07E0, 0x001F);
    Image image;
    image.pixels[0] = image.pixels[1] = image.pixels[2] = 255;  // white
    image.pixels[4 * 1 + 2] = 255;                               // pure red
    image.pixels[4 * 2 + 2] = 7;                                 // red too dark to keep
    display->present(image);
    EXPECT_EQ(back.locks, 1);
    EXPECT_EQ(back.unlocks, 1);
    EXPECT_EQ(readPixel(back, 700, 0, 0, 2), 0xFFFFu);
    EXPECT_EQ(readPixel(back, 700, 1, 0, 2), 0xF800u);
    EXPECT_EQ(readPixel(back, 700, 2, 0, 2), 0u);
    for (int column = 640; column < 700; ++column) EXPECT_EQ(back.memory[column], 0xAB) << column;
}

TEST_F(DisplayTest, Windowed24BitWritesThreeBytesAPixel) {
    FakeSurface primary(320, 240, 1280), back(320, 240, 960);
    useFakes(&primary, &back);
    display->format = makePixelFormat(24, 0xFF0000, 0xFF00, 0xFF);
    const Image& image = gradient();
    display->present(image);
    EXPECT_EQ(readPixel(back, 960, 5, 3, 3), image.pixelAt(5, 3) & 0xFFFFFF);
    EXPECT_EQ(readPixel(back, 960, 319, 239, 3), image.pixelAt(319, 239) & 0xFFFFFF);
}

// Full screen on a desktop whose mode stayed: the surface's own format, the
// picture scaled by the converter and centred on black, then a flip.
TEST_F(DisplayTest, FullScreenWritesTheScreensFormatScaledAndCentred) {
    display->windowed = 0;
    FakeSurface primary(1024, 768, 2048), back(1024, 768, 2048);
    useFakes(&primary, &back);
    display->format = makePixelFormat(16, 0xF800, 0x07E0, 0x001F);
    display->placement = centredPlacement(1024, 768, 0);
    Image image;
    image.pixels[2] = 255;                                  // (0, 0) pure red
    image.pixels[4 * screenPixels - 4] = 255;               // (319, 239) pure blue
    display->present(image);
    EXPECT_EQ(readPixel(back, 2048, 0, 0, 2), 0u);          // the bands are black
    EXPECT_EQ(readPixel(back, 2048, 31, 24, 2), 0u);
    EXPECT_EQ(readPixel(back, 2048, 32, 23, 2), 0u);
    EXPECT_EQ(readPixel(back, 2048, 32, 24, 2), 0xF800u);   // 3x3 pixels of red from (32, 24)
    EXPECT_EQ(readPixel(back, 2048, 34, 26, 2), 0xF800u);
    EXPECT_EQ(readPixel(back, 2048, 35, 24, 2), 0u);
    EXPECT_EQ(readPixel(back, 2048, 991, 743, 2), 0x001Fu); // the last pixel ends at (991, 743)
    EXPECT_EQ(readPixel(back, 2048, 992, 743, 2), 0u);
    EXPECT_EQ(readPixel(back, 2048, 991, 744, 2), 0u);
    display->flip();
    EXPECT_EQ(primary.flips, 1);
    EXPECT_EQ(primary.blts, 0);
}

TEST_F(DisplayTest, FormatsThatCannotBeConvertedDropTheFrame) {
    FakeSurface primary(320, 240, 1280), back(320, 240, 1280);
    useFakes(&primary, &back);
    display->format = makePixelFormat(8, 0, 0, 0);  // palettized
    display->present(gradient());
    display->format = makePixelFormat(32, 0x3FF00000, 0x000FFC00, 0x000003FF);  // 10-10-10
    display->present(gradient());
    display->windowed = 0;
    display->format = makePixelFormat(8, 0, 0, 0);
    display->present(gradient());
    EXPECT_EQ(back.locks, 0);
    for (unsigned char byte : back.memory) ASSERT_EQ(byte, 0xAB);
}

TEST_F(DisplayTest, SurfaceTooSmallForTheFrameIsLeftAlone) {
    FakeSurface primary(320, 240, 1280), back(320, 200, 1280);
    useFakes(&primary, &back);
    display->format = makePixelFormat(32, 0xFF0000, 0xFF00, 0xFF);
    display->present(gradient());
    FakeSurface narrow(160, 240, 640);
    display->back = &narrow;
    display->present(gradient());
    EXPECT_EQ(back.unlocks, 1);
    EXPECT_EQ(narrow.unlocks, 1);
    for (unsigned char byte : back.memory) ASSERT_EQ(byte, 0xAB);
    for (unsigned char byte : narrow.memory) ASSERT_EQ(byte, 0xAB);
}

TEST_F(DisplayTest, FailedLockKeepsTheSurfaceAsItWas) {
    FakeSurface primary(320, 240, 1280), back(320, 240, 1280);
    back.lockResult = DDERR_SURFACELOST;
    useFakes(&primary, &back);
    EXPECT_EQ(display->present(gradient()), 1);
    EXPECT_EQ(back.unlocks, 0);
    for (unsigned char byte : back.memory) ASSERT_EQ(byte, 0xAB);
}

TEST_F(DisplayTest, FlipBlitsTheClientAreaOnce) {
    FakeSurface primary(320, 240, 1280), back(320, 240, 1280);
    useFakes(&primary, &back);
    display->flip();
    EXPECT_EQ(primary.blts, 1);
    EXPECT_EQ(primary.lastSourceSurface, &back);
    EXPECT_TRUE(EqualRect(&primary.lastSource, &display->clientRect));
    EXPECT_TRUE(EqualRect(&primary.lastDestination, &display->screenRect));
}

TEST_F(DisplayTest, FlipShowsNothingWhileInactiveOrStopped) {
    FakeSurface primary(320, 240, 1280), back(320, 240, 1280);
    useFakes(&primary, &back);
    display->active = 0;
    display->flip();
    display->active = 1;
    display->running = 0;
    display->flip();
    EXPECT_EQ(primary.blts, 0);
}

TEST_F(DisplayTest, FlipGivesUpOnAPersistentError) {
    FakeSurface primary(320, 240, 1280), back(320, 240, 1280);
    primary.showResults = {invalidRectangle};
    useFakes(&primary, &back);
    EXPECT_EQ(display->flip(), 1);
    EXPECT_EQ(primary.blts, Display::flipAttempts);
    display->windowed = 0;
    primary.showResults = {DDERR_WASSTILLDRAWING};
    display->flip();
    EXPECT_EQ(primary.flips, Display::flipAttempts);
}

TEST_F(DisplayTest, FlipRetriesABusyBlitter) {
    FakeSurface primary(320, 240, 1280), back(320, 240, 1280);
    primary.showResults = {DDERR_WASSTILLDRAWING, DDERR_WASSTILLDRAWING, DD_OK};
    useFakes(&primary, &back);
    display->flip();
    EXPECT_EQ(primary.blts, 3);
    display->flip();
    EXPECT_EQ(primary.blts, 4);
}

TEST_F(DisplayTest, LostSurfacesAreRestoredAndTheBlitRepeated) {
    FakeSurface primary(320, 240, 1280), back(320, 240, 1280);
    primary.showResults = {DDERR_SURFACELOST, DD_OK};
    back.lostResult = DDERR_SURFACELOST;
    useFakes(&primary, &back);
    display->flip();
    EXPECT_EQ(primary.restores, 1);
    EXPECT_EQ(back.restores, 1);  // restoring the primary does not bring back the off-screen surface
    EXPECT_EQ(primary.blts, 2);
}

TEST_F(DisplayTest, FailedRestoreDropsTheFrame) {
    FakeSurface primary(320, 240, 1280), back(320, 240, 1280);
    primary.showResults = {DDERR_SURFACELOST};
    primary.restoreResult = DDERR_WRONGMODE;
    useFakes(&primary, &back);
    display->flip();
    EXPECT_EQ(primary.blts, 1);
    EXPECT_EQ(primary.restores, 1);
}

TEST_F(DisplayTest, EmptyRectanglesAreRefreshedBeforeTheBlit) {
    FakeSurface primary(320, 240, 1280), back(320, 240, 1280);
    useFakes(&primary, &back);
    RECT expected = display->screenRect;
    display->clientRect = {};
    display->screenRect = {};
    display->flip();
    ASSERT_EQ(primary.blts, 1);
    EXPECT_TRUE(EqualRect(&primary.lastDestination, &expected));
    EXPECT_EQ(primary.lastSource.right, 320);
    EXPECT_EQ(primary.lastSource.bottom, 240);
}

TEST_F(DisplayTest, RestoringOrActivatingRefreshesStaleRectangles) {
    RECT expected = display->screenRect;
    // As after minimising under Wine: a move while active, then one while not.
    display->screenRect = {-32000, -32000, -31680, -31760};
    display->active = 0;
    SendMessage(display->window, WM_MOVE, 0, MAKELPARAM(14, 33));
    EXPECT_EQ(display->screenRect.left, -32000);
    SendMessage(display->window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(320, 240));
    EXPECT_TRUE(EqualRect(&display->screenRect, &expected));

    display->clientRect = {};
    SendMessage(display->window, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), 0);
    EXPECT_EQ(display->clientRect.right, 320);
}

TEST_F(DisplayTest, NothingIsTouchedWhenDirectDrawCouldNotBeSetUp) {
    FakeSurface primary(320, 240, 1280), back(320, 240, 1280);
    useFakes(&primary, &back);
    display->surfacesReady = 0;
    EXPECT_EQ(display->present(gradient()), 1);
    EXPECT_EQ(display->flip(), 1);
    EXPECT_EQ(back.locks, 0);
    EXPECT_EQ(primary.blts, 0);
}

// WM_DPICHANGED: the window takes the new DPI's factor (or keeps the scale
// asked for) with its corner where Windows suggests, and the picture's
// surface follows, so frames go on at the new size.
TEST_F(DisplayTest, ADpiChangeResizesTheWindowAndItsSurface) {
    const struct {
        UINT dpi;
        int32_t scaleAsked;
        LONG width, height;
    } rows[] = {{192, 0, 640, 480}, {120, 0, 320, 240}, {144, 0, 640, 480}, {96, 0, 320, 240}, {192, 1, 320, 240}};
    for (const auto& row : rows) {
        display->scaleAsked = row.scaleAsked;
        RECT suggested = {40 + static_cast<LONG>(row.dpi), 30, 900, 700};
        SendMessage(display->window, WM_DPICHANGED, MAKEWPARAM(row.dpi, row.dpi), reinterpret_cast<LPARAM>(&suggested));
        RECT client, outer;
        GetClientRect(display->window, &client);
        GetWindowRect(display->window, &outer);
        EXPECT_EQ(client.right, row.width) << row.dpi;
        EXPECT_EQ(client.bottom, row.height) << row.dpi;
        EXPECT_EQ(outer.left, suggested.left) << row.dpi;
        EXPECT_EQ(outer.top, 30) << row.dpi;
        EXPECT_EQ(display->dotsPerInch, row.dpi);
        ASSERT_EQ(display->surfacesReady, 1) << row.dpi;
        EXPECT_EQ(display->surfaceWidth, row.width) << row.dpi;
        EXPECT_EQ(display->clientRect.right, row.width) << row.dpi;
        EXPECT_EQ(display->screenRect.right - display->screenRect.left, row.width) << row.dpi;
        display->present(gradient());
        display->flip();
    }
    EXPECT_FALSE(display->gdi);
}

// A fake back surface of the old size is let go when the scale changes.
TEST_F(DisplayTest, ADpiChangeReleasesTheOldSurface) {
    FakeSurface primary(320, 240, 1280), back(320, 240, 1280);
    useFakes(&primary, &back);
    RECT suggested = {10, 10, 700, 600};
    SendMessage(display->window, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(back.releases, 1);
    EXPECT_NE(display->back, &back);
    EXPECT_EQ(display->surfaceWidth, 640);
    SendMessage(display->window, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(back.releases, 1);  // the same scale keeps its surface
}

// Full screen and back, twice: the window covers the screen, then returns
// to its place and size with a picture surface of its own again.
TEST_F(DisplayTest, FullScreenAndBackReturnsTheWindowToItsPlace) {
    RECT before;
    GetWindowRect(display->window, &before);
    for (int round = 0; round < 2; ++round) {
        display->toggleFullScreen();
        EXPECT_EQ(display->windowed, 0);
        RECT covering;
        GetWindowRect(display->window, &covering);
        EXPECT_EQ(covering.right - covering.left, GetSystemMetrics(SM_CXSCREEN));
        EXPECT_EQ(covering.bottom - covering.top, GetSystemMetrics(SM_CYSCREEN));
        EXPECT_EQ(display->surfacesReady, 1);
        display->present(gradient());
        display->flip();
        display->toggleFullScreen();
        RECT after;
        GetWindowRect(display->window, &after);
        EXPECT_TRUE(EqualRect(&before, &after)) << after.left << "," << after.top << " " << after.right << "," << after.bottom;
        EXPECT_EQ(display->surfacesReady, 1);
        EXPECT_EQ(display->surfaceWidth, 320);
    }
    EXPECT_FALSE(display->gdi);
}

// Through GDI the surfaces are never touched, and the client area shows the
// picture itself: the colours in place, rows from the top.
TEST_F(DisplayTest, TheGdiPathDrawsThePictureWithoutSurfaces) {
    FakeSurface primary(320, 240, 1280), back(320, 240, 1280);
    useFakes(&primary, &back);
    display->gdi = true;
    display->present(gradient());
    display->flip();
    EXPECT_EQ(back.locks, 0);
    EXPECT_EQ(primary.blts, 0);
    HDC dc = GetDC(display->window);
    for (POINT at : {POINT{0, 0}, POINT{319, 0}, POINT{5, 3}, POINT{0, 239}, POINT{319, 239}}) {
        const uint32_t word = gradient().pixelAt(at.x, at.y);
        EXPECT_EQ(GetPixel(dc, at.x, at.y), RGB((word >> 16) & 0xFF, (word >> 8) & 0xFF, word & 0xFF)) << at.x << "," << at.y;
    }
    ReleaseDC(display->window, dc);
}

// The screensaver's preview: the frame as large as a window holds, at
// a whole scale where 320x240 fits (pixel for pixel), else shrunk smoothly to
// the largest 4:3 picture, centred on black.
TEST_F(DisplayTest, TheGdiPictureFitsAPreviewWindow) {
    GdiScreen screen;
    screen.present(gradient());
    const struct {
        int width, height;
        RECT picture;  // where the picture must lie
    } rows[] = {{320, 240, {0, 0, 320, 240}}, {152, 112, {1, 0, 150, 111}}, {400, 250, {40, 5, 360, 245}}};
    for (const auto& row : rows) {
        HWND child = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 400, 300, row.width, row.height, nullptr,
                                     nullptr, GetModuleHandle(nullptr), nullptr);
        ASSERT_NE(child, nullptr);
        screen.showFitted(child);
        HDC dc = GetDC(child);
        const RECT& p = row.picture;
        EXPECT_EQ(GetPixel(dc, p.left - 1, (p.top + p.bottom) / 2) & 0xFFFFFF, p.left > 0 ? 0u : CLR_INVALID & 0xFFFFFF)
            << row.width;
        EXPECT_EQ(GetPixel(dc, (p.left + p.right) / 2, p.bottom) & 0xFFFFFF, p.bottom < row.height ? 0u : CLR_INVALID & 0xFFFFFF)
            << row.width;
        EXPECT_NE(GetPixel(dc, (p.left + p.right) / 2, (p.top + p.bottom) / 2) & 0xFFFFFF, 0u) << row.width;
        if (row.width == 320) {
            const uint32_t word = gradient().pixelAt(7, 200);
            EXPECT_EQ(GetPixel(dc, 7, 200), RGB((word >> 16) & 0xFF, (word >> 8) & 0xFF, word & 0xFF));
        }
        ReleaseDC(child, dc);
        DestroyWindow(child);
    }
}

TEST(Win32Platform, NoConsoleMeansNoKeyPress) {
    // The suite starts the tests with standard input from /dev/null.
    EXPECT_FALSE(win32::keyPressWaiting());
    uint32_t before = GetTickCount();
    uint32_t reading = win32::tickCount();
    EXPECT_LE(reading - before, 1000u);
}

}  // namespace
