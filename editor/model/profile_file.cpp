#include "profile_file.h"

#include <QFile>

namespace {

QByteArray trimmedBlanks(const QByteArray& text) {
    qsizetype begin = 0, end = text.size();
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (begin < end && blank(text[begin]))
        ++begin;
    while (end > begin && blank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

// Only the ASCII letters fold: the trail bytes of double-byte characters stay.
QByteArray capitals(const QByteArray& text) {
    QByteArray result = text;
    for (char& c : result)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return result;
}

QByteArray unquoted(const QByteArray& value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

} // namespace

ProfileFile ProfileFile::read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return ProfileFile();
    ProfileFile profile = fromBytes(file.readAll());
    profile.exists_ = true;
    return profile;
}

ProfileFile ProfileFile::fromBytes(const QByteArray& bytes) {
    ProfileFile profile;
    profile.exists_ = true;
    for (const QByteArray& rawLine : bytes.split('\n')) {
        const QByteArray line = trimmedBlanks(rawLine);
        if (line.isEmpty() || line.front() == ';') continue;
        if (line.front() == '[') {
            const qsizetype close = line.lastIndexOf(']');
            if (close > 0) {
                profile.sections_.push_back(capitals(trimmedBlanks(line.mid(1, close - 1))));
                continue;
            }
        }
        const qsizetype equals = line.indexOf('=');
        if (profile.sections_.empty() || equals < 0) continue;
        profile.entries_.push_back({int(profile.sections_.size()) - 1,
                                    capitals(trimmedBlanks(line.left(equals))),
                                    unquoted(trimmedBlanks(line.mid(equals + 1)))});
    }
    return profile;
}

std::optional<QByteArray> ProfileFile::value(const QByteArray& section,
                                             const QByteArray& key) const {
    // Only the first section of that name is searched, as Windows does.
    const QByteArray wantedSection = capitals(section), wantedKey = capitals(key);
    int first = -1;
    for (size_t i = 0; i < sections_.size() && first < 0; ++i)
        if (sections_[i] == wantedSection) first = int(i);
    if (first < 0) return std::nullopt;
    for (const Entry& entry : entries_)
        if (entry.section == first && entry.key == wantedKey) return entry.value;
    return std::nullopt;
}

QByteArray ProfileFile::value(const QByteArray& section, const QByteArray& key,
                              const QByteArray& fallback, int bufferSize) const {
    QByteArray result = value(section, key).value_or(fallback);
    if (bufferSize > 0 && result.size() > bufferSize - 1) result.truncate(bufferSize - 1);
    return result;
}

std::vector<std::pair<QByteArray, QByteArray>> ProfileFile::keys() const {
    std::vector<std::pair<QByteArray, QByteArray>> found;
    for (const Entry& entry : entries_)
        found.emplace_back(sections_[size_t(entry.section)], entry.key);
    return found;
}
