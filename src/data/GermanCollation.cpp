#include "data/GermanCollation.h"

#include "common/DbError.h"

#include <unicode/ucol.h>

#include <QString>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>

namespace {

struct CollatorClose
{
    void operator()(UCollator *c) const { ucol_close(c); }
};

UCollator *openCollator()
{
    UErrorCode status = U_ZERO_ERROR;
    UCollator *c = ucol_open("de", &status);
    if (U_FAILURE(status))
        throw DbError(ErrNo::SqlError,
                      QStringLiteral("Die deutsche Sortierung ist nicht verfügbar: ")
                          + QString::fromLatin1(u_errorName(status)));
    // Secondary strength: accents count, case does not.
    ucol_setStrength(c, UCOL_SECONDARY);
    return c;
}

// A collator is not safe to share between threads; each thread gets its own.
UCollator *collator()
{
    thread_local std::unique_ptr<UCollator, CollatorClose> c(openCollator());
    return c.get();
}

// Printable ASCII characters each carry one weight of their own and no accent, so two texts
// made of them alone compare character by character by that weight; case shares it. The ranks
// are taken from the collator itself. Most names are plain ASCII, and ICU's set-up per call costs
// more than such a comparison.
struct AsciiRanks
{
    std::array<std::uint8_t, 128> rank {};

    AsciiRanks()
    {
        std::array<char, 95> chars {};
        for (int i = 0; i < 95; ++i)
            chars[size_t(i)] = char(0x20 + i);
        UCollator *c = collator();
        const auto cmp = [c](char x, char y) {
            UErrorCode status = U_ZERO_ERROR;
            return ucol_strcollUTF8(c, &x, 1, &y, 1, &status);
        };
        std::sort(chars.begin(), chars.end(),
                  [&cmp](char x, char y) { return cmp(x, y) == UCOL_LESS; });
        std::uint8_t next = 1; // 0: not printable ASCII
        for (size_t i = 0; i < chars.size(); ++i) {
            if (i > 0 && cmp(chars[i - 1], chars[i]) != UCOL_EQUAL)
                ++next;
            rank[size_t(std::uint8_t(chars[i]))] = next;
        }
    }
};

const AsciiRanks &asciiRanks()
{
    thread_local const AsciiRanks ranks;
    return ranks;
}

// -1, 0 or 1; 2 when a character is not printable ASCII and ICU must decide.
int compareAscii(std::string_view a, std::string_view b)
{
    const auto &rank = asciiRanks().rank;
    const auto weight = [&rank](char ch) {
        const auto u = std::uint8_t(ch);
        return u < 128 ? rank[u] : std::uint8_t(0);
    };
    const size_t common = std::min(a.size(), b.size());
    int result = 0;
    size_t i = 0;
    for (; i < common; ++i) {
        const std::uint8_t x = weight(a[i]);
        const std::uint8_t y = weight(b[i]);
        if (x == 0 || y == 0)
            return 2;
        if (x != y) {
            result = x < y ? -1 : 1;
            break;
        }
    }
    // Every character counts (an accent further on could not change a difference in letters,
    // but stay on the safe side: the rest must be plain too).
    for (size_t j = i; j < a.size(); ++j)
        if (weight(a[j]) == 0)
            return 2;
    for (size_t j = i; j < b.size(); ++j)
        if (weight(b[j]) == 0)
            return 2;
    if (result != 0)
        return result;
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

} // namespace

int compareGerman(std::string_view a, std::string_view b)
{
    if (const int r = compareAscii(a, b); r != 2)
        return r;
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult r = ucol_strcollUTF8(collator(), a.data(), int32_t(a.size()), b.data(),
                                                int32_t(b.size()), &status);
    if (U_FAILURE(status)) // invalid UTF-8 is compared as ICU replaces it; never fatal
        return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
    return r == UCOL_LESS ? -1 : (r == UCOL_EQUAL ? 0 : 1);
}
