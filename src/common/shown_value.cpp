#include "common/shown_value.h"

#include <cstdint>

namespace {

// Length of the UTF-8 sequence at text[i] of a printable character, 0 when
// the bytes there are no such sequence (or encode a C1 control character or a
// line or paragraph separator, which some terminals take as a line break).
size_t printableSequence(std::string_view text, size_t i)
{
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    const size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
    if (length == 0 || i + length > text.size())
        return 0;
    uint32_t code = lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        code = code << 6 | (byte(i + k) & 0x3F);
    }
    const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool valid = code >= smallest[length] && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
    return valid && code >= 0xA0 && code != 0x2028 && code != 0x2029 ? length : 0;
}

} // namespace

std::string shownValue(std::string_view value)
{
    std::string out;
    size_t shown = 0;  // characters so far
    for (size_t i = 0, used = 1; i < value.size(); i += used) {
        const auto c = static_cast<unsigned char>(value[i]);
        std::string piece;  // what stands for value[i, i + used)
        size_t width = 1;   // its characters
        used = c >= 0x80 ? printableSequence(value, i) : c >= 0x20 && c < 0x7F;
        if (used) {
            piece = value.substr(i, used);
        } else {
            constexpr char hex[] = "0123456789ABCDEF";
            piece = c == '\n' ? "\\n" : c == '\r' ? "\\r" : c == '\t' ? "\\t" : std::string{'\\', 'x', hex[c >> 4], hex[c & 15]};
            used = 1;
            width = piece.size();
        }
        if (shown + width > ShownValueLimit)
            return out + "\u2026";
        out += piece;
        shown += width;
    }
    return out;
}
