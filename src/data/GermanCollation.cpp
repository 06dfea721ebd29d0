#include "GermanCollation.h"

#include "DbError.h"

#include <unicode/ucol.h>
#include <unicode/ustring.h>

#include <QString>
#include <memory>
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

} // namespace

int compareGerman(std::string_view a, std::string_view b)
{
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult r = ucol_strcollUTF8(collator(), a.data(), int32_t(a.size()), b.data(),
                                                int32_t(b.size()), &status);
    if (U_FAILURE(status)) // invalid UTF-8 is compared as ICU replaces it; never fatal
        return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
    return r == UCOL_LESS ? -1 : (r == UCOL_EQUAL ? 0 : 1);
}

std::string germanSortKey(std::string_view text)
{
    // UTF-16 on the stack for the usual short name; the heap only for long texts.
    UChar small[256];
    std::vector<UChar> large;
    UChar *utf16 = small;
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(utf16, 256, &length, text.data(), int32_t(text.size()), 0xFFFD, nullptr,
                         &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        large.resize(size_t(length) + 1);
        utf16 = large.data();
        status = U_ZERO_ERROR;
        u_strFromUTF8WithSub(utf16, int32_t(large.size()), &length, text.data(),
                             int32_t(text.size()), 0xFFFD, nullptr, &status);
    }
    if (U_FAILURE(status))
        return std::string(text);

    std::string key(size_t(length) * 3 + 16, '\0');
    int32_t size = ucol_getSortKey(collator(), utf16, length,
                                   reinterpret_cast<uint8_t *>(key.data()), int32_t(key.size()));
    if (size > int32_t(key.size())) {
        key.resize(size_t(size));
        size = ucol_getSortKey(collator(), utf16, length, reinterpret_cast<uint8_t *>(key.data()),
                               int32_t(key.size()));
    }
    // The key ends in a zero byte that is not part of the order.
    key.resize(size > 0 ? size_t(size - 1) : 0);
    return key;
}
