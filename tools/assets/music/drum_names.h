// The percussion names a drum track may use, mapped to General MIDI
// percussion keys (channel 10).
#pragma once

#include <string_view>

namespace music {

// Returns the key for a drum name, or -1 when the name is unknown.
int drumKey(std::string_view name);

// Every known name, separated by spaces, for error messages.
const char* drumNameList();

} // namespace music
