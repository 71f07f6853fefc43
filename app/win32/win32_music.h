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
// FMUSIC_PlaySong, from the module's start (the library has no call that
// starts elsewhere); the built-in player starts `startSeconds` in.
void playSong(void* song, double startSeconds);
void stop();  // when the show ends: stops the built-in player's sound thread

// The viewer's pause and seeks, and the new beginning of a looping show. The
// library pauses and resumes where it exports FMUSIC_SetPaused and plays its
// song again from the start for a show begun again at 0 (a loop, Home); at
// other seeks its music stays where it is. The built-in player follows all.
void pause();
void playFrom(double seconds);
// Where in the music the listener is, in milliseconds, or -1 when that is
// not known (the library) or nothing plays.
double heardMusicMs();
// What the overlay and the sync log say where heardMusicMs() is not known.
const char* unheardNote();

}  // namespace music
