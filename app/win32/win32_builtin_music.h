#pragma once

// The music played when the third-party library is not installed: the same
// three steps, with the module rendered inside the program and sound through
// the system's own waveOut. A build without the renderer has the silent
// version of these, and the show then runs without sound as before.
namespace builtin_music {

void init();
void* loadSong(const char* fileName);  // null when it cannot be played
void playSong(void* song);
void stop();  // before the process ends; the sound stops at once

}  // namespace builtin_music
