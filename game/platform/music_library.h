// The MIDI music library: pieces loaded from standard MIDI files and played
// one at a time on the backend's MIDI player. Every call returns 0 on success
// and one of the KBGM_ERROR_* codes otherwise.
//
// Meaning of KBGMPlay's second argument: every piece loops until it is
// stopped, so a piece never ends by itself. The argument only says what the
// caller knows about what is sounding:
//   0  nothing of ours sounds (the first piece, or after a stop): the
//      synthesizer is reset to its start state before the piece begins, so it
//      starts exactly as from a freshly opened library;
//   1  an earlier piece may still be sounding: it is cut off (all its notes
//      silenced at once) before the new one begins.
// There is one player, so in both cases the new piece is the only one heard.
#pragma once

using KBGMHandle = int; // 0 is no piece

enum {
    KBGM_OK = 0,
    KBGM_ERROR_NOT_OPEN = 1,    // the library is not open
    KBGM_ERROR_NO_DEVICE = 2,   // open: no sound device or no soundfont
    KBGM_ERROR_ARGUMENT = 3,    // a null pointer or an argument out of range
    KBGM_ERROR_LOAD = 4,        // the file is missing or no MIDI file
    KBGM_ERROR_HANDLE = 5,      // no loaded piece has this handle
    KBGM_ERROR_NOT_PLAYING = 6, // pause / resume with no piece in that state
    KBGM_ERROR_TABLE_FULL = 7,  // every piece slot holds the piece being played
};

// pieces: how many pieces may be loaded at once (1..64). Loading beyond that
// forgets the oldest piece that is not being played, so a caller that never
// frees still works. device: -1 for the default output, the only one there is.
int KBGMOpen(int pieces, int device);
// Loads the file and fills *handle; on failure *handle is left as it was.
int KBGMLoadFile(KBGMHandle* handle, const char* path);
int KBGMPlay(KBGMHandle handle, int firstPlay);
// Stops the piece being played (paused or not).
int KBGMStop();
int KBGMPause();
int KBGMResume(KBGMHandle handle);
// Forgets the piece; stops it first if it is being played.
int KBGMFree(KBGMHandle handle);
// Stops and forgets everything and closes the player.
int KBGMClose();
