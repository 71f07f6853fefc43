#pragma once

// The music played when the third-party library is not installed: the same
// three steps, with the module rendered inside the program and sound through
// the system's own waveOut, and the viewer's pauses and seeks followed. A
// build without the renderer has the silent version of these, and the show
// then runs without sound as before.
namespace builtin_music {

void init();
void* loadSong(const char* path);  // null when it cannot be played
void playSong(void* song, double startSeconds);
void stop();  // before the process ends; the sound stops at once

void pause();                   // the sound holds
void playFrom(double seconds);  // the music from `seconds` of the module, at once
// Where in the music the listener is, in milliseconds from the module's
// start, or -1 when nothing plays.
double heardMusicMs();

}  // namespace builtin_music
