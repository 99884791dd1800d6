// Letter case as Windows file and profile names ignore it: only the ASCII
// letters fold, so Shift-JIS trail bytes that look like letters stay as they are.
#pragma once

#include <string_view>

inline char foldAsciiCase(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

inline char lowerAsciiCase(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

inline bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (foldAsciiCase(a[i]) != foldAsciiCase(b[i])) return false;
    return true;
}
