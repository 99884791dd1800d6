#include "platform/decimal.h"

namespace {

bool isScanSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

DecimalRead readDecimal(std::string_view text, size_t from) {
    DecimalRead result;
    result.end = from;
    size_t i = from;
    while (i < text.size() && isScanSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    uint32_t magnitude = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        magnitude = magnitude * 10u + uint32_t(text[i] - '0');
        result.matched = true;
    }
    if (!result.matched) return result;
    result.value = int32_t(negative ? 0u - magnitude : magnitude);
    result.end = i;
    return result;
}
