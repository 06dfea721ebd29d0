#pragma once

#include "icalexport/CalendarEntries.h"
#include "icalexport/IcalWriter.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

// Lets `write` fill a new file beside the target and renames it into place, so the target
// holds either its old content or all of the new one. Failures throw DbError; no file is left.
void replaceFileWith(const QString &target,
                     const std::function<void(const CalendarSink &sink)> &write);

// Exports the races of the database from today on into the calendar file at target.
CalendarPlan exportCalendar(const QString &databasePath, const QString &target,
                            const QDateTime &now);

// "12 Termine für 5 Läufe exportiert; 1 Lauf ohne gültiges Datum übersprungen."
QString calendarExportMessage(const CalendarPlan &plan);
