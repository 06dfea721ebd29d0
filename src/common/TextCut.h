#pragma once

#include <QString>

// The first `length` UTF-16 units of a text, cut only between whole characters: a character
// beyond the Basic Multilingual Plane (an emoji, some CJK) takes two units and is left out
// whole rather than halved. Field limits count units, as the database's text lengths do.
inline QString leftWhole(const QString &text, qsizetype length)
{
    if (text.size() <= length)
        return text;
    if (length > 0 && text.at(length - 1).isHighSurrogate())
        --length;
    return text.left(length);
}
