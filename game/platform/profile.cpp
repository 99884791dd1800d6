#include "platform/profile.h"
#include "platform/decimal.h"

#include "platform/ascii_case.h"
#include "platform/file_replace.h"
#include "platform/paths.h"

#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

enum class LineKind { Blank, Comment, Section, Key, Other };

// One line of the file as bytes: [begin, contentEnd) is its text, [contentEnd,
// next) its line end ("\n", "\r\n" or nothing for an unterminated last line).
struct Line {
    size_t begin = 0;
    size_t contentEnd = 0;
    size_t next = 0;
    LineKind kind = LineKind::Other;
    std::string_view name;  // section or key name, trimmed
    std::string_view value; // key value, trimmed
    size_t valueBegin = 0;  // offset in the file where the value's text starts
};

Line classifyLine(const std::string& text, size_t begin, size_t contentEnd, size_t next) {
    Line line;
    line.begin = begin;
    line.contentEnd = contentEnd;
    line.next = next;
    std::string_view whole(text.data() + begin, contentEnd - begin);
    std::string_view content = trim(whole);
    if (content.empty()) {
        line.kind = LineKind::Blank;
        return line;
    }
    if (content.front() == ';') {
        line.kind = LineKind::Comment;
        return line;
    }
    if (content.front() == '[') {
        size_t close = content.rfind(']');
        if (close != std::string_view::npos) {
            line.kind = LineKind::Section;
            line.name = trim(content.substr(1, close - 1));
            return line;
        }
    }
    size_t equals = whole.find('=');
    if (equals == std::string_view::npos) return line;
    line.kind = LineKind::Key;
    line.name = trim(whole.substr(0, equals));
    std::string_view afterEquals = whole.substr(equals + 1);
    size_t valueOffset = 0;
    while (valueOffset < afterEquals.size() && isBlank(afterEquals[valueOffset]))
        ++valueOffset;
    line.valueBegin = begin + equals + 1 + valueOffset;
    line.value = trim(afterEquals);
    return line;
}

std::vector<Line> splitLines(const std::string& text) {
    std::vector<Line> lines;
    size_t begin = 0;
    while (begin < text.size()) {
        size_t newline = text.find('\n', begin);
        size_t next = newline == std::string::npos ? text.size() : newline + 1;
        size_t contentEnd = newline == std::string::npos ? text.size() : newline;
        if (contentEnd > begin && text[contentEnd - 1] == '\r') --contentEnd;
        lines.push_back(classifyLine(text, begin, contentEnd, next));
        begin = next;
    }
    return lines;
}

// Where a section and a key sit in the file. Only the first section of that
// name is searched, as Windows does.
struct Location {
    std::optional<size_t> sectionLine;
    std::optional<size_t> keyLine;
    size_t sectionEnd = 0; // index of the line after the section's last line
};

Location locate(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    Location where;
    size_t i = 0;
    for (; i < lines.size(); ++i) {
        if (lines[i].kind == LineKind::Section && equalsIgnoringAsciiCase(lines[i].name, section)) {
            where.sectionLine = i;
            break;
        }
    }
    if (!where.sectionLine) return where;
    for (++i; i < lines.size() && lines[i].kind != LineKind::Section; ++i) {
        if (!where.keyLine && lines[i].kind == LineKind::Key &&
            equalsIgnoringAsciiCase(lines[i].name, key))
            where.keyLine = i;
    }
    where.sectionEnd = i;
    return where;
}

// GetPrivateProfileString strips one pair of matching surrounding quotes.
std::string_view unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

std::string_view detectLineEnd(const std::string& text) {
    size_t newline = text.find('\n');
    if (newline == std::string::npos) return "\r\n";
    return (newline > 0 && text[newline - 1] == '\r') ? "\r\n" : "\n";
}

bool hasLineBreak(const char* text) {
    return std::strpbrk(text, "\r\n") != nullptr;
}

} // namespace

struct ProfileText::Parsed {
    std::string text;
    std::vector<Line> lines; // views into text
};

ProfileText::ProfileText(const std::string& fileName) {
    auto parsed = std::make_shared<Parsed>();
    if (std::optional<std::string> text = readWholeFile(resolvePath(fileName))) {
        parsed->text = std::move(*text);
        parsed->lines = splitLines(parsed->text);
    }
    parsed_ = std::move(parsed);
}

namespace {

std::optional<std::string> findValue(const std::vector<Line>& lines, const char* section,
                                     const char* key) {
    if (!section || !key) return std::nullopt;
    Location where = locate(lines, trim(section), trim(key));
    if (!where.keyLine) return std::nullopt;
    return std::string(unquote(lines[*where.keyLine].value));
}

} // namespace

int ProfileText::readInt(const char* section, const char* key, int defaultValue) const {
    std::optional<std::string> value = findValue(parsed_->lines, section, key);
    // An empty value counts as missing, as in GetPrivateProfileInt.
    if (!value || value->empty()) return defaultValue;
    return readDecimal(*value).value;
}

std::string ProfileText::readString(const char* section, const char* key, const char* defaultValue,
                                    size_t bufferSize) const {
    std::string result;
    if (std::optional<std::string> value = findValue(parsed_->lines, section, key)) {
        result = std::move(*value);
    } else if (defaultValue) {
        // Windows drops trailing blanks of the default.
        std::string_view fallback(defaultValue);
        while (!fallback.empty() && fallback.back() == ' ')
            fallback.remove_suffix(1);
        result = fallback;
    }
    if (bufferSize == 0) return std::string();
    if (result.size() > bufferSize - 1) result.resize(bufferSize - 1);
    return result;
}

int profileReadInt(const std::string& fileName, const char* section, const char* key,
                   int defaultValue) {
    return ProfileText(fileName).readInt(section, key, defaultValue);
}

std::string profileReadString(const std::string& fileName, const char* section, const char* key,
                              const char* defaultValue, size_t bufferSize) {
    return ProfileText(fileName).readString(section, key, defaultValue, bufferSize);
}

bool profileWriteString(const std::string& fileName, const char* section, const char* key,
                        const char* value) {
    // A line break inside a name or value would forge lines of the file.
    if (!section || !key || !value || hasLineBreak(section) || hasLineBreak(key) ||
        hasLineBreak(value))
        return false;

    std::string path = resolvePath(fileName);
    std::string text;
    struct stat info;
    if (stat(path.c_str(), &info) == 0) {
        std::optional<std::string> existing = readWholeFile(path);
        if (!existing) return false; // never replace a file we could not read
        text = std::move(*existing);
    }

    std::string lineEnd(detectLineEnd(text));
    std::vector<Line> lines = splitLines(text);
    std::string_view sectionName = trim(section);
    std::string_view keyName = trim(key);
    Location where = locate(lines, sectionName, keyName);

    std::string result;
    if (where.keyLine) {
        // Only the value changes; the key's spelling and spacing stay.
        const Line& line = lines[*where.keyLine];
        result.append(text, 0, line.valueBegin);
        result.append(value);
        result.append(text, line.contentEnd, std::string::npos);
    } else {
        std::string newKey = std::string(keyName) + "=" + value + lineEnd;
        size_t insertAt;
        std::string insertion;
        if (where.sectionLine) {
            // After the section's last non-blank line, so blank separators stay
            // before the next section.
            size_t last = *where.sectionLine;
            for (size_t i = last + 1; i < where.sectionEnd; ++i)
                if (lines[i].kind != LineKind::Blank) last = i;
            insertAt = lines[last].next;
            // A last line without a line end gets one; a lone CR is completed.
            if (insertAt > 0 && text[insertAt - 1] == '\r')
                insertion = "\n";
            else if (insertAt == 0 || text[insertAt - 1] != '\n')
                insertion = lineEnd;
            insertion += newKey;
        } else {
            insertAt = text.size();
            if (!text.empty() && text.back() != '\n') insertion = lineEnd;
            insertion += "[" + std::string(sectionName) + "]" + lineEnd + newKey;
        }
        result.append(text, 0, insertAt);
        result.append(insertion);
        result.append(text, insertAt, std::string::npos);
    }
    return replaceFile(path, result);
}
