// A stand-in for the music library, for the tests: it plays nothing and
// records every call with its arguments, one line each, in "fmod_calls.log"
// in the working directory and on standard output (the program's own, so the
// lines fall in order among the program's output).
#include <windows.h>

#include <cstdio>

namespace {

struct Song {
    char name[260];
};
Song loadedSong;

void record(const char* line) {
    if (FILE* log = std::fopen("fmod_calls.log", "ab")) {
        std::fputs(line, log);
        std::fclose(log);
    }
    std::fputs(line, stdout);
    std::fflush(stdout);
}

}  // namespace

extern "C" {

signed char __stdcall FSOUND_Init(int mixRate, int maxSoftwareChannels, unsigned flags) {
    char line[128];
    std::snprintf(line, sizeof line, "FSOUND_Init %d %d %u\n", mixRate, maxSoftwareChannels, flags);
    record(line);
    return 1;
}

void* __stdcall FMUSIC_LoadSong(const char* name) {
    char line[400];
    std::snprintf(loadedSong.name, sizeof loadedSong.name, "%s", name ? name : "");
    std::snprintf(line, sizeof line, "FMUSIC_LoadSong %s -> %p\n", loadedSong.name, static_cast<void*>(&loadedSong));
    record(line);
    return &loadedSong;
}

signed char __stdcall FMUSIC_PlaySong(void* song) {
    char line[128];
    std::snprintf(line, sizeof line, "FMUSIC_PlaySong %p\n", song);
    record(line);
    return song == &loadedSong ? 1 : 0;
}

signed char __stdcall FMUSIC_StopSong(void* song) {
    char line[128];
    std::snprintf(line, sizeof line, "FMUSIC_StopSong %p\n", song);
    record(line);
    return song == &loadedSong ? 1 : 0;
}

signed char __stdcall FMUSIC_SetPaused(void* song, signed char paused) {
    char line[128];
    std::snprintf(line, sizeof line, "FMUSIC_SetPaused %p %d\n", song, paused);
    record(line);
    return song == &loadedSong ? 1 : 0;
}

}  // extern "C"
