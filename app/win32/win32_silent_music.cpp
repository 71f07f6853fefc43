// The built-in music of a build without the module renderer: silence.
#include "app/win32/win32_builtin_music.h"

namespace builtin_music {

void init() {}
void* loadSong(const char*) { return nullptr; }
void playSong(void*, double) {}
void stop() {}
void pause() {}
void playFrom(double) {}
double heardMusicMs() { return -1; }

}  // namespace builtin_music
