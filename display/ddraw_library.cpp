#include "display/ddraw_library.h"

#include <cstdio>

namespace ddraw_library {
namespace {

// IID_IDirectDraw7, defined here so that no GUID library is needed.
const GUID directDraw7Id = {0x15E65EC0, 0x3B9C, 0x11D2, {0xB9, 0x2F, 0x00, 0x60, 0x97, 0x97, 0xEA, 0x5B}};

using CreateFunction = HRESULT(WINAPI*)(GUID*, LPVOID*, REFIID, IUnknown*);

}  // namespace

std::string resultText(HRESULT result) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(result));
    return text;
}

IDirectDraw7* create(std::string& problem) {
    static HMODULE library = LoadLibraryA("ddraw.dll");  // kept to the end of the process
    if (library == nullptr) {
        problem = "ddraw.dll cannot be loaded";
        return nullptr;
    }
    const auto createEx =
        reinterpret_cast<CreateFunction>(reinterpret_cast<void*>(GetProcAddress(library, "DirectDrawCreateEx")));
    if (createEx == nullptr) {
        problem = "ddraw.dll has no DirectDrawCreateEx";
        return nullptr;
    }
    IDirectDraw7* directDraw = nullptr;
    const HRESULT result = createEx(nullptr, reinterpret_cast<void**>(&directDraw), directDraw7Id, nullptr);
    if (FAILED(result) || directDraw == nullptr) {
        problem = "DirectDrawCreateEx failed with " + resultText(result);
        return nullptr;
    }
    return directDraw;
}

}  // namespace ddraw_library
