// SPDX-License-Identifier: GPL-3.0-or-later
// Speed and memory of the workbook writer and of the export statement.
//
// Usage: xls_bench [writer|export|overflow|peer|memory|all] [rows] [folder to work in] [runs]
// (see README.md beside this file)
//   writer    WorkbookWriter alone: heading + rows (default 65,535, the most a sheet holds
//             under its heading) x 54 columns, several texts unique to each row (the worst
//             case for the string table), the rest repeated texts and booleans. With more
//             rows (e.g. 100000) it must fail with the row-limit error and leave no file.
//   export    the workbook export (exportRacesToWorkbook) of a database of `rows` races
//             (default 65,535) made by the race generator.
//   overflow  the same with 100,000 races: must be refused at once and leave no file.
//   peer      the export of `rows` races (default 10,000) against Perl's Spreadsheet::WriteExcel
//             writing the same rows: median of alternating runs (4th argument, default 7) and
//             the ratio; target ours <= 0.5 x peer. Needs perl with libspreadsheet-writeexcel-perl.
//   memory    peak memory of exporting `rows` races (default 60,000), measured in a child
//             process that does nothing but the export.
// Peak memory: run under /usr/bin/time -v, or read the "peak RSS" line (getrusage).
#include "RaceGenerator.h"
#include "common/DbError.h"
#include "data/RaceDateIndex.h"
#include "data/RaceStore.h"
#include "data/Sqlite.h"
#include "data/WorkbookExport.h"
#include "model/RaceColumns.h"
#include "xls/WorkbookWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>
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

// A generated database as the program's start-up leaves it: with the race date index.
void makeDatabase(const QString &path, int races)
{
    benchgen::makeRaceDatabase(path, races);
    SqliteDb db(path, SqliteDb::Open::ReadWrite);
    RaceDateIndex::ensure(db);
}

// Processor time of all threads so far (user and system), in ms.
double cpuMs()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval &t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// Wall time beside processor time: on the shared machine the one grows with the load, the
// other shows the work, and more processor than wall time shows the threads' overlap.
void report(const char *what, qint64 ms, double cpu, const QString &file)
{
    const QFileInfo info(file);
    std::printf("%-9s %7lld ms (cpu %5.0f ms)   file %s (%lld bytes)   peak RSS %ld KB\n", what,
                static_cast<long long>(ms), cpu, info.exists() ? "written" : "none",
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
    const double cpu = cpuMs();
    QElapsedTimer timer;
    timer.start();
    bool failed = false;
    try {
        writeRows(path, rows);
    } catch (const xls::Error &e) {
        failed = true;
        std::printf("xls::Error: %s\n", e.what());
    }
    report("writer", timer.elapsed(), cpuMs() - cpu, QString::fromStdString(path));
    const bool fits = rows < int(xls::WorkbookWriter::maxRows);
    return failed != fits && QFileInfo::exists(QString::fromStdString(path)) == fits ? 0 : 1;
}

int benchExport(const QString &folder, int races, bool expectFailure)
{
    const QString db = QDir(folder).filePath(QStringLiteral("Strivo-DB.mdb"));
    makeDatabase(db, races);
    std::printf("database of %d races ready, peak RSS so far %ld KB\n", races, peakRssKb());
    const QString path = QDir(folder).filePath(expectFailure ? QStringLiteral("Läufe zu viele.xls")
                                                             : QStringLiteral("Läufe export.xls"));
    const double cpu = cpuMs();
    QElapsedTimer timer;
    timer.start();
    bool failed = false;
    try {
        exportRacesToWorkbook(db, path);
    } catch (const DbError &e) {
        failed = true;
        std::printf("DbError %d: %s\n", e.number(), qPrintable(e.description()));
    }
    report(expectFailure ? "overflow" : "export", timer.elapsed(), cpuMs() - cpu, path);
    QFile::remove(db);
    return failed == expectFailure && QFileInfo::exists(path) != expectFailure ? 0 : 1;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The rows the export writes (heading first), as JSON for the peer: texts as strings,
// booleans as true/false, nulls as null. Prepared before any timing.
void dumpRows(const QString &db, const QString &jsonPath)
{
    RaceStore races(db);
    const Race probe;
    const QStringList yesNo
        = RaceColumns::holding(probe, { &probe.registered, &probe.noted, &probe.onStartScreen });
    QJsonArray out;
    out.append(QJsonArray::fromStringList(RaceColumns::names()));
    races.readRaces(RaceStore::Order::LatestFirst, false, [&](const Race &race) {
        QJsonArray row;
        const std::vector<QVariant> values = RaceColumns::toStored(race);
        for (std::size_t c = 0; c < values.size(); ++c) {
            const QVariant &v = values[c];
            if (v.isNull())
                row.append(QJsonValue());
            else if (yesNo.contains(RaceColumns::names()[qsizetype(c)])
                     && v.typeId() != QMetaType::QString)
                row.append(v.toDouble() != 0);
            else
                row.append(v.toString());
        }
        out.append(row);
    });
    QFile file(jsonPath);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(QJsonDocument(out).toJson(QJsonDocument::Compact)) < 0)
        throw std::runtime_error("cannot write " + jsonPath.toStdString());
}

int benchPeer(const QString &folder, int races, int runs)
{
    const QString db = QDir(folder).filePath(QStringLiteral("Strivo-DB.mdb"));
    const QString json = QDir(folder).filePath(QStringLiteral("rows.json"));
    makeDatabase(db, races);
    dumpRows(db, json);
    std::printf("%d races, rows dumped for the peer (%lld bytes JSON)\n", races,
                static_cast<long long>(QFileInfo(json).size()));

    std::vector<double> ours;
    std::vector<double> peer;
    qint64 oursSize = 0;
    qint64 peerSize = 0;
    for (int run = 0; run < runs; ++run) {
        const QString oursPath = QDir(folder).filePath(QStringLiteral("ours.xls"));
        const QString peerPath = QDir(folder).filePath(QStringLiteral("peer.xls"));
        const auto timeOurs = [&] {
            QElapsedTimer timer;
            timer.start();
            exportRacesToWorkbook(db, oursPath);
            ours.push_back(timer.nsecsElapsed() / 1e9);
            oursSize = QFileInfo(oursPath).size();
        };
        const auto timePeer = [&] {
            QProcess perl;
            perl.start(QStringLiteral("perl"), { QStringLiteral(XLS_PEER_SCRIPT), json, peerPath });
            if (!perl.waitForFinished(-1) || perl.exitStatus() != QProcess::NormalExit
                || perl.exitCode() != 0)
                throw std::runtime_error("peer failed: "
                                         + perl.readAllStandardError().toStdString());
            peer.push_back(perl.readAllStandardOutput().trimmed().toDouble());
            peerSize = QFileInfo(peerPath).size();
        };
        // The last run's workbooks stay, for comparing them.
        QFile::remove(oursPath);
        QFile::remove(peerPath);
        // Alternate who goes first, so neither always meets a warm or a cold cache.
        if (run % 2 == 0) {
            timeOurs();
            timePeer();
        } else {
            timePeer();
            timeOurs();
        }
        std::printf("run %d: ours %.3f s, peer %.3f s\n", run + 1, ours.back(), peer.back());
    }
    const double o = median(ours);
    const double p = median(peer);
    std::printf("median of %d runs: ours %.3f s (file %lld bytes), Spreadsheet::WriteExcel %.3f s "
                "(file %lld bytes)\n",
                runs, o, static_cast<long long>(oursSize), p, static_cast<long long>(peerSize));
    std::printf("ratio ours/peer = %.3f (target <= 0.5): %s\n", o / p,
                o <= 0.5 * p ? "met" : "MISSED");
    QFile::remove(json);
    QFile::remove(db);
    return o <= 0.5 * p ? 0 : 1;
}

// Child side of the memory benchmark: the export and nothing else.
int exportOnly(const QString &db, const QString &path)
{
    const long before = peakRssKb();
    QElapsedTimer timer;
    timer.start();
    exportRacesToWorkbook(db, path);
    std::printf("export %lld ms, peak RSS %ld KB (%ld KB before the export), file %lld bytes\n",
                static_cast<long long>(timer.elapsed()), peakRssKb(), before,
                static_cast<long long>(QFileInfo(path).size()));
    return 0;
}

int benchMemory(const QString &folder, int races)
{
    const QString db = QDir(folder).filePath(QStringLiteral("Strivo-DB.mdb"));
    const QString path = QDir(folder).filePath(QStringLiteral("Läufe Speicher.xls"));
    makeDatabase(db, races);
    std::printf("%d races: ", races);
    std::fflush(stdout);
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                { QStringLiteral("export-only"), db, path });
    const bool ok = child.waitForFinished(-1) && child.exitStatus() == QProcess::NormalExit
        && child.exitCode() == 0;
    QFile::remove(path);
    QFile::remove(db);
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const std::string mode = argc > 1 ? argv[1] : "all";
    if (mode == "export-only" && argc == 4)
        return exportOnly(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    const int defaultRows = mode == "peer" ? 10000 : mode == "memory" ? 60000 : 65535;
    const int rows = argc > 2 ? std::atoi(argv[2]) : defaultRows;
    QTemporaryDir dir;
    const QString folder = argc > 3 ? QString::fromLocal8Bit(argv[3]) : dir.path();
    int rc = 0;
    if (mode == "writer" || mode == "all")
        rc |= benchWriter(folder, rows);
    if (mode == "export" || mode == "all")
        rc |= benchExport(folder, rows, false);
    if (mode == "overflow" || mode == "all")
        rc |= benchExport(folder, 100000, true);
    if (mode == "peer")
        rc |= benchPeer(folder, rows, argc > 4 ? std::atoi(argv[4]) : 7);
    if (mode == "memory")
        rc |= benchMemory(folder, rows);
    return rc;
}
