#include "data/SqlFunctions.h"

#include "common/GermanText.h"
#include "data/GermanCollation.h"
#include "data/Sqlite.h"

#include <QString>
#include <cstring>
#include <sqlite3.h>
#include <string>

namespace {

QString argText(sqlite3_value *v)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(v));
    return QString::fromUtf8(text, sqlite3_value_bytes(v));
}

// day_number(): the day number of a "dd.mm.yyyy" text. A null or damaged
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

void registerSqlFunctions(sqlite3 *db)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    check(db,
          sqlite3_create_function_v2(db, "day_number", 1, flags, nullptr, dateFunction, nullptr,
                                     nullptr, nullptr));
    check(db,
          sqlite3_create_function_v2(db, "val", 1, flags, nullptr, valFunction, nullptr, nullptr,
                                     nullptr));
    check(db,
          sqlite3_create_function_v2(db, "left_text", 2, flags, nullptr, leftFunction, nullptr,
                                     nullptr, nullptr));
    check(db, sqlite3_create_collation_v2(db, "de", SQLITE_UTF8, nullptr, collateGerman, nullptr));
}
