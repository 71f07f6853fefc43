// A stand-in for the preview of Windows' screensaver settings: a window with a
// 320x240 client area, whose handle it gives a screensaver (/p HWND), until
// Escape closes the window (or a minute passes); then it waits for the
// preview to end, as a screensaver must when its window goes.
//
//   vok_preview_host SCREENSAVER
//
// Prints "preview ended with N" and exits 0 when the preview ended with 0
// within 10 s of the window's end, 1 otherwise.
#include <windows.h>

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

LRESULT CALLBACK hostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
        DestroyWindow(window);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProc(window, message, wParam, lParam);
}

HWND makeHost() {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = hostProc;
    windowClass.hInstance = GetModuleHandle(nullptr);
    windowClass.hbrBackground = nullptr;  // the preview paints the client area, the host nothing
    windowClass.lpszClassName = "vokdemo preview host";
    RegisterClassExA(&windowClass);
    RECT outer = {0, 0, 320, 240};
    AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, FALSE);
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "preview host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 10, 10,
                                  outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    if (window != nullptr) ShowWindow(window, SW_SHOWNORMAL);
    return window;
}

// Messages until the window is gone, or a minute has passed.
void runUntilClosed() {
    const DWORD limit = GetTickCount() + 60000;
    MSG message;
    while (static_cast<int32_t>(limit - GetTickCount()) > 0) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        while (PeekMessage(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) return;
            TranslateMessage(&message);
            DispatchMessage(&message);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SCREENSAVER\n", argv[0]);
        return 2;
    }
    HWND host = makeHost();
    if (host == nullptr) return 1;
    std::string command = "\"" + std::string(argv[1]) + "\" /p " +
                          std::to_string(static_cast<uint64_t>(reinterpret_cast<uintptr_t>(host)));
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::printf("cannot start %s\n", command.c_str());
        return 1;
    }
    std::printf("host window %" PRIu64 "\n", static_cast<uint64_t>(reinterpret_cast<uintptr_t>(host)));
    std::fflush(stdout);
    runUntilClosed();
    if (IsWindow(host)) DestroyWindow(host);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        std::printf("the preview did not end with its window\n");
        TerminateProcess(process.hProcess, 1);
        return 1;
    }
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    std::printf("preview ended with %lu\n", static_cast<unsigned long>(code));
    return code == 0 ? 0 : 1;
}
