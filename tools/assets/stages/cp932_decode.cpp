#include "stages/cp932_decode.h"

#include "common/cp932.h"

#include <cstdio>
#include <iconv.h>

namespace {

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

// A CP932 lead byte starts a two-byte character.
bool isLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
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
            isLeadByte(static_cast<unsigned char>(bytes[at])) && at + 1 < bytes.size() ? 2 : 1;
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
