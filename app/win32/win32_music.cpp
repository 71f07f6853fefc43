#include "app/win32/win32_music.h"

#include <windows.h>

#include "app/win32/win32_builtin_music.h"

namespace music {
namespace {

// The library's calling convention is __stdcall, so its exports carry the
// decorated names (_Name@bytes of arguments); some builds export plain names.
using InitFunction = signed char(__stdcall*)(int, int, unsigned);
using LoadSongFunction = void*(__stdcall*)(const char*);
using SongFunction = signed char(__stdcall*)(void*);
using SetPausedFunction = signed char(__stdcall*)(void*, signed char);

void* librarySong = nullptr;  // the library's handle of the loaded module

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

void setLibraryPaused(signed char paused) {
    static auto function = lookUpAs<SetPausedFunction>("_FMUSIC_SetPaused@8", "FMUSIC_SetPaused");
    if (function != nullptr && librarySong != nullptr) function(librarySong, paused);
}

// The song from its start: stopped where the library exports that, then
// played again.
void playLibrarySongAgain() {
    static auto stopSong = lookUpAs<SongFunction>("_FMUSIC_StopSong@4", "FMUSIC_StopSong");
    static auto playSong = lookUpAs<SongFunction>("_FMUSIC_PlaySong@4", "FMUSIC_PlaySong");
    if (librarySong == nullptr || playSong == nullptr) return;
    if (stopSong != nullptr) stopSong(librarySong);
    playSong(librarySong);
}

}  // namespace

// Without the library, the built-in player takes each step; a library that
// is present but lacks a function keeps that step a no-op, as before.
void init(int mixRate, int maxSoftwareChannels, unsigned flags) {
    static auto function = lookUpAs<InitFunction>("_FSOUND_Init@12", "FSOUND_Init");
    if (function != nullptr) {
        function(mixRate, maxSoftwareChannels, flags);
    } else if (library() == nullptr) {
        builtin_music::init();
    }
}

void* loadSong(const char* fileName) {
    static auto function = lookUpAs<LoadSongFunction>("_FMUSIC_LoadSong@4", "FMUSIC_LoadSong");
    if (function != nullptr) return librarySong = function(fileName);
    return library() == nullptr ? builtin_music::loadSong(fileName) : nullptr;
}

void playSong(void* song, double startSeconds) {
    static auto function = lookUpAs<SongFunction>("_FMUSIC_PlaySong@4", "FMUSIC_PlaySong");
    if (function != nullptr) {
        function(song);
    } else if (library() == nullptr) {
        builtin_music::playSong(song, startSeconds);
    }
}

void stop() {
    if (library() == nullptr) builtin_music::stop();
}

void pause() {
    if (library() == nullptr) {
        builtin_music::pause();
    } else {
        setLibraryPaused(1);
    }
}

void playFrom(double seconds) {
    if (library() == nullptr) {
        builtin_music::playFrom(seconds);
    } else if (seconds == 0.0) {
        playLibrarySongAgain();
    } else {
        setLibraryPaused(0);
    }
}

double heardMusicMs() { return library() == nullptr ? builtin_music::heardMusicMs() : -1; }

const char* unheardNote() { return library() == nullptr ? "no music" : "music library: seeks move the picture only"; }

}  // namespace music
