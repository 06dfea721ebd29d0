// SPDX-License-Identifier: GPL-3.0-or-later
// Reading calendar files: the forms of a start, repeating and cancelled events, bad input.
#include "IcsText.h"
#include "icalimport/CandidateRaces.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
QString describe(const CalendarFile &file)
{
    QStringList lines;
    for (const CalendarEvent &e : file.events)
        lines << e.date.toString(QStringLiteral("dd.MM.yyyy")) + u' '
                + (e.time.isValid() ? e.time.toString(QStringLiteral("hh:mm"))
                                    : QStringLiteral("-"))
                + u' ' + e.summary;
    return lines.join(QStringLiteral(" | "));
}

QString errorOf(const QByteArray &bytes)
{
    try {
        readText(bytes);
    } catch (const CalendarFileError &e) {
        return e.text();
    }
    return QStringLiteral("(kein Fehler)");
}
} // namespace

TEST(CalendarReader, GivesEveryFormOfStartInTheUsersZone)
{
    const QTimeZone utc = QTimeZone::utc();
    const struct
    {
        const char *start;
        const QTimeZone &zone;
        const char *expected; // "dd.MM.yyyy hh:mm", "-" for no time
    } cases[] = {
        { "DTSTART;TZID=Europe/Berlin:20270501T093000", berlin(), "01.05.2027 09:30" },
        { "DTSTART;TZID=Europe/Berlin:20270501T093000", utc, "01.05.2027 07:30" },
        { "DTSTART;TZID=Europe/Berlin:20270115T093000", utc, "15.01.2027 08:30" },
        { "DTSTART:20270501T073000Z", berlin(), "01.05.2027 09:30" },
        { "DTSTART:20270115T073000Z", berlin(), "15.01.2027 08:30" },
        // Late in the evening in UTC is the next day in Berlin.
        { "DTSTART:20271231T233000Z", berlin(), "01.01.2028 00:30" },
        { "DTSTART;TZID=America/New_York:20270704T100000", berlin(), "04.07.2027 16:00" },
        // Floating: the same clock time wherever the user is.
        { "DTSTART:20270501T093000", berlin(), "01.05.2027 09:30" },
        { "DTSTART:20270501T093000", utc, "01.05.2027 09:30" },
        { "DTSTART;VALUE=DATE:20270501", berlin(), "01.05.2027 -" },
        { "DTSTART;VALUE=DATE:20270501", utc, "01.05.2027 -" },
        // Outlook's zone names, without a definition in the file.
        { "DTSTART;TZID=W. Europe Standard Time:20270501T093000", utc, "01.05.2027 07:30" },
    };
    for (const auto &c : cases) {
        const CalendarFile file = readText(ics(vevent(QStringLiteral("a"), QLatin1String(c.start),
                                                      QStringLiteral("SUMMARY:Lauf\n"))),
                                           c.zone);
        EXPECT_EQ(describe(file), QLatin1String(c.expected) + QStringLiteral(" Lauf"))
            << c.start << " in " << c.zone.id().constData();
    }
}

TEST(CalendarReader, KeepsUmlautsEscapesAndFoldedLines)
{
    const QByteArray bytes
        = ics(QStringLiteral("BEGIN:VEVENT\nUID:x@verein\nDTSTART;VALUE=DATE:20270605\n"
                             "SUMMARY:Rhöner Straßenlauf\\, 10 km\nLOCATION:Stadion am Wald\\, "
                             "Waldweg 3\\, 12345 Gersfeld\nDESCRIPTION:Startgeld 12 €\\nNachmel"
                             "dung mög\n lich bis eine Stunde vor dem Start.\n"
                             "URL:https://verein.example/lauf\nEND:VEVENT\n"));
    const CalendarFile file = readText(bytes);
    ASSERT_EQ(file.events.size(), 1u);
    const CalendarEvent &e = file.events[0];
    EXPECT_EQ(e.uid, QStringLiteral("x@verein"));
    EXPECT_EQ(e.summary, QStringLiteral("Rhöner Straßenlauf, 10 km"));
    EXPECT_EQ(e.location, QStringLiteral("Stadion am Wald, Waldweg 3, 12345 Gersfeld"));
    EXPECT_EQ(e.description,
              QStringLiteral("Startgeld 12 €\nNachmeldung möglich bis eine Stunde vor dem Start."));
    EXPECT_EQ(e.url, QStringLiteral("https://verein.example/lauf"));
    EXPECT_EQ(e.line, 4);
}

TEST(CalendarReader, OffersARepeatingEventAtItsNextOccurrenceFromToday)
{
    const QString yearly = QStringLiteral("DTSTART;VALUE=DATE:20200612");
    const struct
    {
        QString events;
        const char *expected;
    } cases[] = {
        { vevent("r", yearly, "SUMMARY:Volkslauf\nRRULE:FREQ=YEARLY\n"), "12.06.2027 - Volkslauf" },
        // Today is the next occurrence.
        { vevent("r", "DTSTART:20191208T100000", "SUMMARY:Nikolauslauf\nRRULE:FREQ=YEARLY\n"),
          "08.12.2026 10:00 Nikolauslauf" },
        // A series that has ended stands at its last occurrence.
        { vevent("r", yearly, "SUMMARY:Volkslauf\nRRULE:FREQ=YEARLY;COUNT=3\n"),
          "12.06.2022 - Volkslauf" },
        { vevent("r", yearly, "SUMMARY:Volkslauf\nRRULE:FREQ=YEARLY\nEXDATE;VALUE=DATE:20270612\n"),
          "12.06.2028 - Volkslauf" },
        // An occurrence moved by an override is offered as moved, and only once.
        { vevent("r", yearly, "SUMMARY:Volkslauf\nRRULE:FREQ=YEARLY\n")
              + vevent("r", "DTSTART;VALUE=DATE:20270613",
                       "RECURRENCE-ID;VALUE=DATE:20270612\nSUMMARY:Volkslauf (Sonntag)\n"),
          "13.06.2027 - Volkslauf (Sonntag)" },
        { vevent("r", yearly, "SUMMARY:Volkslauf\nRRULE:FREQ=YEARLY\n")
              + vevent("r", "DTSTART;VALUE=DATE:20270612",
                       "RECURRENCE-ID;VALUE=DATE:20270612\nSUMMARY:Volkslauf\nSTATUS:CANCELLED\n"),
          "12.06.2028 - Volkslauf" },
        { vevent("r", "DTSTART;TZID=Europe/Berlin:20260105T183000",
                 "SUMMARY:Lauftreff\nRRULE:FREQ=WEEKLY;BYDAY=MO\n"),
          "14.12.2026 18:30 Lauftreff" },
    };
    for (const auto &c : cases) {
        const CalendarFile file = readText(ics(c.events));
        EXPECT_EQ(describe(file), QLatin1String(c.expected)) << c.events.toStdString();
        ASSERT_FALSE(file.events.empty());
        EXPECT_TRUE(file.events[0].repeats);
    }
}

TEST(CalendarReader, LeavesCancelledEventsOutAndCountsThem)
{
    const CalendarFile file = readText(ics(
        vevent("a", "DTSTART;VALUE=DATE:20270501", "SUMMARY:Abgesagt\nSTATUS:CANCELLED\n")
        + vevent("b", "DTSTART;VALUE=DATE:20270502", "SUMMARY:Findet statt\nSTATUS:CONFIRMED\n")
        + vevent("c", "DTSTART;VALUE=DATE:20270503", "SUMMARY:Auch abgesagt\nSTATUS:CANCELLED\n")));
    EXPECT_EQ(describe(file), QStringLiteral("02.05.2027 - Findet statt"));
    EXPECT_EQ(file.cancelled, 2);
}

TEST(CalendarReader, RefusesAFileThatIsNoCompleteCalendarSayingWhatIsWrong)
{
    const QByteArray good = ics(vevent("a", "DTSTART;VALUE=DATE:20270501", "SUMMARY:Lauf\n"));
    const struct
    {
        QByteArray bytes;
        const char *says;
    } cases[] = {
        { "", "Die Datei ist leer." },
        { " \r\n\r\n", "Die Datei ist leer." },
        { "Name;Datum\r\nStadtlauf;01.05.2027\r\n", "keine Kalenderdatei im iCalendar-Format" },
        { "BEGIN:VCARD\r\nFN:Max\r\nEND:VCARD\r\n", "keine Kalenderdatei im iCalendar-Format" },
        { good.left(good.size() - 30), "unvollständig" },
        { good.left(good.indexOf("SUMMARY") + 4), "unvollständig" },
        { ics(QString()), "keine Termine (VEVENT)" },
        { ics("BEGIN:VTODO\nUID:t\nSUMMARY:Schuhe kaufen\nEND:VTODO\n"), "keine Termine (VEVENT)" },
        { QByteArray(good).replace("Lauf", "L\xf6wenlauf"),
          "nicht in UTF-8 geschrieben (Zeile 7)" },
        { QByteArray(good).replace("Lauf", QByteArray("L\0f", 3)), "Binärdaten" },
        { ics(vevent("a", "DTSTART:", "SUMMARY:Ohne Datum\n")),
          "Zeile 4: DTSTART ohne gültiges Datum" },
    };
    for (const auto &c : cases)
        EXPECT_TRUE(errorOf(c.bytes).contains(QString::fromUtf8(c.says)))
            << errorOf(c.bytes).toStdString() << " / expected: " << c.says;
}

TEST(CalendarReader, SkipsBadEventsAmongGoodOnesAndNamesThem)
{
    const CalendarFile file = readText(ics(
        vevent("1", "DTSTART;VALUE=DATE:20270501", "SUMMARY:Guter Lauf\n")
        + vevent("2", "DTSTART;VALUE=DATE:20270502", "SUMMARY:Kaputte Zeile\ndas ist keine Zeile\n")
        + vevent("3", "DTSTART:T093000", "SUMMARY:Uhrzeit ohne Datum\n")
        + vevent("4", "DTSTART;VALUE=DATE:20270504", "DESCRIPTION:ohne Namen\n")
        + QStringLiteral("BEGIN:VEVENT\nUID:5\nSUMMARY:Ohne Beginn\nEND:VEVENT\n")
        + vevent("6", "DTSTART;VALUE=DATE:20270506", "SUMMARY:Noch ein guter Lauf\n")));
    EXPECT_EQ(describe(file),
              QStringLiteral("01.05.2027 - Guter Lauf | 06.05.2027 - Noch ein guter Lauf"));
    EXPECT_EQ(skippedMessage(file),
              QStringLiteral("4 Termine der Kalenderdatei sind fehlerhaft und werden nicht "
                             "angeboten:\n"
                             "Zeile 9 („Kaputte Zeile“): fehlerhafte Zeile „das ist keine Zeile“\n"
                             "Zeile 15 („Uhrzeit ohne Datum“): DTSTART ohne gültiges Datum\n"
                             "Zeile 20: ohne Namen (SUMMARY)\n"
                             "Zeile 25 („Ohne Beginn“): ohne Datum (DTSTART)"));
}

TEST(CalendarReader, ReadsTheFileWithoutChangingItAndRefusesOneTooLarge)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("termine.ics");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const QByteArray bytes = ics(vevent("a", "DTSTART;VALUE=DATE:20270501", "SUMMARY:Lauf\n"));
    file.write(bytes);
    file.close();
    ASSERT_TRUE(file.setPermissions(QFile::ReadOwner));
    const QDateTime modified = QFileInfo(path).lastModified();
    EXPECT_EQ(readCalendarFile(path, berlin(), testToday()).events.size(), 1u);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), bytes);
    file.close();
    EXPECT_EQ(QFileInfo(path).lastModified(), modified);

    const QString big = dir.filePath("gross.ics");
    QFile large(big);
    ASSERT_TRUE(large.open(QIODevice::WriteOnly));
    large.write(bytes.left(bytes.size() - 15));
    ASSERT_TRUE(large.resize(50 * 1024 * 1024));
    large.close();
    const auto errorOfFile = [](const QString &p) {
        try {
            readCalendarFile(p, berlin(), testToday());
        } catch (const CalendarFileError &e) {
            return e.text();
        }
        return QString();
    };
    EXPECT_EQ(errorOfFile(big),
              QStringLiteral("Die Datei ist mit 50,0 MB zu groß für eine "
                             "Kalenderdatei: Strivo liest Kalenderdateien bis "
                             "20,0 MB."));
    EXPECT_TRUE(errorOfFile(dir.filePath("fehlt.ics")).contains(QStringLiteral("nicht gefunden")));
}
