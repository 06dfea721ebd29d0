// SPDX-License-Identifier: GPL-3.0-or-later
// A calendar program of its own reads the file: khal imports it into a local calendar.
#include "KhalHome.h"
#include "TestFolder.h"
#include "icalexport/CalendarExport.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct Khal : KhalHome
{
    using KhalHome::KhalHome;
    void import(const QString &file) const { run({ "import", "--batch", file }); }
    QStringList events() const
    {
        const QStringList lines = run({ "list", "--format", "{start} {title}", "--day-format", "",
                                        "01.12.2026", "800d" })
                                      .split(u'\n', Qt::SkipEmptyParts);
        return lines;
    }
};
} // namespace

TEST(KhalImport, ShowsTheRacesAtTheirLocalTimeInSummerAndWinterAndUpdatesOnReimport)
{
    if (QStandardPaths::findExecutable("khal").isEmpty())
        GTEST_SKIP() << "khal ist nicht installiert";
    TestFolder folder;
    const QString file = folder.file("Export/Strivo-Termine.ics");
    const QDateTime now(QDate(2026, 12, 8), QTime(14, 5, 9));
    const qlonglong summer = folder.addRace({ { "ad_lauf", "Sommerlauf" },
                                              { "ad_lauf_ort", "Köln" },
                                              { "ad_lauf_datum", "04.07.2027" },
                                              { "ad_start", "09:30" } });
    folder.addRace({ { "ad_lauf", "Winterlauf, 10; km" },
                     { "ad_lauf_ort", "Bonn" },
                     { "ad_lauf_datum", "12.12.2027" },
                     { "ad_start", "10:15" } });
    exportCalendar(folder.dbPath(), file, now);

    const Khal berlin(QStringLiteral("Europe/Berlin"));
    berlin.import(file);
    EXPECT_EQ(berlin.events(),
              QStringList({ "04.07.2027 09:30 Sommerlauf (Köln)",
                            "12.12.2027 10:15 Winterlauf, 10; km (Bonn)" }));
    // A phone in another zone: two hours behind in summer, one in winter.
    const Khal utc(QStringLiteral("UTC"));
    utc.import(file);
    EXPECT_EQ(utc.events(),
              QStringList({ "04.07.2027 07:30 Sommerlauf (Köln)",
                            "12.12.2027 09:15 Winterlauf, 10; km (Bonn)" }));

    folder.exec(QStringLiteral("update adressen set ad_lauf = 'Sommerlauf am See' where "
                               "ad_nummer = %1")
                    .arg(summer));
    exportCalendar(folder.dbPath(), file, now.addSecs(60));
    berlin.import(file);
    EXPECT_EQ(berlin.events(),
              QStringList({ "04.07.2027 09:30 Sommerlauf am See (Köln)",
                            "12.12.2027 10:15 Winterlauf, 10; km (Bonn)" }));
    EXPECT_EQ(QDir(berlin.home.filePath("calendar")).entryList(QDir::Files).size(), 2);
}
