#include "data/GermanCollation.h"

#include "common/DbError.h"

#include <unicode/ucol.h>
#include <unicode/ucoleitr.h>
#include <unicode/uset.h>
#include <unicode/ustring.h>

#include <QString>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

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

// The upper half of the first primary weight of a text: two texts equal at secondary strength
// have the same primary weights, so they share it. 0 when the text has no primary weight at all.
std::optional<std::uint32_t> firstPrimary(const UChar *text, int32_t length)
{
    UErrorCode status = U_ZERO_ERROR;
    UCollationElements *it = ucol_openElements(collator(), text, length, &status);
    if (U_FAILURE(status))
        return std::nullopt;
    std::optional<std::uint32_t> primary = 0;
    for (;;) {
        const std::int32_t ce = ucol_next(it, &status);
        if (U_FAILURE(status)) {
            primary = std::nullopt;
            break;
        }
        if (ce == UCOL_NULLORDER)
            break;
        // A continuation (marked 0xC0) only ever follows the element whose weight it extends.
        if ((ce & 0xC0) != 0xC0 && (std::uint32_t(ce) >> 16) != 0) {
            primary = std::uint32_t(ce) >> 16;
            break;
        }
    }
    ucol_closeElements(it);
    return primary;
}

// For each ASCII character, the first primary weights a text beginning with it can have: its own,
// or that of a contraction it begins ("L·" in Catalan). A character without a weight of its own
// (a control character) lets a text begin with anything.
struct AsciiLeads
{
    std::array<std::vector<std::uint32_t>, 128> primaries;
    std::array<bool, 128> any {};

    AsciiLeads()
    {
        for (int x = 0; x < 128; ++x) {
            const UChar ch = UChar(x);
            add(x, firstPrimary(&ch, 1));
        }
        UErrorCode status = U_ZERO_ERROR;
        USet *contractions = uset_openEmpty();
        ucol_getContractionsAndExpansions(collator(), contractions, nullptr, false, &status);
        if (U_FAILURE(status))
            any.fill(true);
        const int32_t items = U_SUCCESS(status) ? uset_getItemCount(contractions) : 0;
        for (int32_t i = 0; i < items; ++i) {
            std::array<UChar, 64> text {};
            UChar32 start = 0, end = 0;
            UErrorCode itemStatus = U_ZERO_ERROR;
            const int32_t length = uset_getItem(contractions, i, &start, &end, text.data(),
                                                int32_t(text.size()), &itemStatus);
            if (U_FAILURE(itemStatus)) {
                any.fill(true);
                break;
            }
            if (length == 0) { // a range of single characters: none begins a contraction
                for (UChar32 c = start; c <= end && c < 128; ++c)
                    any[size_t(c)] = true;
            } else if (text[0] < 128) {
                add(text[0], firstPrimary(text.data(), length));
            }
        }
        uset_close(contractions);
    }

    void add(int x, std::optional<std::uint32_t> primary)
    {
        if (!primary || *primary == 0)
            any[size_t(x)] = true;
        else
            primaries[size_t(x)].push_back(*primary);
    }
};

const AsciiLeads &asciiLeads()
{
    thread_local const AsciiLeads leads;
    return leads;
}

} // namespace

std::bitset<256> germanLeadBytes(std::string_view text)
{
    std::bitset<256> all;
    all.set();
    if (text.empty())
        return all;
    // ICU reads damaged UTF-8 its own way; such a text is not narrowed.
    std::vector<UChar> utf16(text.size() + 1);
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8(utf16.data(), int32_t(utf16.size()), &length, text.data(), int32_t(text.size()),
                  &status);
    if (U_FAILURE(status))
        return all;
    const std::optional<std::uint32_t> primary = firstPrimary(utf16.data(), length);
    if (!primary)
        return all;

    std::bitset<256> lead;
    for (int b = 0x80; b < 0x100; ++b)
        lead.set(size_t(b));
    // Compared byte for byte when ICU fails, and by rank when both are plain ASCII.
    const auto first = std::uint8_t(text[0]);
    lead.set(first);
    const auto &rank = asciiRanks().rank;
    const auto &leads = asciiLeads();
    for (int x = 0; x < 128; ++x) {
        const auto &p = leads.primaries[size_t(x)];
        if (leads.any[size_t(x)] || std::find(p.begin(), p.end(), *primary) != p.end()
            || (first < 128 && rank[first] != 0 && rank[size_t(x)] == rank[first]))
            lead.set(size_t(x));
    }
    return lead;
}

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
