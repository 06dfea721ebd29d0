// SPDX-License-Identifier: GPL-3.0-or-later
// Taking races over from a calendar file of many events.
//
// Usage: icalimport_bench [events] [runs] [races already there]   (defaults: 5000, 7, 10000)
//        icalimport_bench write FILE [events]   writes the calendar file only
// Opening: reading the file, telling the races already there, and the dialog shown and painted.
// Taking over: every event as a new race, with its name in the pick list, into a fresh copy of
// the database each run. Today is 08.12.2026; a tenth of the events lie before it.
#include "ProgramFixture.h"
#include "RaceGenerator.h"
#include "data/RaceStore.h"
#include "icalimport/CalendarImportDialog.h"
#include "ui/ListGrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// Events in the forms calendars write: zoned, UTC and all-day starts, yearly series, addresses
// and descriptions, one in fifty cancelled.
QByteArray calendarText(int events)
{
    QByteArray out = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Bench//Laufkalender//DE\r\n";
    const char *places[] = { "Köln", "Würzburg", "Gersfeld", "München", "Lübeck" };
    for (int i = 0; i < events; ++i) {
        const QDate day = QDate(2026, 11, 1).addDays(i % 700);
        const QByteArray date = day.toString(QStringLiteral("yyyyMMdd")).toLatin1();
        out += "BEGIN:VEVENT\r\nUID:lauf-" + QByteArray::number(i) + "@verein.example\r\n";
        switch (i % 4) {
        case 0:
            out += "DTSTART;TZID=Europe/Berlin:" + date + "T093000\r\n";
            break;
        case 1:
            out += "DTSTART:" + date + "T073000Z\r\n";
            break;
        case 2:
            out += "DTSTART;VALUE=DATE:" + date + "\r\n";
            break;
        default:
            out += "DTSTART;VALUE=DATE:"
                + QDate(2015, 1, 1).addDays(i % 365).toString(QStringLiteral("yyyyMMdd")).toLatin1()
                + "\r\nRRULE:FREQ=YEARLY\r\n";
        }
        out += QStringLiteral("SUMMARY:%1. Straßenlauf %2\r\n")
                   .arg(i)
                   .arg(QString::fromUtf8(places[i % 5]))
                   .toUtf8();
        out += QStringLiteral("LOCATION:Marktplatz %1\\, 12345 %2\r\n")
                   .arg(i % 40)
                   .arg(QString::fromUtf8(places[i % 5]))
                   .toUtf8();
        out += "DESCRIPTION:Anmeldung bis eine Woche vor dem Lauf\\; Startgeld 15 Euro\\, "
               "Nachmeldung vor Ort m\xc3\xb6glich.\r\nURL:https://verein.example/lauf/"
            + QByteArray::number(i) + "\r\n";
        if (i % 50 == 49)
            out += "STATUS:CANCELLED\r\n";
        out += "END:VEVENT\r\n";
    }
    return out + "END:VCALENDAR\r\n";
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc > 2 && QByteArray(argv[1]) == "write") {
        QFile file(QString::fromLocal8Bit(argv[2]));
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write(calendarText(argc > 3 ? std::atoi(argv[3]) : 40));
        return 0;
    }
    const int events = argc > 1 ? std::atoi(argv[1]) : 5000;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    const int existing = argc > 3 ? std::atoi(argv[3]) : 10000;

    ProgramRun program;
    const QString source = program.folder.file("Quelle.mdb");
    benchgen::makeRaceDatabase(source, existing);
    const QString ics = program.folder.file("Laufkalender.ics");
    {
        QFile file(ics);
        file.open(QIODevice::WriteOnly);
        file.write(calendarText(events));
    }
    const QDate today = program.clock.today();
    std::vector<double> open, take;
    TakeOverCounts counts;
    for (int run = 0; run < runs; ++run) {
        program.ctx.closeDatabase();
        QFile::remove(program.folder.dbPath());
        QFile::copy(source, program.folder.dbPath());

        QElapsedTimer timer;
        timer.start();
        CalendarFile file
            = readCalendarFile(ics, QTimeZone(QByteArrayLiteral("Europe/Berlin")), today);
        std::vector<Candidate> list = candidatesOf(file, knownRaces(program.ctx.races()), today);
        CalendarImportDialog dialog(program.ctx, ics, file, list);
        dialog.show();
        if (!QTest::qWaitForWindowExposed(&dialog))
            return 1;
        QApplication::processEvents();
        open.push_back(double(timer.nsecsElapsed()) / 1e6);

        // Every event, the past ones too.
        for (Candidate &c : list)
            c.ticked = true;
        timer.restart();
        counts = takeOver(program.ctx.races(), program.ctx.paths.database(), list, file);
        take.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("%d events (%d cancelled), %d races there before: %s\n", events, counts.cancelled,
                existing, qPrintable(takeOverMessage(counts).replace(u'\n', u' ')));
    std::printf("open the dialog  median %8.1f ms (min %.1f, max %.1f)\n", median(open),
                *std::min_element(open.begin(), open.end()),
                *std::max_element(open.begin(), open.end()));
    std::printf("take all over    median %8.1f ms (min %.1f, max %.1f)\n", median(take),
                *std::min_element(take.begin(), take.end()),
                *std::max_element(take.begin(), take.end()));
    return 0;
}
