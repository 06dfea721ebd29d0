#pragma once

#include <QDate>
#include <QString>

// Number as text the way the program joins numbers into messages:
// a non-negative number gets one leading blank.
QString numberText(long long n);
// "1 Lauf", "3 Läufe": a count with the noun in its number.
QString countText(long long n, const char16_t *one, const char16_t *many);

// German names from our own tables, never from the system locale.
QString weekdayName(int dayOfWeek); // 1 = Montag .. 7 = Sonntag
QString weekdayShort(int dayOfWeek); // "Mo" .. "So"
QString monthName(int month); // 1 = Januar

// "dd.mm.yyyy"
QString formatDate(const QDate &date);
// "dd.mm.yyyy, dddd"
QString formatDateWithWeekday(const QDate &date);
// Accepts "d.m.yyyy" / "dd.mm.yyyy", optionally followed by ", weekday".
// Returns an invalid date for anything else.
QDate parseGermanDate(const QString &text);
