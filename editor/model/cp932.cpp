#include "cp932.h"

#include <QSet>

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace {

// Undecodable byte b is kept as U+F700 + b, a range that CP932's own
// private-use mapping (U+E000 to U+E757) never produces.
constexpr char16_t RAW_BYTE_BASE = 0xF700;

class Converter {
  public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool valid() const { return handle_ != iconv_t(-1); }

    // Converts as much as it can; false at the first byte it cannot take,
    // with input advanced to it. Output is appended.
    bool convert(const char*& input, size_t& left, QByteArray& output) {
        char buffer[512];
        while (left > 0) {
            char* out = buffer;
            size_t room = sizeof buffer;
            char* in = const_cast<char*>(input);
            const size_t result = iconv(handle_, &in, &left, &out, &room);
            output.append(buffer, int(out - buffer));
            input = in;
            if (result == size_t(-1) && errno != E2BIG) {
                iconv(handle_, nullptr, nullptr, nullptr, nullptr);
                return false;
            }
        }
        return true;
    }

  private:
    iconv_t handle_;
};

} // namespace

QString fromCp932(const QByteArray& bytes) {
    Converter converter("UTF-16LE", "CP932");
    QString text;
    const char* input = bytes.constData();
    size_t left = size_t(bytes.size());
    while (left > 0) {
        QByteArray utf16;
        const bool whole = converter.valid() && converter.convert(input, left, utf16);
        text += QString::fromUtf16(reinterpret_cast<const char16_t*>(utf16.constData()),
                                   utf16.size() / 2);
        if (whole || left == 0) break;
        text += QChar(char16_t(RAW_BYTE_BASE + static_cast<unsigned char>(*input)));
        ++input;
        --left;
    }
    return text;
}

QByteArray toCp932(const QString& text) {
    return toCp932(text, Cp932Forms{});
}

QByteArray toCp932(const QString& text, const Cp932Forms& forms) {
    Converter converter("CP932", "UTF-16LE");
    QByteArray bytes;
    qsizetype start = 0;
    auto flush = [&](qsizetype end) {
        if (end <= start) return;
        const QByteArray utf16(reinterpret_cast<const char*>(text.constData() + start),
                               (end - start) * 2);
        const char* input = utf16.constData();
        size_t left = size_t(utf16.size());
        while (left > 0) {
            if (converter.valid() && converter.convert(input, left, bytes)) break;
            bytes.append('?'); // a character CP932 does not have
            const size_t skip = left >= 2 ? 2 : left;
            input += skip;
            left -= skip;
        }
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c >= RAW_BYTE_BASE && c <= RAW_BYTE_BASE + 0xFF) {
            flush(i);
            bytes.append(char(c - RAW_BYTE_BASE));
            start = i + 1;
        } else if (const auto form = forms.constFind(text.at(i)); form != forms.cend()) {
            flush(i);
            bytes.append(*form);
            start = i + 1;
        }
    }
    flush(text.size());
    return bytes;
}

void collectCp932Forms(const QByteArray& bytes, Cp932Forms& forms) {
    // Only these rows hold codes that are the second of two for a character.
    const auto duplicateRow = [](unsigned char lead) {
        return lead == 0x87 || lead == 0xED || lead == 0xEE || lead >= 0xFA;
    };
    const auto leadByte = [](unsigned char b) {
        return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    };
    Converter decoder("UTF-16LE", "CP932");
    if (!decoder.valid()) return;
    // Every two-byte character in the order read, with its code.
    struct Read {
        QChar character;
        QByteArray code;
    };
    std::vector<Read> read;
    QSet<QChar> twice; // those met in a row of second codes
    for (qsizetype i = 0; i + 1 < bytes.size(); ++i) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (!leadByte(lead)) continue;
        // Two bytes that are no character leave the lead byte on its own,
        // as fromCp932 reads it.
        const QByteArray code = bytes.mid(i, 2);
        const char* input = code.constData();
        size_t left = 2;
        QByteArray utf16;
        if (!decoder.convert(input, left, utf16) || utf16.size() != 2) continue;
        ++i;
        const QChar character(char16_t(static_cast<unsigned char>(utf16[0]) |
                                       static_cast<unsigned char>(utf16[1]) << 8));
        read.push_back({character, code});
        if (duplicateRow(lead)) twice.insert(character);
    }
    // Such a character keeps the code it was first met in, even where that
    // is the code toCp932 picks, so that a later other code does not win.
    for (const Read& r : read)
        if (twice.contains(r.character) && !forms.contains(r.character))
            forms.insert(r.character, r.code);
}
