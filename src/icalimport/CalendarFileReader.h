// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QTime>
#include <QTimeZone>

#include <stdexcept>
#include <vector>

// One event of a calendar file, at its date and time in the user's zone.
struct CalendarEvent
{
    int line = 0; // where the event begins in the file, counted from 1
    QString uid;
    QString summary;
    QString location;
    QString description;
    QString url;
    QDate date;
    QTime time; // invalid: an all-day event
    bool repeats = false; // shown at its next occurrence from today
};

// An event that could not be read, and why (in German).
struct SkippedEvent
{
    int line = 0;
    QString summary;
    QString reason;
};

struct CalendarFile
{
    std::vector<CalendarEvent> events; // in the file's order
    std::vector<SkippedEvent> skipped;
    int cancelled = 0; // STATUS:CANCELLED, left out
};

// A file that cannot be read as a whole; the text says what is wrong, in German.
class CalendarFileError : public std::runtime_error
{
public:
    explicit CalendarFileError(const QString &text)
        : std::runtime_error(text.toStdString())
        , m_text(text)
    {
    }
    const QString &text() const { return m_text; }

private:
    QString m_text;
};

// Largest calendar file read: a season of a whole country's races is far smaller.
inline constexpr qint64 kMaxCalendarBytes = qint64(20) * 1024 * 1024;

// The zone the user's dates and times are shown in: the system's, or Europe/Berlin when the
// system names none.
QTimeZone userTimeZone();

// Reads the events of an iCalendar text. A repeating event is given at its first occurrence on
// or after `today` (its last one when none is left). Throws CalendarFileError when the text is
// no complete iCalendar in UTF-8 or holds no event that can be read.
CalendarFile readCalendar(const QByteArray &bytes, const QTimeZone &zone, const QDate &today);
// The same from a file, opened for reading only.
CalendarFile readCalendarFile(const QString &path, const QTimeZone &zone, const QDate &today);
