// Music: one MIDI piece at a time through the music library (music_library.h),
// sequenced as the game needs it. Every call does nothing while the library
// is not open.
#pragma once

int openMusic(); // 0 when the library opened
void closeMusic();
bool musicOpen();

// Loads "<game folder><name>" and plays it; a piece that cannot be loaded
// leaves the previous one as it was. Only a regular file inside the game
// folder's "bgm" folder is loaded (no "..", no link leading out of it).
void loadAndPlayMusic(const char* name);
void resetFirstPlay();
void stopAndFreeMusic();
void pauseMusic();
void resumeMusic();
