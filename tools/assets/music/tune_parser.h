// Reads a tune source: a header (title, tempo, time, loop), phrases that
// tracks may share, and tracks with their instrument settings and notes.
// The notation is described in assets/music/README.md.
#pragma once

#include "common/diagnostics.h"
#include "tune.h"

#include <string>

namespace music {

// Returns false, with the reasons in diagnostics, when the source is not a
// valid tune.
bool parseTune(const std::string& source, Tune& tune, Diagnostics& diagnostics);

} // namespace music
