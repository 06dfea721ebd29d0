#include "CalendarReader.h"
#include "TestFolder.h"
#include "icalexport/CalendarExport.h"

#include <QFile>
#include <QStringDecoder>
#include <QUrl>
#include <gtest/gtest.h>

namespace {
const QDateTime kNow(QDate(2026, 12, 8), QTime(14, 5, 9));

struct CalendarFileTest : ::testing::Test
{
    TestFolder folder;
    QString target = folder.file(QStringLiteral("Export/Strivo-Termine.ics"));

    ParsedCalendar exportAndRead(const QDateTime &now = kNow)
    {
        plan = exportCalendar(folder.dbPath(), target, now);
        return readCalendar(target);
    }
    CalendarPlan plan;
};

void expectValid(const ParsedCalendar &cal)
{
    ASSERT_TRUE(cal.parsed);
    EXPECT_TRUE(cal.restrictionsHold);
    EXPECT_EQ(cal.errors, 0);
    EXPECT_EQ(cal.zoneId, "Europe/Berlin");
}
} // namespace

TEST_F(CalendarFileTest, RacesFeeDeadlinesAndRemindersFromTodayOn)
{
    const qlonglong marathon = folder.addRace({
        { "ad_lauf", "Stadtmarathon" },
        { "ad_lauf_ort", "Köln" },
        { "ad_lauf_datum", "04.07.2027" },
        { "ad_start", "09:30" },
        { "ad_strecke", "Marathon" },
        { "ad_ang_jn", true },
        { "ad_ang_datum", "02.12.2026" },
        { "ad_bezahlt_jn", " " },
        { "ad_name_veranst", "Lauftreff e.V." },
        { "ad_internet_veranst", "www.stadtmarathon.de/anmeldung" },
        { "ad_sg1_datum", "01.11.2026" },
        { "ad_sg2_datum", "31.01.2027, Sonntag" },
        { "ad_sg3_datum", "30.04.2027" },
        { "ad_sg21", "50 €" },
        { "ad_sg22", "30 €" },
        { "ad_sg31", "60 €" },
        { "ad_alarm_jn", "Ja" },
        { "ad_alarm_datum", "15.01.2027" },
    });
    const qlonglong paid = folder.addRace({
        { "ad_lauf", "Nikolauslauf" },
        { "ad_lauf_ort", "Bonn" },
        { "ad_lauf_datum", "12.12.2027" },
        { "ad_start", "10:15" },
        { "ad_strecke", "10 km" },
        { "ad_bezahlt_jn", "Ja" },
        { "ad_bezahlt_datum", "01.12.2026" },
        { "ad_sg1_datum", "01.06.2027" },
        { "ad_alarm_jn", "Ja" },
        { "ad_alarm_datum", "01.06.2027" },
    });
    folder.addRace({ { "ad_lauf", "Vorbei" }, { "ad_lauf_datum", "07.12.2026" } });
    folder.addRace({ { "ad_lauf", "Ohne Datum" }, { "ad_lauf_datum", "" } });
    folder.addRace({ { "ad_lauf", "Kein Tag" }, { "ad_lauf_datum", "31.02.2027" } });
    const qlonglong today = folder.addRace({
        { "ad_lauf", "Heute" },
        { "ad_lauf_datum", "08.12.2026" },
        { "ad_start", "" },
        { "ad_strecke_sg", "5 km" },
        { "ad_sg1_datum", "20.12.2026" },
        { "ad_sg11", "30 €" },
        { "ad_sg13", "10 €" },
        { "ad_alarm_jn", "ja" },
        { "ad_alarm_datum", "20.12.2026" },
    });

    const ParsedCalendar cal = exportAndRead();
    expectValid(cal);
    const auto uid = [](const char *kind, qlonglong n) {
        return QStringLiteral("strivo-%1-%2@strivo").arg(QLatin1String(kind)).arg(n);
    };
    EXPECT_EQ(cal.events.keys(),
              QStringList({ uid("frist1", today), uid("frist2", marathon), uid("frist3", marathon),
                            uid("lauf", marathon), uid("lauf", paid), uid("lauf", today),
                            uid("zahlung", marathon) }));
    EXPECT_EQ(calendarExportMessage(plan),
              "7 Termine für 3 Läufe exportiert; 2 Läufe ohne gültiges Datum übersprungen.");

    const ParsedEvent race = cal.events[uid("lauf", marathon)];
    EXPECT_EQ(race.summary, "Stadtmarathon (Köln)");
    EXPECT_EQ(race.location, "Köln");
    EXPECT_EQ(race.start, "20270704T093000");
    EXPECT_EQ(race.startZone, "Europe/Berlin");
    EXPECT_EQ(race.durationSeconds, 330 * 60); // an hour plus six minutes a kilometre
    EXPECT_EQ(race.alarmTrigger, "-P1D"); // registered
    EXPECT_EQ(race.url, "http://www.stadtmarathon.de/anmeldung");
    EXPECT_EQ(race.description,
              "Strecke: Marathon\nAngemeldet: ja, am 02.12.2026\nStartgeld: nicht bezahlt\n"
              "Veranstalter: Lauftreff e.V.\nInternet: www.stadtmarathon.de/anmeldung");

    // Registered for the marathon: its fees only, until then and after.
    const ParsedEvent fee = cal.events[uid("frist2", marathon)];
    EXPECT_TRUE(fee.allDay);
    EXPECT_EQ(fee.start, "20270131");
    EXPECT_EQ(fee.endDate, "20270201");
    EXPECT_EQ(fee.summary, "Startgeld-Frist: Stadtmarathon");
    EXPECT_EQ(fee.description,
              "Startgeld steigt von 50,00 € auf 60,00 €\n\n"
              "Startgeld bis zum 31.01.2027:\nMarathon: 50 €\n\nDanach bis zum "
              "30.04.2027:\nMarathon: 60 €\n\nLauf am 04.07.2027");
    EXPECT_EQ(cal.events[uid("zahlung", marathon)].start, "20270115");
    EXPECT_TRUE(cal.events[uid("lauf", marathon)].sequence > 0);

    const ParsedEvent nikolaus = cal.events[uid("lauf", paid)];
    EXPECT_EQ(nikolaus.durationSeconds, 2 * 3600);
    EXPECT_TRUE(nikolaus.alarmTrigger.isEmpty());
    EXPECT_TRUE(nikolaus.description.contains("Startgeld: bezahlt am 01.12.2026"));

    // Not registered: every distance that has a fee; the third under its own name.
    const ParsedEvent heute = cal.events[uid("lauf", today)];
    EXPECT_TRUE(heute.allDay);
    EXPECT_EQ(heute.start, "20261208");
    EXPECT_EQ(cal.events[uid("frist1", today)].description,
              "Startgeld bis zum 20.12.2026:\nMarathon: 30 €\n5 km: 10 €\n\nDanach:\n"
              "keine Angabe\n\nLauf am 08.12.2026");
}

TEST_F(CalendarFileTest, FeeDeadlinesNameTheFeeAfterThem)
{
    // Deadlines 1 and 2 of a race on 01.09.2027, its fees for the Marathon row; the first line of
    // the entry of deadline 1 ("" when it names no change).
    const struct
    {
        const char *fee1, *fee2, *distance;
        const char *line;
    } cases[] = {
        { "45", "55,-", "Marathon", "Startgeld steigt von 45,00 € auf 55,00 €" },
        { "EUR 45", "45,00 €", "Marathon", "" }, // no change: deadline 2 names it
        { "45,50", "40", "marathon", "Startgeld sinkt von 45,50 € auf 40,00 €" },
        { "ca. 40", "50 Euro", "Marathon", "Startgeld ändert sich von ca. 40 auf 50,00 €" },
        { "frei", "€ 5", "Marathon", "Startgeld steigt von 0,00 € auf 5,00 €" },
        { "45", "", "Marathon", "" }, // nothing after it
        { "45", "55", "10 km", "" }, // the distance has no row
        { "45", "55", " ", "" }, // only noted: no distance
    };
    QList<qlonglong> races;
    for (const auto &c : cases)
        races << folder.addRace({ { "ad_lauf", "Lauf" },
                                  { "ad_lauf_datum", "01.09.2027" },
                                  { "ad_strecke", QString::fromUtf8(c.distance) },
                                  { "ad_ang_jn", true },
                                  { "ad_sg1_datum", "01.03.2027" },
                                  { "ad_sg2_datum", "01.06.2027" },
                                  { "ad_sg11", QString::fromUtf8(c.fee1) },
                                  { "ad_sg21", QString::fromUtf8(c.fee2) } });

    const ParsedCalendar cal = exportAndRead();
    expectValid(cal);
    for (qsizetype i = 0; i < races.size(); ++i) {
        const QString first = cal.events[QStringLiteral("strivo-frist1-%1@strivo").arg(races[i])]
                                  .description.section(u'\n', 0, 0);
        const QString line = QString::fromUtf8(cases[i].line);
        EXPECT_EQ(first, line.isEmpty() ? QStringLiteral("Startgeld bis zum 01.03.2027:") : line)
            << cases[i].fee1 << " / " << cases[i].fee2 << " / " << cases[i].distance;
    }
    // The last deadline's entry names no change.
    EXPECT_TRUE(
        cal.events[QStringLiteral("strivo-frist2-%1@strivo").arg(races[0])].description.startsWith(
            QStringLiteral("Startgeld bis zum 01.06.2027:")));
}

TEST_F(CalendarFileTest, HostileTextComesBackUnchangedAndFolded)
{
    QString notes;
    while (notes.size() < 10000)
        notes += QStringLiteral("Ä, ö; ü\\ß 🏃‍♀️ Zeile\r\nnoch eine\n");
    const QString name = QStringLiteral("Lauf, mit; Komma\\ und\nZeile 😀");
    const QString web = QStringLiteral("http://example.org/a,b;c?x=ä ö");
    const qlonglong hostile = folder.addRace({
        { "ad_lauf", name },
        { "ad_lauf_ort", "Ort; Teil, zwei" },
        { "ad_lauf_datum", "01.05.2027" },
        { "ad_start", "9" },
        { "ad_internet_veranst", web },
        { "ad_memo", notes },
    });
    const qlonglong late = folder.addRace(
        { { "ad_lauf", "Nachtlauf" }, { "ad_lauf_datum", "02.05.2027" }, { "ad_start", "25:00" } });
    const qlonglong odd = folder.addRace(
        { { "ad_lauf", "Frühlauf" }, { "ad_lauf_datum", "03.05.2027" }, { "ad_start", "früh" } });

    const ParsedCalendar cal = exportAndRead();
    expectValid(cal);
    const ParsedEvent e = cal.events[QStringLiteral("strivo-lauf-%1@strivo").arg(hostile)];
    EXPECT_EQ(e.summary, name + QStringLiteral(" (Ort; Teil, zwei)"));
    EXPECT_EQ(e.location, "Ort; Teil, zwei");
    QString lf = notes;
    lf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    EXPECT_TRUE(e.description.endsWith(QStringLiteral("Notizen:\n") + lf));
    EXPECT_TRUE(e.description.contains(QStringLiteral("Internet: ") + web));
    EXPECT_EQ(QUrl::fromEncoded(e.url.toLatin1()).toString(), web);
    EXPECT_EQ(e.start, "20270501T090000"); // "9" is nine o'clock

    const ParsedEvent nachts = cal.events[QStringLiteral("strivo-lauf-%1@strivo").arg(late)];
    EXPECT_TRUE(nachts.allDay);
    EXPECT_TRUE(nachts.description.contains("Startzeit: 25:00 (keine gültige Uhrzeit)"));
    EXPECT_TRUE(cal.events[QStringLiteral("strivo-lauf-%1@strivo").arg(odd)].allDay);

    // Lines of at most 75 octets, CRLF, never cut inside a character.
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_GT(lines.size(), 150);
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const QByteArray &line = lines[i];
        ASSERT_TRUE(line.endsWith('\r')) << i;
        ASSERT_LE(line.size() - 1, 75) << i;
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString decoded = utf8(line.mid(line.startsWith(' ') ? 1 : 0));
        ASSERT_FALSE(utf8.hasError()) << i << ": " << line.toStdString();
        (void)decoded;
    }
}

TEST_F(CalendarFileTest, ExportAfterARenameKeepsTheUidWithAHigherSequence)
{
    const qlonglong n = folder.addRace(
        { { "ad_lauf", "Altname" }, { "ad_lauf_datum", "01.03.2027" }, { "ad_start", "10:00" } });
    const QString uid = QStringLiteral("strivo-lauf-%1@strivo").arg(n);
    const ParsedEvent first = exportAndRead().events.value(uid);
    folder.exec(QStringLiteral("update adressen set ad_lauf = 'Neuname'"));
    const ParsedCalendar again = exportAndRead(kNow.addSecs(1));
    ASSERT_EQ(again.events.size(), 1);
    EXPECT_EQ(again.events.value(uid).summary, "Neuname");
    EXPECT_GT(again.events.value(uid).sequence, first.sequence);
}
