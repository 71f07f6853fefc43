#pragma once

// The music library, imported at run time from "fmod.dll" (the working
// directory, the program's directory or the system path). When the library
// is not found, the built-in player (win32_builtin_music.h) takes the same
// steps; when one of its functions is missing, that call does nothing. Any
// failure leaves the show silent with the same timing. No result is examined
// by the caller.
namespace music {

void init(int mixRate, int maxSoftwareChannels, unsigned flags);  // FSOUND_Init
void* loadSong(const char* fileName);                            // FMUSIC_LoadSong; null when absent
void playSong(void* song);                                       // FMUSIC_PlaySong
void stop();  // when the show ends: stops the built-in player's sound thread

}  // namespace music
