// SPDX-License-Identifier: GPL-3.0-or-later
// The calendar file byte for byte, for fixed races and a fixed clock, against the file the export
// wrote before it read its races through the race store. expected_calendars.txt was written with
//   STRIVO_WRITE_CALENDARS=tests/icalexport/expected_calendars.txt
//     build/tests/test_icalexport --gtest_filter='CalendarBytes.*'
// (one command line)
// and is kept as it is; it was written again only where the fee deadlines came to name the fee
// after them, which changed one entry.
#include "EdgeCaseRaces.h"
#include "TestFolder.h"
#include "icalexport/CalendarExport.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Races that reach every branch of the export: fee rows, flags in their odd forms, damaged and
// lenient dates, NULL and blank texts, start times that are none.
const QList<QVariantMap> kRaces = {
    { { "ad_lauf", "Stadtmarathon" },
      { "ad_lauf_ort", "Köln" },
      { "ad_lauf_datum", "04.07.2027" },
      { "ad_start", "09:30" },
      { "ad_strecke", "Marathon" },
      { "ad_ang_jn", true },
      { "ad_ang_datum", "02.12.2026" },
      { "ad_bezahlt_jn", " " },
      { "ad_name_veranst", "Lauftreff e.V." },
      { "ad_internet_veranst", "www.stadtmarathon.de" },
      { "ad_sg1_datum", "01.11.2026" },
      { "ad_sg2_datum", "31.01.2027" },
      { "ad_sg3_datum", "30.04.2027" },
      { "ad_sg21", "50 €" },
      { "ad_sg22", "30 €" },
      { "ad_sg31", "60 €" },
      { "ad_alarm_jn", "Ja" },
      { "ad_alarm_datum", "15.01.2027" },
      { "ad_bank1", "Sparkasse" },
      { "ad_blz1", "370 501 98" },
      { "ad_konto1", "12345" },
      { "ad_memo", "Startunterlagen am Vortag\r\nabholen" } },
    { { "ad_lauf", "Brückenlauf" },
      { "ad_lauf_datum", "01.05.2027" },
      { "ad_start", "9.30" },
      { "ad_strecke", "10 KM" },
      { "ad_strecke_sg", "10 km" },
      { "ad_ang_jn", -1 },
      { "ad_ang_datum", "Ja" },
      { "ad_sg1_datum", "01.04.2027" },
      { "ad_sg13", "12 €" },
      { "ad_sg2_datum", "kein Datum" },
      { "ad_sg23", "15 €" },
      { "ad_alarm_jn", "ja" },
      { "ad_alarm_datum", "01.03.2027" } },
    { { "ad_lauf", "Nikolauslauf" },
      { "ad_lauf_ort", " " },
      { "ad_lauf_datum", "12.12.2027" },
      { "ad_start", "10:15" },
      { "ad_strecke", "Halb-Marathon" },
      { "ad_bezahlt_jn", "Ja" },
      { "ad_bezahlt_datum", "01.12.2026" },
      { "ad_sg1_datum", "01.06.2027" },
      { "ad_alarm_jn", "Ja" },
      { "ad_alarm_datum", "01.06.2027" },
      { "ad_gelaufen_jn", "Ja" },
      { "ad_zeit", "1:45:00" } },
    { { "ad_lauf", "Bergsprint" },
      { "ad_lauf_datum", "05.03.2027, Freitag" },
      { "ad_start", "25:00" },
      { "ad_strecke", "Berglauf" },
      { "ad_vorgemerkt_jn", 2 },
      { "ad_bezahlt_jn", "ja" },
      { "ad_bezahlt_datum", "01.01.2027" },
      { "ad_alarm_jn", "Ja" },
      { "ad_alarm_datum", "01.01.1900" },
      { "ad_internet_veranst", "ftp://example.org" },
      { "ad_gelaufen_jn", "ja" },
      { "ad_zeit", "0:50:00" } },
    { { "ad_lauf_datum", "08.12.2026" },
      { "ad_start", "früh" },
      { "ad_strecke_sg", "5 km" },
      { "ad_sg1_datum", "08.12.2026" },
      { "ad_sg11", "30 €" },
      { "ad_sg12", " " },
      { "ad_internet_veranst", "http://example.org/a,b;c?x=ä ö" } },
    { { "ad_lauf", "Vorbei" }, { "ad_lauf_datum", "07.12.2026" }, { "ad_start", "10:00" } },
    { { "ad_lauf", "Ohne Datum" }, { "ad_lauf_datum", "" } },
    { { "ad_lauf", "Kein Tag" }, { "ad_lauf_datum", "31.02.2027" } },
    { { "ad_lauf", "" }, { "ad_lauf_datum", " 5.3.2027" }, { "ad_ang_jn", 0 } },
};

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Each export under a heading line, in the order the test makes them.
QByteArray exportEach(const QList<std::pair<QString, QString>> &databases, const QDateTime &now,
                      const QString &target)
{
    QByteArray all;
    for (const auto &[name, path] : databases) {
        const CalendarPlan plan = exportCalendar(path, target, now);
        all += "== " + name.toUtf8() + ": " + calendarExportMessage(plan).toUtf8() + "\n";
        all += contentOf(target);
    }
    return all;
}

} // namespace

TEST(CalendarBytes, TheFileIsByteForByteWhatTheExportWroteBefore)
{
    TestFolder folder;
    for (const QVariantMap &race : kRaces)
        folder.addRace(race);
    QTemporaryDir dir;
    QList<std::pair<QString, QString>> edgeCases;
    EdgeCaseRaces::forEachDatabase(dir.path(), [&](const QString &name, const QString &path) {
        edgeCases.push_back({ name, path });
    });
    const QString target = folder.file(QStringLiteral("Strivo-Termine.ics"));

    const QByteArray written = exportEach({ { QStringLiteral("races"), folder.dbPath() } },
                                          QDateTime(QDate(2026, 12, 8), QTime(14, 5, 9)), target)
        + exportEach(edgeCases, QDateTime(QDate(1990, 1, 1), QTime(8, 0)), target);

    const QString rewrite = qEnvironmentVariable("STRIVO_WRITE_CALENDARS");
    if (!rewrite.isEmpty()) {
        QFile out(rewrite);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(written);
    }
    const QByteArray expected
        = contentOf(QStringLiteral(STRIVO_SOURCE_DIR "/tests/icalexport/expected_calendars.txt"));
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(written.toStdString(), expected.toStdString());
}
