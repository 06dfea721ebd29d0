#pragma once

#include "icalexport/CalendarEntries.h"

#include <QDateTime>

#include <functional>

// The zone every time of the calendar is given in.
inline constexpr char kCalendarZone[] = "Europe/Berlin";

// SEQUENCE of an export made at this time: seconds since 01.01.2024 (UTC). Every export
// carries a higher number than the one before it, so a calendar that imports the file again
// replaces its copies of the entries instead of keeping the older ones.
int exportSequence(const QDateTime &now);

// Receives the calendar piece by piece.
using CalendarSink = std::function<void(const char *data, std::size_t size)>;

// The entries as an iCalendar file (RFC 5545) with the time zone's definition, written by
// libical one entry at a time, so a long season never sits in memory twice. Throws DbError
// when the zone data are missing.
void writeCalendar(const QList<CalendarEntry> &entries, const QDateTime &now,
                   const CalendarSink &sink);
