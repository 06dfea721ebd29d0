#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace xls {

// A cell holds at most this many UTF-16 code units.
constexpr std::size_t maxCellTextUnits = 32767;

// Converts UTF-8 to UTF-16. Invalid or truncated sequences and encoded surrogates become
// U+FFFD, so a damaged text still gives a readable cell. At most maxUnits code units are
// kept, and a character beyond the Basic Multilingual Plane is never cut in half.
std::u16string utf8ToUtf16(std::string_view utf8, std::size_t maxUnits = maxCellTextUnits);
// The same into out (replacing what it held), so that a caller converting many texts reuses
// one buffer.
void utf8ToUtf16(std::string_view utf8, std::u16string &out,
                 std::size_t maxUnits = maxCellTextUnits);

// True when the text is well-formed UTF-8 (no sequence that would become U+FFFD).
bool isValidUtf8(std::string_view utf8);

// Turns CR LF and a lone CR into LF, the line break of a cell.
void normalizeLineBreaks(std::u16string &text);

// Cuts to at most maxUnits code units without splitting a surrogate pair.
void cutToUnits(std::u16string &text, std::size_t maxUnits = maxCellTextUnits);

// True when every code unit fits into one byte (the format's compressed form).
bool fitsLatin1(std::u16string_view text);

} // namespace xls
