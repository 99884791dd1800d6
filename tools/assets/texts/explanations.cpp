#include "explanations.h"

#include "formats/shift_jis.h"

#include <array>
#include <map>
#include <optional>
#include <sstream>

namespace {

constexpr std::array<const char*, 2> kSectionNames = {"MAPCHIP", "ENEMY"};
constexpr int kHighestKind = 255;
// The editor reads a value into 1024 bytes, terminator included; anything
// longer would come back cut, possibly in the middle of a two-byte character.
constexpr std::size_t kMaxValueBytes = 1023;

std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::string at(const std::string& sourceName, int line, const std::string& message) {
    return sourceName + ":" + std::to_string(line) + ": " + message;
}

// A kind in decimal as the editor looks it up: digits only, no leading zero.
std::optional<int> parseKind(const std::string& text) {
    if (text.empty() || text.size() > 3) return std::nullopt;
    for (char c : text)
        if (c < '0' || c > '9') return std::nullopt;
    if (text.size() > 1 && text[0] == '0') return std::nullopt;
    const int kind = std::stoi(text);
    if (kind > kHighestKind) return std::nullopt;
    return kind;
}

bool isKnownSection(const std::string& name) {
    for (const char* known : kSectionNames)
        if (name == known) return true;
    return false;
}

std::vector<std::string> splitLines(const std::string& source) {
    std::vector<std::string> lines;
    std::istringstream stream(source);
    std::string line;
    while (std::getline(stream, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// Parses "a" or "a-b" into an entry's kinds; returns a message on failure.
std::optional<std::string> parseKeyRange(const std::string& key, ExplanationEntry& entry) {
    const auto dash = key.find('-');
    const auto first = parseKind(trim(key.substr(0, dash)));
    const auto last = dash == std::string::npos ? first : parseKind(trim(key.substr(dash + 1)));
    if (!first || !last)
        return "key '" + key + "' is not a kind 0..255 in decimal without leading zeros";
    if (*last < *first) return "range '" + key + "' runs backwards";
    entry.firstKind = *first;
    entry.lastKind = *last;
    return std::nullopt;
}

} // namespace

const ExplanationSection* ExplanationSet::find(const std::string& name) const {
    for (const auto& section : sections)
        if (section.name == name) return &section;
    return nullptr;
}

ExplanationSet parseExplanations(const std::string& source, const std::string& sourceName,
                                 std::vector<std::string>& errors) {
    ExplanationSet set;
    // Where each kind of the current section was first given, to catch
    // duplicates: the editor would only ever see the first of them.
    std::map<std::string, std::map<int, int>> definedAt;
    ExplanationSection* current = nullptr;
    // After a bad section header its entries are skipped rather than each
    // reported as lying outside any section.
    bool skippingSection = false;
    const auto lines = splitLines(source);
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const int lineNumber = static_cast<int>(index) + 1;
        const std::string line = trim(lines[index]);
        if (line.empty() || line[0] == ';') continue;
        if (line.front() == '[') {
            current = nullptr;
            skippingSection = true;
            if (line.back() != ']') {
                errors.push_back(at(sourceName, lineNumber, "unclosed section header"));
                continue;
            }
            const std::string name = trim(line.substr(1, line.size() - 2));
            if (!isKnownSection(name)) {
                errors.push_back(at(sourceName, lineNumber,
                                    "unknown section [" + name + "] (MAPCHIP or ENEMY)"));
                continue;
            }
            if (set.find(name)) {
                errors.push_back(at(sourceName, lineNumber, "section [" + name + "] repeated"));
                continue;
            }
            set.sections.push_back({name, {}});
            current = &set.sections.back();
            skippingSection = false;
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string::npos) {
            errors.push_back(at(sourceName, lineNumber, "expected kind=text"));
            continue;
        }
        if (!current) {
            if (skippingSection) continue;
            errors.push_back(at(sourceName, lineNumber, "entry outside [MAPCHIP] or [ENEMY]"));
            continue;
        }
        ExplanationEntry entry;
        entry.line = lineNumber;
        // Keys are ASCII, so the byte offset of the text is its column.
        const auto rawEquals = lines[index].find('=');
        entry.textColumn =
            static_cast<int>(lines[index].find_first_not_of(" \t", rawEquals + 1)) + 1;
        entry.text = trim(line.substr(equals + 1));
        if (auto problem = parseKeyRange(trim(line.substr(0, equals)), entry)) {
            errors.push_back(at(sourceName, lineNumber, *problem));
            continue;
        }
        if (entry.text.empty()) {
            errors.push_back(at(sourceName, lineNumber, "empty explanation"));
            continue;
        }
        // A value wrapped in double quotes loses them when the editor reads it.
        if (entry.text.size() >= 2 && entry.text.front() == '"' && entry.text.back() == '"') {
            errors.push_back(at(sourceName, lineNumber,
                                "explanation in double quotes would lose them when read"));
            continue;
        }
        auto& seen = definedAt[current->name];
        bool clash = false;
        for (int kind = entry.firstKind; kind <= entry.lastKind; ++kind) {
            const auto found = seen.find(kind);
            if (found != seen.end()) {
                errors.push_back(at(sourceName, lineNumber,
                                    "kind " + std::to_string(kind) + " already given on line " +
                                        std::to_string(found->second)));
                clash = true;
                break;
            }
        }
        if (clash) continue;
        for (int kind = entry.firstKind; kind <= entry.lastKind; ++kind)
            seen[kind] = lineNumber;
        current->entries.push_back(entry);
    }
    return set;
}

std::string writeExplanationFile(const ExplanationSet& set, const std::string& sourceName,
                                 std::vector<std::string>& errors) {
    std::string out;
    bool firstSection = true;
    for (const auto& section : set.sections) {
        if (!firstSection) out += "\r\n";
        firstSection = false;
        out += "[" + section.name + "]\r\n";
        for (const auto& entry : section.entries) {
            const Cp932Result encoded = encodeCp932(entry.text);
            if (!encoded.ok) {
                const int column = entry.textColumn + static_cast<int>(encoded.column) - 1;
                errors.push_back(sourceName + ":" + std::to_string(entry.line) + ":" +
                                 std::to_string(column) + ": " + encoded.problem);
                continue;
            }
            if (encoded.bytes.size() > kMaxValueBytes) {
                errors.push_back(at(sourceName, entry.line,
                                    "explanation is " + std::to_string(encoded.bytes.size()) +
                                        " bytes in Shift-JIS; the editor reads at most " +
                                        std::to_string(kMaxValueBytes)));
                continue;
            }
            for (int kind = entry.firstKind; kind <= entry.lastKind; ++kind)
                out += std::to_string(kind) + "=" + encoded.bytes + "\r\n";
        }
    }
    return out;
}
