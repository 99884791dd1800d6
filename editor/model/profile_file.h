// Windows profile files as the editor reads them (the enemy definitions and
// "exp.dat"): sections and keys in any letter case, the first match wins,
// values trimmed of blanks and of one pair of surrounding quotes.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

class ProfileFile {
  public:
    // A file that cannot be read has no keys.
    static ProfileFile read(const QString& path);
    static ProfileFile fromBytes(const QByteArray& bytes);

    bool exists() const { return exists_; }
    // The value's bytes, or nothing when the section or key is missing.
    std::optional<QByteArray> value(const QByteArray& section, const QByteArray& key) const;
    // The value cut to bufferSize - 1 bytes, or the fallback when missing.
    QByteArray value(const QByteArray& section, const QByteArray& key, const QByteArray& fallback,
                     int bufferSize = 256) const;
    // Every key the file holds with its section, in file order and capitals.
    std::vector<std::pair<QByteArray, QByteArray>> keys() const;

  private:
    struct Entry {
        int section;    // which section header, counted in file order
        QByteArray key; // in capitals
        QByteArray value;
    };
    std::vector<QByteArray> sections_; // names in capitals, in file order
    std::vector<Entry> entries_;
    bool exists_ = false;
};
