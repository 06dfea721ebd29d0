// Speed and memory of the workbook writer and of the export statement.
//
// Usage: xls_bench [writer|export|overflow|all] [rows] [folder to keep the workbooks in]
//   writer    WorkbookWriter alone: heading + rows (default 65,535, the most a sheet holds
//             under its heading) x 54 columns, several texts unique to each row (the worst
//             case for the string table), the rest repeated texts and booleans. With more
//             rows (e.g. 100000) it must fail with the row-limit error and leave no file.
//   export    executeStatement with the export statement on a database of `rows` races
//             (default 65,535) made by the race generator.
//   overflow  the same with 100,000 races: must fail with a clear error and leave no file.
// Peak memory: run under /usr/bin/time -v, or read the "peak RSS" line (getrusage).
#include "DbError.h"
#include "RaceGenerator.h"
#include "WorkbookExport.h"
#include "WorkbookWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

long peakRssKb()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

const char *columnList
    = "ad_lauf, ad_lauf_ort, ad_lauf_datum, ad_lauf_wotag, ad_strecke, ad_start, ad_ang_jn, "
      "ad_ang_datum, ad_vorgemerkt_jn, ad_gelaufen_jn, ad_zeit, ad_name_veranst, "
      "ad_telefon1_veranst, ad_fax_veranst, ad_email_veranst, ad_internet_veranst, ad_bank1, "
      "ad_blz1, ad_konto1, ad_zeitmessung, ad_strecke_sg, ad_sg1_datum, ad_sg2_datum, "
      "ad_sg3_datum, ad_sg11, ad_sg12, ad_sg13, ad_sg21, ad_sg22, ad_sg23, ad_sg31, ad_sg32, "
      "ad_sg33, ad_alarm_jn, ad_alarm_datum, ad_bezahlt_jn, ad_bezahlt_datum, ad_startbild_jn, "
      "ad_startbild, ad_name_ansprech, ad_vorname_ansprech, ad_anrede_ansprech, "
      "ad_titel_ansprech, ad_ort_ansprech, ad_strasse_ansprech, ad_pfplz_ansprech, "
      "ad_plz_ansprech, ad_postfach_ansprech, ad_land_ansprech, ad_direkt_ansprech, "
      "ad_mobil_ansprech, ad_email_ansprech, ad_memo_jn, ad_memo";

QString exportStatement(const QString &path)
{
    return QStringLiteral("select ") + QString::fromLatin1(columnList) + QStringLiteral(" into ")
        + QStringLiteral("[Excel 8.0;Database=") + path + QStringLiteral("].Läufe")
        + QStringLiteral(" from adressen order by cdate(ad_lauf_datum) desc");
}

void report(const char *what, qint64 ms, const QString &file)
{
    const QFileInfo info(file);
    std::printf("%-9s %7lld ms   file %s (%lld bytes)   peak RSS %ld KB\n", what,
                static_cast<long long>(ms), info.exists() ? "written" : "none",
                static_cast<long long>(info.exists() ? info.size() : 0), peakRssKb());
}

void writeRows(const std::string &path, int rows)
{
    static const std::vector<std::string> places
        = { "Köln", "München", "Düsseldorf", "Berlin", "Frankfurt am Main", "Großröhrsdorf" };
    xls::WorkbookWriter book(path, "Läufe");
    std::vector<std::string> texts(54);
    std::vector<xls::Cell> cells(54);
    for (int c = 0; c < 54; ++c) {
        texts[c] = "spalte_" + std::to_string(c);
        cells[c] = xls::Cell::fromText(texts[c]);
    }
    book.addRow(cells);
    for (int r = 1; r <= rows; ++r) {
        const std::string n = std::to_string(r);
        for (int c = 0; c < 54; ++c) {
            switch (c % 9) {
            case 0: // unique per row
                texts[c] = "Lauf Nr. " + n + " über Stock & Stein";
                break;
            case 1:
                texts[c] = places[(r + c) % places.size()];
                break;
            case 2:
                texts[c] = std::to_string(1 + r % 28) + "." + std::to_string(1 + r % 12) + ".2024";
                break;
            case 3:
                cells[c] = xls::Cell::fromBool(r % 2 == 0);
                continue;
            case 4:
                cells[c] = xls::Cell::empty();
                continue;
            case 5: // unique notes with line breaks, about 200 characters
                texts[c] = "Notiz " + n
                    + ":\nAnreise mit dem Zug, Startunterlagen am Vortag "
                      "abholen.\nZielverpflegung: Wasser, Äpfel, Bananen. "
                      "Duschen in der Halle 'Süd' 🏃";
                break;
            case 6:
                texts[c] = r % 3 ? "Ja" : " ";
                break;
            default:
                texts[c] = "Wert " + std::to_string(c) + "-" + std::to_string(r % 500);
            }
            cells[c] = xls::Cell::fromText(texts[c]);
        }
        book.addRow(cells);
    }
    book.finish();
}

// More rows than a sheet holds must end in an error and no file.
int benchWriter(const QString &folder, int rows)
{
    const std::string path = QDir(folder).filePath(QStringLiteral("writer.xls")).toStdString();
    QElapsedTimer timer;
    timer.start();
    bool failed = false;
    try {
        writeRows(path, rows);
    } catch (const xls::Error &e) {
        failed = true;
        std::printf("xls::Error: %s\n", e.what());
    }
    report("writer", timer.elapsed(), QString::fromStdString(path));
    const bool fits = rows < int(xls::WorkbookWriter::maxRows);
    return failed != fits && QFileInfo::exists(QString::fromStdString(path)) == fits ? 0 : 1;
}

int benchExport(const QString &folder, int races, bool expectFailure)
{
    const QString db = QDir(folder).filePath(QStringLiteral("Strivo-DB.mdb"));
    benchgen::makeRaceDatabase(db, races);
    std::printf("database of %d races ready, peak RSS so far %ld KB\n", races, peakRssKb());
    const QString path = QDir(folder).filePath(expectFailure ? QStringLiteral("Läufe zu viele.xls")
                                                             : QStringLiteral("Läufe export.xls"));
    QElapsedTimer timer;
    timer.start();
    bool failed = false;
    try {
        executeStatement(db, exportStatement(path));
    } catch (const DbError &e) {
        failed = true;
        std::printf("DbError %d: %s\n", e.number(), qPrintable(e.description()));
    }
    report(expectFailure ? "overflow" : "export", timer.elapsed(), path);
    QFile::remove(db);
    return failed == expectFailure && QFileInfo::exists(path) != expectFailure ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const std::string mode = argc > 1 ? argv[1] : "all";
    const int rows = argc > 2 ? std::atoi(argv[2]) : 65535;
    QTemporaryDir dir;
    const QString folder = argc > 3 ? QString::fromLocal8Bit(argv[3]) : dir.path();
    int rc = 0;
    if (mode == "writer" || mode == "all")
        rc |= benchWriter(folder, rows);
    if (mode == "export" || mode == "all")
        rc |= benchExport(folder, rows, false);
    if (mode == "overflow" || mode == "all")
        rc |= benchExport(folder, 100000, true);
    return rc;
}
