// SPDX-License-Identifier: GPL-3.0-or-later
// Renders "Startgelder und Fristen" to a PNG over races whose fee tables hold the forms people
// type, dated from today on: fees_screenshot out.png [copy.mdb]. With a second file name the
// database is also copied there, to look at it in the program itself.
#include "ProgramFixture.h"
#include "fees/FeesWindow.h"

#include <QApplication>
#include <QFile>

namespace {
struct Sample
{
    const char *name, *place, *distance;
    int inDays; // race date from today
    bool registered;
    const char *third;
    int deadlines[3]; // from today; 0: none
    const char *fees[3];
};

const Sample kSamples[] = {
    { "Silvesterlauf", "Trier", "10 km", 22, true, "10 km", { 1, 15, 0 }, { "12,-", "15 €", "" } },
    { "Winterlaufserie",
      "Duisburg",
      "Halb-Marathon",
      45,
      false,
      "",
      { 9, 30, 40 },
      { "25", "30,50", "ca. 35" } },
    { "Bienwald-Marathon",
      "Kandel",
      "Marathon",
      95,
      true,
      "",
      { 12, 60, 85 },
      { "EUR 45", "45 Euro", "€ 60,00" } },
    { "Frühjahrslauf", "Xanten", "5 km", 120, false, "5 KM", { 40, 100, 0 }, { "frei", "5", "" } },
    { "Citylauf", "Siegen", "Marathon", 150, true, "", { 20, 50, 0 }, { "ca. 40", "45", "" } },
    { "Nachtlauf", "Bonn", "Marathon", 170, true, "", { 0, 0, 0 }, { "siehe Homepage", "", "" } },
    { "Rennsteiglauf",
      "Schmiedefeld",
      "Supermarathon",
      160,
      true,
      "Supermarathon",
      { 70, 130, 150 },
      { "70,– €", "80", "40/45" } },
    { "Hermannslauf",
      "Bielefeld",
      "31,1 km",
      130,
      true,
      "31,1 km",
      { -5, 0, 0 },
      { "29", "", "" } },
    { "Stadtmarathon",
      "Köln",
      "Marathon",
      300,
      false,
      "",
      { 100, 200, 290 },
      { "75", "85", "95,-" } },
};

QString day(const QDate &today, int days)
{
    return today.addDays(days).toString(QStringLiteral("dd.MM.yyyy"));
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    ProgramRun run(TestFolder::Content::Seeded, QDateTime::currentDateTime());
    const QDate today = run.clock.today();
    for (const Sample &s : kSamples) {
        QVariantMap fields { { "ad_lauf", s.name },
                             { "ad_lauf_ort", s.place },
                             { "ad_lauf_datum", day(today, s.inDays) },
                             { "ad_strecke", s.distance },
                             { "ad_strecke_sg", s.third },
                             { "ad_ang_jn", s.registered },
                             { "ad_vorgemerkt_jn", !s.registered },
                             { "ad_bezahlt_jn", " " } };
        for (int k = 0; k < 3; ++k) {
            if (s.deadlines[k] != 0)
                fields.insert(QStringLiteral("ad_sg%1_datum").arg(k + 1),
                              day(today, s.deadlines[k]));
            const int row = QString::fromUtf8(s.distance) == QStringLiteral("Marathon") ? 1
                : QString::fromUtf8(s.distance) == QStringLiteral("Halb-Marathon")      ? 2
                                                                                        : 3;
            fields.insert(QStringLiteral("ad_sg%1%2").arg(k + 1).arg(row),
                          QString::fromUtf8(s.fees[k]));
        }
        run.folder.addRace(fields);
    }

    FeesWindow form(run.ctx);
    form.show();
    app.processEvents();
    if (argc > 2 && !QFile::copy(run.folder.dbPath(), QString::fromLocal8Bit(argv[2])))
        return 1;
    return form.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
