#include "platform/sjis.h"

#include <cerrno>
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
