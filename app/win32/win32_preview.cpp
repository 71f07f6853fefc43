#include "app/win32/win32_preview.h"

#include <memory>

#include "display/gdi_screen.h"
#include "flash/gentle_screen.h"
#include "shell/backend.h"
#include "shell/show_control.h"
#include "shell/show_start.h"

namespace {

const char* const previewClassName = "vokdemo preview";

LRESULT CALLBACK previewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);  // the parent went, and its children with it
        return 0;
    }
    if (message == WM_ERASEBKGND) return 1;  // every frame covers it all
    return DefWindowProc(window, message, wParam, lParam);
}

// A child window covering the parent's client area.
HWND makePreviewWindow(HINSTANCE instance, HWND parent) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = previewProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = previewClassName;
    RegisterClassExA(&windowClass);
    RECT area = {};
    GetClientRect(parent, &area);
    return CreateWindowExA(0, previewClassName, "vokdemo", WS_CHILD | WS_VISIBLE, 0, 0, area.right, area.bottom, parent,
                           nullptr, instance, nullptr);
}

// The preview's screen: the frame through GDI, fitted to the window.
class PreviewBackend : public Backend {
public:
    PreviewBackend(HWND window, bool gentle) : window_(window) {
        if (gentle) gentle_ = std::make_unique<GentleScreen>();
    }
    void present(const Image& work) override { screen_.present(gentle_ ? gentle_->show(work, GetTickCount()) : work); }
    void flip() override { screen_.showFitted(window_); }

private:
    HWND window_;
    GdiScreen screen_;
    std::unique_ptr<GentleScreen> gentle_;
};

// A preview needs no more than this many frames a second.
constexpr DWORD frameMs = 20;

}  // namespace

int runPreview(HINSTANCE instance, HWND parent, const ShowContext& context, bool gentle) {
    HWND window = makePreviewWindow(instance, parent);
    if (window == nullptr) return 0;  // the parent went before the preview came
    static PreviewBackend* backend = new PreviewBackend(window, gentle);  // lives to the end of the process
    ShowStart start = startShow(*backend, context);
    if (!start.demo) return start.exitCode;
    Demo& demo = *start.demo.release();
    MusicFollower silence;
    ShowControl control(demo, silence);
    control.setLoop(true);
    MSG message = {};
    for (;;) {
        if (PeekMessage(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) return 0;
            TranslateMessage(&message);
            DispatchMessage(&message);
        } else if (!IsWindow(parent) || !IsWindow(window)) {
            return 0;
        } else {
            control.step(*backend);
            Sleep(frameMs);
        }
    }
}
