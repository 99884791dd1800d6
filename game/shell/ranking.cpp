#include "shell/ranking.h"

#include "platform/decimal.h"
#include "platform/game_folders.h"
#include "platform/profile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

std::vector<RankingEntry> rankingTable;

namespace {

constexpr const char* RANKING_SECTION = "RANKING";
constexpr const char* NO_DATA = "NO DATA";
constexpr size_t SHOWN_PLACES = 8;
constexpr size_t VALUE_BUFFER = 1024;

bool lastSaveFailed = false;

bool isScanSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// "%d %s" without sscanf: an out-of-range score wraps modulo 2^32 instead of
// being undefined, and the code word is cut to what the field holds, which
// can never match a six-letter code once it is longer than six.
bool parseRankingValue(std::string_view text, RankingEntry& entry) {
    const DecimalRead score = readDecimal(text);
    if (!score.matched) return false;
    entry.score = uint32_t(score.value);
    size_t i = score.end;

    while (i < text.size() && isScanSpace(text[i]))
        ++i;
    size_t wordStart = i;
    while (i < text.size() && !isScanSpace(text[i]))
        ++i;
    if (i == wordStart) return false;
    size_t kept = std::min(i - wordStart, sizeof entry.code - 1);
    std::memset(entry.code, 0, sizeof entry.code);
    std::memcpy(entry.code, text.data() + wordStart, kept);
    return true;
}

std::string keyName(size_t index) {
    return std::to_string(index);
}

enum class KeyHolds { Nothing, Forgery, Entry };

// What a ranking key of the settings file holds: no entry, an entry whose
// code does not match its score, or an entry that loads.
KeyHolds readRankingKey(const std::string& path, size_t index, RankingEntry& entry) {
    std::string key = keyName(index);
    std::string value =
        profileReadString(path, RANKING_SECTION, key.c_str(), NO_DATA, VALUE_BUFFER);
    if (value == NO_DATA || !parseRankingValue(value, entry)) return KeyHolds::Nothing;
    char expected[8];
    scoreCode(entry.score, expected);
    return std::strcmp(expected, entry.code) == 0 ? KeyHolds::Entry : KeyHolds::Forgery;
}

} // namespace

void scoreCode(uint32_t score, char code[8]) {
    // The score goes through "%d" as the signed value it holds, so a score
    // past 2^31 - 1 formats as a negative number, e.g. "-000005".
    char digits[16];
    std::snprintf(digits, sizeof digits, "%.6d", int32_t(score));
    int d0 = digits[0], d1 = digits[1], d2 = digits[2];
    int d3 = digits[3], d4 = digits[4], d5 = digits[5];
    code[0] = char(d0 + d3 - 31);
    code[1] = char(90 - (d2 - 48) - (d1 - 48));
    code[2] = char(d1 + 29 - (d5 - 48));
    code[3] = char(d5 + d4 - 26);
    code[4] = char(d3 + d2 - 31);
    code[5] = char(d4 + 33 - (d0 - 48));
    code[6] = '\0';
    code[7] = '\0';
}

void loadRanking() {
    rankingTable.clear();
    lastSaveFailed = false;
    std::string path = settingsFilePath();
    for (size_t i = 0; i < SHOWN_PLACES; ++i) {
        RankingEntry entry;
        KeyHolds holds = readRankingKey(path, i, entry);
        if (holds == KeyHolds::Forgery)
            profileWriteString(path, RANKING_SECTION, keyName(i).c_str(), "");
        if (holds == KeyHolds::Entry) rankingTable.push_back(entry);
    }
}

bool insertIntoRanking(uint32_t score) {
    RankingEntry entry;
    entry.score = score;
    scoreCode(score, entry.code);

    size_t walked = std::min(rankingTable.size(), SHOWN_PLACES);
    for (size_t i = 0; i < walked; ++i) {
        if (rankingTable[i].score < score) {
            rankingTable.insert(rankingTable.begin() + std::ptrdiff_t(i), entry);
            return true;
        }
    }
    rankingTable.push_back(entry);
    return walked < SHOWN_PLACES;
}

bool saveRanking() {
    std::string path = settingsFilePath();
    size_t count = std::min(rankingTable.size(), SHOWN_PLACES);
    bool saved = true;
    for (size_t i = 0; i < count; ++i) {
        const RankingEntry& entry = rankingTable[i];
        char code[sizeof entry.code + 1] = {};
        std::memcpy(code, entry.code, sizeof entry.code);
        std::string value = std::to_string(int32_t(entry.score)) + " " + code;
        std::string key = keyName(i);
        saved = profileWriteString(path, RANKING_SECTION, key.c_str(), value.c_str()) && saved;
    }
    // A key past the last entry that still holds a loadable entry (a file
    // with gaps between its keys loads fewer entries than it has keys) would
    // come back as a second copy of a score already saved above: blank it.
    for (size_t i = count; i < SHOWN_PLACES; ++i) {
        RankingEntry stale;
        if (readRankingKey(path, i, stale) == KeyHolds::Entry)
            saved = profileWriteString(path, RANKING_SECTION, keyName(i).c_str(), "") && saved;
    }
    lastSaveFailed = !saved;
    return saved;
}

bool rankingSaveFailed() {
    return lastSaveFailed;
}

std::string settingsFilePath() {
    return currentGameFolders().settingsFile;
}
