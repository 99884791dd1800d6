#include "common/cp932.h"

#include <cerrno>
#include <cstdio>
#include <iconv.h>

namespace {

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

} // namespace

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
