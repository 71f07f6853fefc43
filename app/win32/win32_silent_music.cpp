// The built-in music of a build without the module renderer: silence.
#include "app/win32/win32_builtin_music.h"

namespace builtin_music {

void init() {}
void* loadSong(const char*) { return nullptr; }
void playSong(void*) {}
void stop() {}

}  // namespace builtin_music
