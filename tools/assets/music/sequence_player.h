// Plays the tokens of a track through, with repeats, phrases, chords and
// ties, and collects the notes it sounds.
#pragma once

#include "common/diagnostics.h"
#include "note_tokens.h"
#include "source_line.h"
#include "tune.h"

#include <map>
#include <string>
#include <vector>

namespace music {

using PhraseTable = std::map<std::string, std::vector<SourceLine>>;

// Fills track.notes and track.length from the track's note lines; tempo
// commands go into tune.tempos. Bar lines are checked against the tune's
// time signature.
void playTrack(const std::vector<SourceLine>& lines, const PhraseTable& phrases, Tune& tune,
               Track& track, Diagnostics& diagnostics);

} // namespace music
