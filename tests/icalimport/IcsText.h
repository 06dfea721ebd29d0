// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "icalimport/CalendarFileReader.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <ostream>

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList &list, std::ostream *out)
{
    *out << '{' << list.join(QStringLiteral(" ¦ ")).toStdString() << '}';
}

// A calendar around the given events' lines, with CRLF line ends as files have them.
inline QByteArray ics(const QString &events)
{
    QString text = QStringLiteral("BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Test//DE\n") + events
        + QStringLiteral("END:VCALENDAR\n");
    return text.replace(QStringLiteral("\n"), QStringLiteral("\r\n")).toUtf8();
}

// One event: its UID, DTSTART line and further lines.
inline QString vevent(const QString &uid, const QString &start, const QString &more = {})
{
    return QStringLiteral("BEGIN:VEVENT\nUID:%1\n%2\n%3END:VEVENT\n").arg(uid, start, more);
}

inline const QTimeZone &berlin()
{
    static const QTimeZone zone(QByteArrayLiteral("Europe/Berlin"));
    return zone;
}

// The test's today: Tuesday, 08.12.2026.
inline QDate testToday()
{
    return QDate(2026, 12, 8);
}

inline CalendarFile readText(const QByteArray &bytes, const QTimeZone &zone = berlin())
{
    return readCalendar(bytes, zone, testToday());
}
