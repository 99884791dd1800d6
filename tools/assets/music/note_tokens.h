// Splits the note text of a track or phrase into tokens. Pitched tracks read
// single-letter commands (c d e f g a b r o l v q t); drum tracks read drum
// names instead of note letters.
#pragma once

#include "common/diagnostics.h"
#include "source_line.h"

#include <string>
#include <vector>

namespace music {

enum class TokenKind {
    Note, // value: semitone above C (accidental applied, may be -1 or 12)
    Drum, // value: percussion key
    Rest,
    Octave, // value: octave number
    OctaveUp,
    OctaveDown,
    DefaultLength,
    Velocity, // value: 1..127
    Gate,     // value: percent of a note's length that sounds, 1..100
    Tempo,    // value: beats per minute
    Tie,
    ChordOpen,
    ChordClose,
    RepeatOpen,
    RepeatClose, // value: how many times the section plays
    Volta,       // the last pass of a repeat stops here
    BarLine,
    PhraseRef, // name: the phrase
};

// A written length: "4", "8.", "2^8", or nothing for the current default.
struct WrittenLength {
    int baseTicks = 0; // 0: the default length
    int dots = 0;
    std::vector<int> extraTicks; // "^n" additions
    bool given() const { return baseTicks != 0 || dots != 0 || !extraTicks.empty(); }
};

struct Token {
    TokenKind kind = TokenKind::Rest;
    int line = 0;
    int value = 0;
    WrittenLength length;
    std::string name;
};

std::vector<Token> tokenizeNotes(const std::vector<SourceLine>& lines, bool drumTrack,
                                 Diagnostics& diagnostics);

} // namespace music
