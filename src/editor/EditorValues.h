#pragma once

#include <QString>

// Value conversions of the race editor between the record's fields and what the window shows.

// One half of a start time as stored: "7" -> "07", "14" -> "14", "" or "0" -> "00".
QString startTimePart(const QString &comboText);

// A stored date for a date label: "dd.mm.yyyy, dddd" when it is a date, else the text unchanged.
QString dateWithWeekdayOrText(const QString &stored);

// True when the text is a date the program stores ("dd.mm.yyyy", also with ", weekday").
bool isDateText(const QString &text);
