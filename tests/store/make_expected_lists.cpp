// SPDX-License-Identifier: GPL-3.0-or-later
// Writes what today's reads give on the edge-case databases: the file the race store is compared
// against. Run once from the source folder, after a build:
//   build/tests/make_expected_lists tests/store/expected_lists.txt
#include "EdgeCaseRaces.h"

#include "common/GermanText.h"
#include "data/DataSource.h"
#include "data/RaceDateIndex.h"
#include "data/SqlTranslator.h"
#include "data/Sqlite.h"
#include "model/RaceColumns.h"
#include "racelist/RaceExport.h"
#include "racelist/RaceListQuery.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <iostream>

using namespace EdgeCaseRaces;

namespace {

QString numbers(const QString &path, const QString &statement, const char *numberField)
{
    DataSource source;
    source.setDatabaseName(path);
    source.setRecordSource(statement);
    source.refresh();
    const int column = source.fieldIndex(QLatin1String(numberField));
    QList<qlonglong> listed;
    for (int row = 0; row < source.recordCount(); ++row)
        listed << source.valueAt(row, column).toLongLong();
    return numberLine(listed);
}

QStringList rows(const QString &path, const QString &statement, const QStringList &columns)
{
    DataSource source;
    source.setDatabaseName(path);
    source.setRecordSource(statement);
    source.refresh();
    QStringList lines;
    for (int row = 0; row < source.recordCount(); ++row) {
        QStringList cells;
        for (const QString &c : columns)
            cells << cell(source.valueAt(row, source.fieldIndex(c)));
        lines << line(cells);
    }
    return lines;
}

void readAll(const QString &db, const QString &path, Results &results)
{
    for (const QDate &today : todays()) {
        const QString at = db + u' ' + formatDate(today);
        for (const ListCase &c : listCases()) {
            const RaceListSelection selection { c.future, c.past, c.option };
            results[at + QStringLiteral(" list ") + c.key()]
                << numbers(path, buildRaceListQuery(selection, today).sql_gesamt(), "ad_nummer");
        }
        results[at + QStringLiteral(" start screen")]
            << numbers(path, startScreenStatement(today), "ad_nummer");
        results[at + QStringLiteral(" reminders")]
            << numbers(path, reminderStatement(today), "ad_nummer");
    }

    const QStringList withNumber
        = QStringList { QStringLiteral("ad_nummer") } + RaceColumns::names();
    results[db + QStringLiteral(" rows")]
        = rows(path, QStringLiteral("select * from adressen order by ad_nummer"), withNumber);

    // The statistics' read: named races by number, "Ja" the only yes of the run flag.
    {
        DataSource source;
        source.setDatabaseName(path);
        source.setRecordSource(QStringLiteral(
            "select ad_lauf, ad_lauf_ort, ad_lauf_datum, ad_strecke, ad_zeit, ad_gelaufen_jn, "
            "ad_ang_jn, ad_vorgemerkt_jn from adressen where ad_lauf <> '' order by ad_nummer"));
        source.refresh();
        const auto text = [&source](int row, int column) {
            const QVariant v = source.valueAt(row, column);
            return v.isNull() ? QString() : v.toString();
        };
        for (int row = 0; row < source.recordCount(); ++row) {
            QStringList cells;
            for (int c = 0; c < 5; ++c)
                cells << textCell(text(row, c));
            cells << flagCell(text(row, 5) == QStringLiteral("Ja"))
                  << flagCell(source.valueAt(row, 6).toLongLong() != 0)
                  << flagCell(source.valueAt(row, 7).toLongLong() != 0);
            results[db + QStringLiteral(" statistics")] << line(cells);
        }
    }

    // The calendar export's read: every race by number, "Ja" the only yes of a text flag.
    {
        SqliteDb handle(path, SqliteDb::Open::ReadOnly);
        Statement st(
            handle,
            "select ad_nummer, ad_lauf, ad_lauf_ort, ad_lauf_datum, ad_start, ad_strecke, "
            "ad_zeit, ad_name_veranst, ad_internet_veranst, ad_memo, ad_strecke_sg, "
            "ad_sg1_datum, ad_sg2_datum, ad_sg3_datum, ad_sg11, ad_sg12, ad_sg13, ad_sg21, "
            "ad_sg22, ad_sg23, ad_sg31, ad_sg32, ad_sg33, ad_alarm_datum, "
            "ad_bezahlt_datum, ad_ang_datum, ad_bank1, ad_blz1, ad_konto1, ad_ang_jn, "
            "ad_vorgemerkt_jn, ad_gelaufen_jn, ad_bezahlt_jn, ad_alarm_jn from adressen "
            "order by ad_nummer");
        while (st.step()) {
            QStringList cells { QString::number(st.column(0).toLongLong()) };
            for (int c = 1; c < 29; ++c)
                cells << textCell(st.column(c).toString());
            for (int c = 29; c < 31; ++c)
                cells << flagCell(st.column(c).toBool());
            for (int c = 31; c < 34; ++c)
                cells << flagCell(st.column(c).toString() == QStringLiteral("Ja"));
            results[db + QStringLiteral(" calendar")] << line(cells);
        }
    }

    // The export's select as the export runs it, without its target.
    {
        SqliteDb handle(path, SqliteDb::Open::ReadOnly);
        TranslateOptions options;
        options.raceDateKeys = !RaceDateIndex::hasIrregularDates(handle);
        const TranslatedStatement translated
            = translateStatement(exportStatement(QStringLiteral("/tmp/Läufe.xls")), options);
        Statement st(handle, translated.sql);
        QStringList &lines = results[db + QStringLiteral(" export")];
        while (st.step()) {
            QStringList cells;
            for (int c = 0; c < st.columnCount(); ++c)
                cells << cell(st.column(c));
            lines << line(cells);
        }
    }

    for (qlonglong owner : documentOwners())
        results[db + QStringLiteral(" documents ") + QString::number(owner)] = rows(
            path,
            QStringLiteral("select * from ereignisse_dokumente where val(ed_nummer)= '%1' order "
                           "by erd_nummer desc")
                .arg(owner),
            { QStringLiteral("erd_nummer"), QStringLiteral("ed_nummer"), QStringLiteral("ed_datei"),
              QStringLiteral("ed_dateiname") });
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: make_expected_lists <file>\n";
        return 2;
    }
    QTemporaryDir dir;
    Results results;
    forEachDatabase(dir.path(),
                    [&](const QString &db, const QString &path) { readAll(db, path, results); });
    write(results, QString::fromLocal8Bit(argv[1]));
    return 0;
}
