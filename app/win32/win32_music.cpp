#include "app/win32/win32_music.h"

#include <windows.h>

namespace music {
namespace {

// The library's calling convention is __stdcall, so its exports carry the
// decorated names (_Name@bytes of arguments); some builds export plain names.
using InitFunction = signed char(__stdcall*)(int, int, unsigned);
using LoadSongFunction = void*(__stdcall*)(const char*);
using PlaySongFunction = signed char(__stdcall*)(void*);

HMODULE library() {
    static HMODULE module = LoadLibraryA("fmod.dll");
    return module;
}

FARPROC lookUp(const char* decorated, const char* plain) {
    HMODULE module = library();
    if (module == nullptr) return nullptr;
    FARPROC function = GetProcAddress(module, decorated);
    return function != nullptr ? function : GetProcAddress(module, plain);
}

template <typename Function>
Function lookUpAs(const char* decorated, const char* plain) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(lookUp(decorated, plain)));
}

}  // namespace

void init(int mixRate, int maxSoftwareChannels, unsigned flags) {
    static auto function = lookUpAs<InitFunction>("_FSOUND_Init@12", "FSOUND_Init");
    if (function != nullptr) function(mixRate, maxSoftwareChannels, flags);
}

void* loadSong(const char* fileName) {
    static auto function = lookUpAs<LoadSongFunction>("_FMUSIC_LoadSong@4", "FMUSIC_LoadSong");
    return function != nullptr ? function(fileName) : nullptr;
}

void playSong(void* song) {
    static auto function = lookUpAs<PlaySongFunction>("_FMUSIC_PlaySong@4", "FMUSIC_PlaySong");
    if (function != nullptr) function(song);
}

}  // namespace music
