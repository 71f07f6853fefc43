#pragma once
#include <windows.h>
#include <ddraw.h>

#include <string>

// DirectDraw loaded at run time, so that the program starts where ddraw.dll
// is missing or refused (some virtual machines, remote sessions, stripped-down
// Windows) and can show its frames another way.
namespace ddraw_library {

// A new IDirectDraw7 of the default display driver, or null with `problem`
// saying why in a few words.
IDirectDraw7* create(std::string& problem);

// A surface description with only its size filled in, as every call takes it.
inline DDSURFACEDESC2 emptySurfaceDescription() {
    DDSURFACEDESC2 description = {};
    description.dwSize = sizeof(description);
    return description;
}

// "0x80004001": a failed call's result, for messages.
std::string resultText(HRESULT result);

}  // namespace ddraw_library
