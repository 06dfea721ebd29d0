// SPDX-License-Identifier: GPL-3.0-or-later
// Calendar files written by other programs: python3-icalendar and khal, made at test time.
#include "IcsText.h"
#include "KhalHome.h"
#include "icalimport/CandidateRaces.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
// "dd.MM.yyyy hh:mm name | place" of each event, in date order, as the dialog lists them.
QStringList listed(const CalendarFile &file)
{
    QStringList lines;
    for (const Candidate &c : candidatesOf(file, {}, testToday()))
        lines << c.event.date.toString(QStringLiteral("dd.MM.yyyy")) + u' '
                + (c.event.time.isValid() ? c.event.time.toString(QStringLiteral("hh:mm"))
                                          : QStringLiteral("--:--"))
                + u' ' + c.name + QStringLiteral(" | ") + c.place;
    return lines;
}

// The system's Python: its icalendar package comes with Debian.
const char *const kPython = "/usr/bin/python3";

const char *const kPythonScript = R"(
import sys, datetime, icalendar, pytz
cal = icalendar.Calendar()
cal.add('prodid', '-//Verein//Laufkalender//DE')
cal.add('version', '2.0')
def event(uid, summary, start, **more):
    e = icalendar.Event()
    e.add('uid', uid)
    e.add('summary', summary)
    e.add('dtstart', start)
    for key, value in more.items():
        e.add(key, value)
    cal.add_component(e)
berlin = pytz.timezone('Europe/Berlin')
event('1', 'Köln-Marathon', berlin.localize(datetime.datetime(2027, 10, 3, 8, 30)),
      location='Köln, Deutz, Ottoplatz', url='https://koeln-marathon.example/')
event('2', 'Würzburger Residenzlauf', datetime.datetime(2027, 4, 25, 8, 0, tzinfo=pytz.utc))
event('3', 'Floating-Lauf', datetime.datetime(2027, 3, 14, 10, 15))
event('4', 'Rhöner Straßenlauf', datetime.date(2027, 6, 5),
      description='Ein langer Text über die Strecke, der über fünfundsiebzig Zeichen '
                  'hinausgeht und deshalb in der Datei gefaltet wird. Ölbad, Ärger, Übermut.')
event('5', 'Silvesterlauf', datetime.date(2019, 12, 31), rrule={'freq': 'yearly'})
event('6', 'Abgesagter Lauf', datetime.date(2027, 5, 1), status='CANCELLED')
sys.stdout.buffer.write(cal.to_ical())
)";
} // namespace

TEST(RealCalendarFiles, ReadsAFileWrittenByPythonIcalendar)
{
    if (!QFile::exists(kPython))
        GTEST_SKIP() << "python3 fehlt";
    QProcess python;
    python.start(kPython, { "-c", kPythonScript });
    ASSERT_TRUE(python.waitForFinished(60000));
    const QByteArray bytes = python.readAllStandardOutput();
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    // The long description is folded.
    ASSERT_TRUE(bytes.contains("\r\n ")) << bytes.toStdString();

    const CalendarFile file = readText(bytes);
    EXPECT_EQ(
        listed(file),
        QStringList({ "31.12.2026 --:-- Silvesterlauf | ", "14.03.2027 10:15 Floating-Lauf | ",
                      "25.04.2027 10:00 Würzburger Residenzlauf | ",
                      "05.06.2027 --:-- Rhöner Straßenlauf | ",
                      "03.10.2027 08:30 Köln-Marathon | Köln" }))
        << bytes.toStdString();
    EXPECT_EQ(file.cancelled, 1);
    for (const CalendarEvent &e : file.events)
        if (e.summary == QStringLiteral("Rhöner Straßenlauf")) {
            EXPECT_TRUE(e.description.endsWith(QStringLiteral("Ölbad, Ärger, Übermut.")));
        }
}

TEST(RealCalendarFiles, ReadsTheFilesKhalWrites)
{
    if (QStandardPaths::findExecutable("khal").isEmpty())
        GTEST_SKIP() << "khal ist nicht installiert";
    const KhalHome calendar(QStringLiteral("Europe/Berlin"));
    const auto khal = [&](const QStringList &args) {
        calendar.run(QStringList { "new", "-a", "strivo" } + args);
    };
    // khal writes zoned, UTC and all-day starts; it cannot write a floating time or a
    // cancelled event, and fails on a repeating all-day event, so those come from Python.
    khal({ "-l", "Stadion am Wald, Waldweg 3, 36129 Gersfeld", "05.06.2027", "09:30", "11:00",
           "Rhöner Straßenlauf", "::",
           "Eine lange Beschreibung mit Umlauten äöüß, die weit über fünfundsiebzig Zeichen "
           "hinausgeht und daher gefaltet wird." });
    khal({ "03.07.2027", "08:00", "09:00", "UTC", "Frühlauf" });
    khal({ "04.07.2027", "10:00", "12:00", "America/New_York", "New-York-Lauf" });
    khal({ "05.09.2027", "Ganztägiger Lauf" });
    khal({ "-r", "yearly", "12.06.2020", "10:00", "11:00", "Jährlicher Volkslauf" });
    khal({ "--url", "https://lauf.example/", "01.08.2027", "18:00", "19:00", "Abendlauf" });

    CalendarFile all;
    for (const QFileInfo &f : QDir(calendar.calendar()).entryInfoList({ "*.ics" })) {
        QFile in(f.filePath());
        ASSERT_TRUE(in.open(QIODevice::ReadOnly));
        const QByteArray bytes = in.readAll();
        const CalendarFile one = readText(bytes);
        all.events.insert(all.events.end(), one.events.begin(), one.events.end());
        if (bytes.contains("DESCRIPTION")) {
            EXPECT_TRUE(bytes.contains("\r\n ")) << "nicht gefaltet: " << bytes.toStdString();
        }
    }
    EXPECT_EQ(
        listed(all),
        QStringList({ "05.06.2027 09:30 Rhöner Straßenlauf | Stadion am Wald",
                      "12.06.2027 10:00 Jährlicher Volkslauf | ", "03.07.2027 10:00 Frühlauf | ",
                      "04.07.2027 16:00 New-York-Lauf | ", "01.08.2027 18:00 Abendlauf | ",
                      "05.09.2027 --:-- Ganztägiger Lauf | " }));
    for (const CalendarEvent &e : all.events) {
        if (e.summary == QStringLiteral("Abendlauf")) {
            EXPECT_EQ(e.url, QStringLiteral("https://lauf.example/"));
        }
        if (e.summary == QStringLiteral("Rhöner Straßenlauf")) {
            EXPECT_TRUE(e.description.endsWith(QStringLiteral("daher gefaltet wird.")));
        }
    }
}
