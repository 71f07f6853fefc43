#pragma once

// The music library, imported at run time from "fmod.dll" (the working
// directory, the program's directory or the system path). When the library
// or one of its functions is missing, each call does nothing and the show
// runs silently with the same timing. No result is examined by the caller.
namespace music {

void init(int mixRate, int maxSoftwareChannels, unsigned flags);  // FSOUND_Init
void* loadSong(const char* fileName);                            // FMUSIC_LoadSong; null when absent
void playSong(void* song);                                       // FMUSIC_PlaySong

}  // namespace music
