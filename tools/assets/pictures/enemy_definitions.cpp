#include "pictures/enemy_definitions.h"

#include "pictures/text_lines.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <optional>

namespace {

struct ProfileValue {
    std::string text;
    int line = 0;
};

// section -> key -> value; section and key names compared case-insensitively as the
// profile reader does. The first occurrence of a key wins.
using Profile = std::map<std::string, std::map<std::string, ProfileValue>>;

std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string_view trim(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

Profile readProfile(const std::string& text, const std::string& fileName,
                    std::vector<std::string>& errors) {
    Profile profile;
    std::string section;
    const auto lines = splitLines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = trim(lines[i]);
        const int lineNumber = static_cast<int>(i) + 1;
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            if (line.back() != ']')
                errors.push_back(locate(fileName, lineNumber, "section header lacks ']'"));
            section = upper(trim(line.substr(1, line.size() - 2)));
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos || section.empty()) {
            errors.push_back(
                locate(fileName, lineNumber, "expected 'KEY=value' inside a [SECTION]"));
            continue;
        }
        auto& keys = profile[section];
        const std::string key = upper(trim(line.substr(0, equals)));
        if (keys.count(key) == 0)
            keys[key] = ProfileValue{std::string(trim(line.substr(equals + 1))), lineNumber};
    }
    return profile;
}

const ProfileValue* findValue(const Profile& profile, const std::string& section,
                              const std::string& key) {
    const auto s = profile.find(section);
    if (s == profile.end()) return nullptr;
    const auto k = s->second.find(key);
    return k == s->second.end() ? nullptr : &k->second;
}

std::optional<std::pair<int, int>> parsePair(const std::string& text) {
    const size_t comma = text.find(',');
    if (comma == std::string::npos) return std::nullopt;
    const auto a = parseInteger(trim(std::string_view(text).substr(0, comma)));
    const auto b = parseInteger(trim(std::string_view(text).substr(comma + 1)));
    if (!a || !b) return std::nullopt;
    return std::make_pair(*a, *b);
}

std::string twoDigitKey(int number) {
    char key[8];
    std::snprintf(key, sizeof key, "%.2d", number);
    return key;
}

bool isDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool holdsPixels(const IndexedImage& sheet, int x, int y, int w, int h) {
    for (int row = y; row < y + h; ++row)
        for (int column = x; column < x + w; ++column)
            if (sheet.at(column, row) != 0) return true;
    return false;
}

// Frame numbers of a LINE value, read the way the game reads them: delay in
// characters 0..3, loop flag at 5, two-digit frames from 7 on, each followed by ';'
// (end) or one separator. Nothing, with a message, when the value would make the
// game read past its end.
std::optional<std::vector<int>> parseLineFrames(const std::string& value, std::string& problem) {
    if (value.size() < 10 || !isDigits(std::string_view(value).substr(0, 4))) {
        problem = "expected 'dddd,Y,ff,ff;' (four-digit delay, loop flag, two-digit frames ending "
                  "in ';')";
        return std::nullopt;
    }
    std::vector<int> frames;
    size_t at = 7;
    while (true) {
        if (at + 2 >= value.size() || !isDigits(std::string_view(value).substr(at, 2))) {
            problem = "frame list must be two-digit numbers ending in ';'";
            return std::nullopt;
        }
        frames.push_back((value[at] - '0') * 10 + (value[at + 1] - '0'));
        if (frames.size() > 126) {
            problem = "more than 126 frames";
            return std::nullopt;
        }
        if (value[at + 2] == ';') return frames;
        at += 3;
    }
}

} // namespace

bool checkEnemyDefinition(const std::string& text, const std::string& fileName,
                          const IndexedImage& enemySheet, std::vector<std::string>& errors) {
    const size_t errorsBefore = errors.size();
    const Profile profile = readProfile(text, fileName, errors);
    auto failAt = [&](int line, const std::string& message) {
        errors.push_back(locate(fileName, line, message));
    };
    auto failFile = [&](const std::string& message) {
        errors.push_back(fileName + ": " + message);
    };

    if (!findValue(profile, "GENERAL", "NAME")) failFile("[GENERAL] NAME is missing");
    const ProfileValue* size = findValue(profile, "GENERAL", "SIZE");
    const ProfileValue* inset = findValue(profile, "GENERAL", "YASE");
    std::optional<std::pair<int, int>> frameSize;
    if (!size)
        failFile("[GENERAL] SIZE is missing");
    else if (!(frameSize = parsePair(size->text)) || frameSize->first <= 0 ||
             frameSize->second <= 0)
        failAt(size->line, "SIZE must be 'width,height' with positive sizes");
    if (!inset)
        failFile("[GENERAL] YASE is missing");
    else if (const auto value = parseInteger(inset->text); !value || *value < 0)
        failAt(inset->line, "YASE must be a whole number >= 0");

    int frameCount = 0;
    while (frameCount < 128) {
        const ProfileValue* pat = findValue(profile, "PAT", twoDigitKey(frameCount));
        if (!pat) break;
        const auto corner = parsePair(pat->text);
        if (!corner) {
            failAt(pat->line, "PAT value must be 'x,y'");
        } else if (frameSize) {
            const int x = corner->first, y = corner->second, w = frameSize->first,
                      h = frameSize->second;
            // Compared so that no sum of two file values can overflow.
            if (x < 0 || y < 0 || x > enemySheet.width - w || y > enemySheet.height - h)
                failAt(pat->line, "frame rectangle reaches outside the " +
                                      std::to_string(enemySheet.width) + "x" +
                                      std::to_string(enemySheet.height) + " enemy sheet");
            else if (!holdsPixels(enemySheet, x, y, w, h))
                failAt(pat->line, "frame rectangle holds no pixels");
        }
        ++frameCount;
    }
    if (frameCount == 0) failFile("[PAT] 00 is missing");
    if (const auto pats = profile.find("PAT");
        pats != profile.end() && pats->second.size() > size_t(frameCount))
        failFile("[PAT] keys after the first gap are never read");

    int lineCount = 0;
    while (lineCount < 16) {
        const ProfileValue* line = findValue(profile, "LINE", twoDigitKey(lineCount));
        if (!line) break;
        std::string problem;
        const auto frames = parseLineFrames(line->text, problem);
        if (!frames)
            failAt(line->line, problem);
        else
            for (int frame : *frames)
                if (frame >= frameCount)
                    failAt(line->line, "frame " + std::to_string(frame) + " is not a PAT frame");
        ++lineCount;
    }
    if (lineCount == 0) failFile("[LINE] 00 is missing");
    if (const auto lines = profile.find("LINE");
        lines != profile.end() && lines->second.size() > size_t(lineCount))
        failFile("[LINE] keys after the first gap are never read");
    return errors.size() == errorsBefore;
}
