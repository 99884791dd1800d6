#include "formats/shift_jis.h"

#include <cerrno>
#include <cstdio>
#include <iconv.h>

namespace {

// One converter per direction, opened on first use and kept: the game is
// single-threaded and converts on every GDI text call.
class Converter {
  public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Converter() {
        if (usable()) {
            iconv_close(handle_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool usable() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // Converts the whole input; each byte that cannot be converted is skipped
    // and the replacement written in its place.
    std::string convert(std::string_view input, std::string_view replacement, int skipUnit) {
        std::string output;
        if (!usable()) {
            return output;
        }
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(input.data());
        size_t inLeft = input.size();
        char buffer[256];
        while (inLeft > 0) {
            char* out = buffer;
            size_t outLeft = sizeof buffer;
            size_t result = iconv(handle_, &in, &inLeft, &out, &outLeft);
            output.append(buffer, size_t(out - buffer));
            if (result != size_t(-1)) {
                continue;
            }
            if (errno == E2BIG) {
                continue;
            }
            // EILSEQ or EINVAL (a sequence cut off at the end): replace and move on.
            output.append(replacement);
            size_t skip = skipInvalid(in, inLeft, skipUnit);
            in += skip;
            inLeft -= skip;
            iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        }
        return output;
    }

  private:
    // For UTF-8 input a whole malformed or unmappable sequence is skipped, so
    // one character gives one "?"; for Shift-JIS one byte at a time.
    static size_t skipInvalid(const char* in, size_t inLeft, int skipUnit) {
        if (skipUnit == 1) {
            return 1;
        }
        size_t length = 1;
        while (length < inLeft && (static_cast<unsigned char>(in[length]) & 0xC0) == 0x80 &&
               length < 4) {
            ++length;
        }
        return length;
    }

    iconv_t handle_;
};

Converter& fromSjis() {
    static Converter converter("UTF-8", "CP932");
    return converter;
}

Converter& toSjis() {
    static Converter converter("CP932", "UTF-8");
    return converter;
}

// --- The strict converters ---

// Length of the UTF-8 sequence starting at text[pos], or 0 when it is malformed.
std::size_t utf8SequenceLength(const std::string& text, std::size_t pos, char32_t& codePoint) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead < 0x80) return codePoint = lead, 1;
    if ((lead & 0xE0) == 0xC0)
        length = 2, value = lead & 0x1F, minimum = 0x80;
    else if ((lead & 0xF0) == 0xE0)
        length = 3, value = lead & 0x0F, minimum = 0x800;
    else if ((lead & 0xF8) == 0xF0)
        length = 4, value = lead & 0x07, minimum = 0x10000;
    else
        return 0;
    if (pos + length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) return 0;
        value = (value << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and values past Unicode are not characters.
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    codePoint = value;
    return length;
}

std::string describeCodePoint(char32_t codePoint, const std::string& utf8) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(codePoint));
    return std::string(name) + " '" + utf8 + "'";
}

// One iconv descriptor per call keeps this free of shared state; the builder
// encodes a few hundred lines, so the cost does not matter.
class Cp932Converter {
  public:
    Cp932Converter() : descriptor_(iconv_open("CP932", "UTF-8")) {}
    ~Cp932Converter() {
        if (valid()) iconv_close(descriptor_);
    }
    Cp932Converter(const Cp932Converter&) = delete;
    Cp932Converter& operator=(const Cp932Converter&) = delete;

    bool valid() const { return descriptor_ != reinterpret_cast<iconv_t>(-1); }

    // Converts one whole character; false when code page 932 cannot hold it.
    bool convert(const char* in, std::size_t length, std::string& out) {
        char buffer[16];
        char* input = const_cast<char*>(in);
        char* output = buffer;
        std::size_t inLeft = length;
        std::size_t outLeft = sizeof buffer;
        if (iconv(descriptor_, &input, &inLeft, &output, &outLeft) == static_cast<std::size_t>(-1))
            return false;
        // Flush any shift state so each character stands alone.
        if (iconv(descriptor_, nullptr, nullptr, &output, &outLeft) == static_cast<std::size_t>(-1))
            return false;
        out.append(buffer, output);
        return inLeft == 0;
    }

  private:
    iconv_t descriptor_;
};

std::string describeBytes(const std::string& bytes, std::size_t at, std::size_t count) {
    std::string text;
    for (std::size_t i = at; i < at + count && i < bytes.size(); ++i) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%s%02X", text.empty() ? "0x" : "",
                      static_cast<unsigned char>(bytes[i]));
        text += hex;
    }
    return text;
}

// The character at bytes[at] to UTF-8; false when CP932 has no such code.
bool decodeOne(iconv_t descriptor, const std::string& bytes, std::size_t at, std::size_t length,
               std::string& out) {
    char buffer[16];
    char* input = const_cast<char*>(bytes.data() + at);
    char* output = buffer;
    std::size_t inLeft = length;
    std::size_t outLeft = sizeof buffer;
    const bool converted =
        iconv(descriptor, &input, &inLeft, &output, &outLeft) != static_cast<std::size_t>(-1) &&
        inLeft == 0;
    iconv(descriptor, nullptr, nullptr, nullptr, nullptr);
    if (converted) out.append(buffer, output);
    return converted;
}

} // namespace

std::string sjisToUtf8(std::string_view sjis) {
    return fromSjis().convert(sjis, "\xEF\xBF\xBD", 1);
}

std::string utf8ToSjis(std::string_view utf8) {
    return toSjis().convert(utf8, "?", 0);
}

bool isShiftJisLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

size_t shiftJisCut(std::string_view text, size_t limit) {
    if (text.size() <= limit) return text.size();
    size_t i = 0;
    while (i < limit) {
        const size_t width = isShiftJisLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
        if (i + width > limit) break;
        i += width;
    }
    return i;
}

Cp932Result encodeCp932(const std::string& utf8) {
    Cp932Result result;
    Cp932Converter converter;
    if (!converter.valid()) {
        result.column = 1;
        result.problem = "the C library has no CP932 converter (iconv_open failed)";
        return result;
    }
    std::size_t column = 1;
    for (std::size_t pos = 0; pos < utf8.size(); ++column) {
        char32_t codePoint = 0;
        const std::size_t length = utf8SequenceLength(utf8, pos, codePoint);
        if (length == 0) {
            result.column = column;
            result.problem = "malformed UTF-8";
            return result;
        }
        if (!converter.convert(utf8.data() + pos, length, result.bytes)) {
            result.column = column;
            result.problem =
                describeCodePoint(codePoint, utf8.substr(pos, length)) + " has no code in CP932";
            return result;
        }
        pos += length;
    }
    result.ok = true;
    return result;
}

Cp932Decoded decodeCp932(const std::string& bytes) {
    Cp932Decoded result;
    const iconv_t descriptor = iconv_open("UTF-8", "CP932");
    if (descriptor == reinterpret_cast<iconv_t>(-1)) {
        result.problem = "the C library has no CP932 converter (iconv_open failed)";
        return result;
    }
    // Character by character, so a failure names the bytes it stopped at.
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t length =
            isShiftJisLeadByte(static_cast<unsigned char>(bytes[at])) && at + 1 < bytes.size() ? 2
                                                                                               : 1;
        std::string character;
        if (!decodeOne(descriptor, bytes, at, length, character)) {
            result.offset = at;
            result.problem = describeBytes(bytes, at, length) + " is no Shift-JIS character";
            break;
        }
        const Cp932Result back = encodeCp932(character);
        if (!back.ok || back.bytes != bytes.substr(at, length)) {
            result.offset = at;
            result.problem = describeBytes(bytes, at, length) + " ('" + character +
                             "') would be written back as " +
                             (back.ok ? describeBytes(back.bytes, 0, back.bytes.size())
                                      : std::string("nothing"));
            break;
        }
        result.utf8 += character;
        at += length;
    }
    iconv_close(descriptor);
    result.ok = result.problem.empty();
    if (!result.ok) result.utf8.clear();
    return result;
}
