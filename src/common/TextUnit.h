#pragma once

#include <QChar>

// A character of a QString or a byte of UTF-8 as one code unit, for readers written once for
// both: digits, points and colons are the same in either.
inline char16_t textUnit(QChar c)
{
    return c.unicode();
}
inline char16_t textUnit(char c)
{
    return char16_t(static_cast<unsigned char>(c));
}
