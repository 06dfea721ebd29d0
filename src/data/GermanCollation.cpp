#include "data/GermanCollation.h"

#include "common/DbError.h"

#include <unicode/ucol.h>

#include <QString>
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
