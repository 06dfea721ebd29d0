#include "xls/Utf16.h"

#include <algorithm>
#include <cstdint>

namespace xls {

namespace {

constexpr char32_t replacement = 0xFFFD;

// Decodes one character at text[pos]; advances pos past it (or past the one bad byte).
char32_t decodeOne(std::string_view text, std::size_t &pos)
{
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t lead = byte(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    int extra = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
        cp = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        cp = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        cp = lead & 0x07;
        minimum = 0x10000;
    } else {
        ++pos;
        return replacement;
    }
    std::size_t i = pos + 1;
    for (int k = 0; k < extra; ++k, ++i) {
        if (i >= text.size() || (byte(i) & 0xC0) != 0x80) {
            pos = i; // the bytes read so far form one bad sequence
            return replacement;
        }
        cp = (cp << 6) | (byte(i) & 0x3F);
    }
    pos = i;
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return replacement;
    return cp;
}

} // namespace

std::u16string utf8ToUtf16(std::string_view utf8, std::size_t maxUnits)
{
    std::u16string out;
    utf8ToUtf16(utf8, out, maxUnits);
    return out;
}

void utf8ToUtf16(std::string_view utf8, std::u16string &out, std::size_t maxUnits)
{
    // Never more code units than bytes: room for all at once, cut to what was used at the end.
    out.resize(std::min(utf8.size(), maxUnits));
    char16_t *const units = out.data();
    std::size_t n = 0;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        if (static_cast<std::uint8_t>(utf8[pos]) < 0x80) { // most texts are mostly ASCII
            if (n + 1 > maxUnits)
                break;
            units[n++] = static_cast<char16_t>(utf8[pos++]);
            continue;
        }
        const char32_t cp = decodeOne(utf8, pos);
        if (cp >= 0x10000) {
            if (n + 2 > maxUnits)
                break;
            const char32_t v = cp - 0x10000;
            units[n++] = static_cast<char16_t>(0xD800 + (v >> 10));
            units[n++] = static_cast<char16_t>(0xDC00 + (v & 0x3FF));
        } else {
            if (n + 1 > maxUnits)
                break;
            units[n++] = static_cast<char16_t>(cp);
        }
    }
    out.resize(n);
}

bool isValidUtf8(std::string_view utf8)
{
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        if (static_cast<std::uint8_t>(utf8[pos]) < 0x80) {
            ++pos;
            continue;
        }
        const std::size_t start = pos;
        // A decoded U+FFFD is damage unless the text really holds one (EF BF BD).
        if (decodeOne(utf8, pos) == replacement
            && utf8.substr(start, pos - start) != "\xEF\xBF\xBD")
            return false;
    }
    return true;
}

void normalizeLineBreaks(std::u16string &text)
{
    if (text.find(u'\r') == std::u16string::npos)
        return;
    std::size_t out = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r') {
            text[out++] = u'\n';
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else {
            text[out++] = text[i];
        }
    }
    text.resize(out);
}

void cutToUnits(std::u16string &text, std::size_t maxUnits)
{
    if (text.size() <= maxUnits)
        return;
    const bool splitsPair
        = maxUnits > 0 && text[maxUnits - 1] >= 0xD800 && text[maxUnits - 1] <= 0xDBFF;
    text.resize(splitsPair ? maxUnits - 1 : maxUnits);
}

bool fitsLatin1(std::u16string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c <= 0xFF; });
}

} // namespace xls
