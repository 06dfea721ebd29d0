#include "SqlFunctions.h"

#include "GermanText.h"
#include "Sqlite.h"

#include <QString>
#include <algorithm>
#include <cstring>
#include <sqlite3.h>
#include <string>

namespace {

QString argText(sqlite3_value *v)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(v));
    return QString::fromUtf8(text, sqlite3_value_bytes(v));
}

// datevalue() and cdate(): the day number of a "dd.mm.yyyy" text. A null or damaged
// value gives NULL, so that one bad row never makes a whole list fail.
void dateFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QDate date = parseGermanDate(argText(argv[0]));
    if (date.isValid())
        sqlite3_result_int64(ctx, date.toJulianDay());
    else
        sqlite3_result_null(ctx);
}

// val(): the number a text begins with (blanks skipped), 0 when there is none.
void valFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL:
        sqlite3_result_null(ctx);
        return;
    case SQLITE_INTEGER:
        sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]));
        return;
    case SQLITE_FLOAT:
        sqlite3_result_double(ctx, sqlite3_value_double(argv[0]));
        return;
    default:
        break;
    }
    const auto *p = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
    std::string digits;
    bool seenPoint = false;
    bool sign = false;
    for (; *p; ++p) {
        const char c = *p;
        if (c == ' ' || c == '\t')
            continue;
        if ((c == '-' || c == '+') && digits.empty() && !sign) {
            sign = true;
            digits += c;
        } else if (c >= '0' && c <= '9') {
            digits += c;
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
            digits += c;
        } else {
            break;
        }
    }
    const double value = std::strtod(digits.c_str(), nullptr);
    if (!seenPoint && value >= -9.2e18 && value <= 9.2e18)
        sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(value));
    else
        sqlite3_result_double(ctx, value);
}

// left_text(text, n), the statements' left(): the first n characters; n may be written as a quoted
// number.
void leftFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    long long n = sqlite3_value_int64(argv[1]);
    if (sqlite3_value_type(argv[1]) == SQLITE_TEXT)
        n = sqlite3_value_numeric_type(argv[1]) == SQLITE_INTEGER ? sqlite3_value_int64(argv[1])
                                                                  : 0;
    if (n < 0) {
        sqlite3_result_error(ctx, "left: negative length", -1);
        return;
    }
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
    const int bytes = sqlite3_value_bytes(argv[0]);
    // Walk UTF-8 characters without decoding: a continuation byte starts with 10xxxxxx.
    int end = 0;
    for (long long chars = 0; end < bytes && chars < n; ++chars) {
        ++end;
        while (end < bytes && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            ++end;
    }
    sqlite3_result_text(ctx, text, end, SQLITE_TRANSIENT);
}

// Folds one character at p (UTF-8) to its German sort key, appending up to two bytes to out.
// Returns the number of input bytes consumed.
int foldGerman(const unsigned char *p, size_t left, char out[2], int &outLen)
{
    const unsigned char c = p[0];
    if (c < 0x80) {
        out[0] = static_cast<char>((c >= 'A' && c <= 'Z') ? c + 32 : c);
        outLen = 1;
        return 1;
    }
    if (c == 0xC3 && left >= 2) {
        unsigned char d = p[1];
        if (d >= 0x80 && d <= 0x9E && d != 0x97) // Latin-1 capitals to small letters
            d += 0x20;
        switch (d) {
        case 0xA4: // ä
            out[0] = 'a';
            outLen = 1;
            return 2;
        case 0xB6: // ö
            out[0] = 'o';
            outLen = 1;
            return 2;
        case 0xBC: // ü
            out[0] = 'u';
            outLen = 1;
            return 2;
        case 0x9F: // ß sorts as ss
            out[0] = 's';
            out[1] = 's';
            outLen = 2;
            return 2;
        default:
            break;
        }
        out[0] = static_cast<char>(0xC3);
        out[1] = static_cast<char>(d);
        outLen = 2;
        return 2;
    }
    out[0] = static_cast<char>(c);
    outLen = 1;
    return 1;
}

// de_key(x): the German sort key of a text (what the comparison compares), computed once per
// row so that sorting a long list compares plain bytes. Other values pass unchanged.
void germanKeyFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) != SQLITE_TEXT) {
        sqlite3_result_value(ctx, argv[0]);
        return;
    }
    const auto *p = sqlite3_value_text(argv[0]);
    const auto size = size_t(sqlite3_value_bytes(argv[0]));
    std::string key;
    key.reserve(size + 2);
    char out[2];
    int outLen = 0;
    for (size_t i = 0; i < size;) {
        i += size_t(foldGerman(p + i, size - i, out, outLen));
        key.append(out, size_t(outLen));
    }
    sqlite3_result_text(ctx, key.data(), int(key.size()), SQLITE_TRANSIENT);
}

int collateGerman(void *, int lenA, const void *a, int lenB, const void *b)
{
    return compareGerman(std::string_view(static_cast<const char *>(a), size_t(lenA)),
                         std::string_view(static_cast<const char *>(b), size_t(lenB)));
}

void check(sqlite3 *db, int rc)
{
    if (rc != SQLITE_OK)
        throw sqliteError(rc, QString::fromUtf8(sqlite3_errmsg(db)));
}

} // namespace

int compareGerman(std::string_view a, std::string_view b)
{
    const auto *pa = reinterpret_cast<const unsigned char *>(a.data());
    const auto *pb = reinterpret_cast<const unsigned char *>(b.data());
    // Most names are plain ASCII at their start: compare those bytes without folding tables.
    size_t ia = 0;
    const size_t common = std::min(a.size(), b.size());
    while (ia < common && pa[ia] < 0x80 && pb[ia] < 0x80) {
        const unsigned char ca = (pa[ia] >= 'A' && pa[ia] <= 'Z') ? pa[ia] + 32 : pa[ia];
        const unsigned char cb = (pb[ia] >= 'A' && pb[ia] <= 'Z') ? pb[ia] + 32 : pb[ia];
        if (ca != cb)
            return ca < cb ? -1 : 1;
        ++ia;
    }
    size_t ib = ia;
    char ka[2], kb[2];
    int na = 0, nb = 0, ka_pos = 0, kb_pos = 0;
    while (true) {
        if (ka_pos == na) {
            if (ia >= a.size())
                na = 0;
            else
                ia += size_t(foldGerman(pa + ia, a.size() - ia, ka, na));
            ka_pos = 0;
        }
        if (kb_pos == nb) {
            if (ib >= b.size())
                nb = 0;
            else
                ib += size_t(foldGerman(pb + ib, b.size() - ib, kb, nb));
            kb_pos = 0;
        }
        const bool endA = na == 0, endB = nb == 0;
        if (endA || endB)
            return endA && endB ? 0 : (endA ? -1 : 1);
        const auto ca = static_cast<unsigned char>(ka[ka_pos++]);
        const auto cb = static_cast<unsigned char>(kb[kb_pos++]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
}

void registerSqlFunctions(sqlite3 *db)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    check(db,
          sqlite3_create_function_v2(db, "datevalue", 1, flags, nullptr, dateFunction, nullptr,
                                     nullptr, nullptr));
    check(db,
          sqlite3_create_function_v2(db, "cdate", 1, flags, nullptr, dateFunction, nullptr, nullptr,
                                     nullptr));
    check(db,
          sqlite3_create_function_v2(db, "val", 1, flags, nullptr, valFunction, nullptr, nullptr,
                                     nullptr));
    check(db,
          sqlite3_create_function_v2(db, "left_text", 2, flags, nullptr, leftFunction, nullptr,
                                     nullptr, nullptr));
    check(db,
          sqlite3_create_function_v2(db, "de_key", 1, flags, nullptr, germanKeyFunction, nullptr,
                                     nullptr, nullptr));
    check(db, sqlite3_create_collation_v2(db, "de", SQLITE_UTF8, nullptr, collateGerman, nullptr));
}
