// One line of a tune source, kept with its number for error messages.
#pragma once

#include <string>

namespace music {

struct SourceLine {
    int number = 0;
    std::string text;
};

} // namespace music
