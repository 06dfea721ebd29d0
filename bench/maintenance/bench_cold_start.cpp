// SPDX-License-Identifier: GPL-3.0-or-later
// The whole program started as a process until its first window is up, against the bare file
// work its start-up consists of run as processes (as bench_maintenance runs it): "pragma
// quick_check" with sqlite3, two copies with cp, VACUUM INTO with sqlite3. The program runs on
// the offscreen platform and ends once its window is shown; the start screen is switched off in
// the generated file so that no window waits for a user. Also the program's peak resident
// memory (from the kernel's account of the ended process).
//
//   build/bench/bench_cold_start [races=100000] [rounds=7]     (target ratio <= 1.2)
#include "BareWork.h"
#include "Median.h"
#include "RaceGenerator.h"
#include "data/Sqlite.h"
#include "data/StartupMaintenance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr double targetRatio = 1.2;

// Wall time of one start; peakMb gets the process's peak resident memory.
double startProgram(const QString &dataHome, double &peakMb)
{
    QElapsedTimer timer;
    timer.start();
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("XDG_DATA_HOME", dataHome.toLocal8Bit().constData(), 1);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("STRIVO_QUIT_AFTER_START", "1", 1);
        execl(STRIVO_PROGRAM, STRIVO_PROGRAM, static_cast<char *>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage {};
    wait4(pid, &status, 0, &usage);
    const double ms = timer.nsecsElapsed() / 1e6;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "the program failed (status %d)\n", status);
        std::exit(2);
    }
    peakMb = usage.ru_maxrss / 1024.0;
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    const int races = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    QTemporaryDir temp;
    const QString folder = temp.path() + QStringLiteral("/Strivo");
    for (const char *sub : { "", "/Export", "/Dokumente" })
        QDir().mkpath(folder + QLatin1String(sub));
    const MaintenancePaths paths = MaintenancePaths::inFolder(folder);
    benchgen::makeRaceDatabase(paths.mainFile, races);
    {
        SqliteDb db(paths.mainFile, SqliteDb::Open::ReadWrite);
        db.exec("update adressen set ad_startbild_jn = 0");
    }

    double peak = 0;
    startProgram(temp.path(), peak); // the first start adds the indexes; both warm the cache
    bareWork(paths);
    std::vector<double> program, bare, peaks;
    for (int round = 0; round < rounds; ++round) {
        program.push_back(startProgram(temp.path(), peak));
        peaks.push_back(peak);
        bare.push_back(bareWork(paths));
    }
    const double ratio = benchgen::median(program) / benchgen::median(bare);
    std::printf("%7d races, %6.1f MB: start to the first window %8.1f ms, bare work %8.1f ms, "
                "ratio %.2f (%s); peak resident %.1f MB\n",
                races, QFileInfo(paths.mainFile).size() / 1e6, benchgen::median(program),
                benchgen::median(bare), ratio,
                ratio <= targetRatio ? "target met" : "TARGET MISSED", benchgen::median(peaks));
    return ratio <= targetRatio ? 0 : 1;
}
