// SPDX-License-Identifier: GPL-3.0-or-later
// Taking races over: the generated races of a program folder, handed to the import as the Jet
// reader hands them over, go into a fresh database (first import, then the same file again).
// Reading a Jet file through libmdb is measured on the Jet 3 sample, every table: here, and in
// the reader process as the program reads it (one process per table).
//
//   build/bench/access_import_bench [races]     (default: 10000)
#include "RaceGenerator.h"
#include "RaceLogSource.h"
#include "data/MakeDb.h"
#include "data/Sqlite.h"
#include "jet/ChildJetReader.h"
#include "jet/JetFile.h"
#include "jet/RaceImport.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int rounds = 5;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

QStringList sqlFiles()
{
    const QString db = QStringLiteral(STRIVO_SOURCE_DIR "/db/");
    return { db + "schema.sql", db + "seed.sql" };
}

} // namespace

int main(int argc, char **argv)
{
    const int races = argc > 1 ? std::atoi(argv[1]) : 10'000;
    QTemporaryDir folder;
    const QString old = folder.filePath("alt.mdb");
    benchgen::makeRaceDatabase(old, races);
    RaceLogSource source(old);

    std::vector<double> first, again;
    ImportResult result;
    for (int round = 0; round < rounds; ++round) {
        const QString target = folder.filePath(QStringLiteral("neu%1.mdb").arg(round));
        makeDatabase(target, sqlFiles());
        QElapsedTimer timer;
        timer.start();
        result = importRaces(source, target);
        first.push_back(timer.nsecsElapsed() / 1e6);
        timer.restart();
        importRaces(source, target);
        again.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("%d races (%d documents): first import %.0f ms, the same again %.0f ms "
                "(median of %d)\n",
                result.racesAdded, result.documentsAdded, median(first), median(again), rounds);

    const QString sample = qEnvironmentVariable("STRIVO_JET_SAMPLES", STRIVO_JET_SAMPLES)
        + QStringLiteral("/nwind.mdb");
    if (QFileInfo::exists(sample)) {
        const auto measure = [&](const char *how, const JetOpener &open) {
            std::vector<double> reads;
            qsizetype rows = 0;
            for (int round = 0; round < rounds; ++round) {
                QElapsedTimer timer;
                timer.start();
                const std::unique_ptr<JetRowSource> file = open(sample);
                rows = 0;
                for (const QString &table : file->tableNames())
                    rows += file->readTable(table).rows.size();
                reads.push_back(timer.nsecsElapsed() / 1e6);
            }
            std::printf("reading every table of the Jet 3 sample (%lld rows) %s: %.0f ms\n",
                        static_cast<long long>(rows), how, median(reads));
        };
        measure("here", [](const QString &path) { return std::make_unique<JetFile>(path); });
        measure("in the reader process", [](const QString &path) {
            return std::make_unique<ChildJetReader>(path, ReaderLimits {},
                                                    QStringLiteral(STRIVO_ACCESS_READER));
        });
    }
    return 0;
}
