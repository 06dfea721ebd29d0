// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up maintenance against the bare work on the same files, measured in the same run:
// "pragma quick_check" on the main file, the two copies with cp, and VACUUM INTO done by the
// sqlite3 tool. The maintenance adds the checks of the compacted file and the flushes that
// keep an interrupted start from losing data; the ratio shows what they cost.
//
//   build-x/bin/bench_maintenance [races ...]     (default: 10000 100000; target ratio <= 1.3)
#include "BareWork.h"
#include "Median.h"
#include "RaceGenerator.h"
#include "data/StartupMaintenance.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr double targetRatio = 1.3;
constexpr int rounds = 7;

double maintenance(const MaintenancePaths &paths, std::map<std::string, double> &steps)
{
    QElapsedTimer timer;
    timer.start();
    double last = 0;
    runStartupMaintenance(paths, [&](const char *point) {
        const double now = timer.nsecsElapsed() / 1e6;
        steps[point] += now - last;
        last = now;
    });
    return timer.nsecsElapsed() / 1e6;
}

bool measure(int races)
{
    QTemporaryDir folder;
    const MaintenancePaths paths = MaintenancePaths::inFolder(folder.path());
    benchgen::makeRaceDatabase(paths.mainFile, races);
    const double megabytes = QFileInfo(paths.mainFile).size() / 1e6;

    std::map<std::string, double> steps;
    maintenance(paths, steps); // warms the page cache for both
    bareWork(paths);
    steps.clear();
    std::vector<double> ours, bare;
    for (int round = 0; round < rounds; ++round) {
        ours.push_back(maintenance(paths, steps));
        bare.push_back(bareWork(paths));
    }
    const double ratio = benchgen::median(ours) / benchgen::median(bare);
    std::printf("%7d races, %6.1f MB: maintenance %8.1f ms, bare work %8.1f ms, ratio %.2f (%s)\n",
                races, megabytes, benchgen::median(ours), benchgen::median(bare), ratio,
                ratio <= targetRatio ? "target met" : "TARGET MISSED");
    std::printf("        time up to each point (mean):");
    for (const auto &[point, ms] : steps)
        if (ms / rounds >= 0.1)
            std::printf(" %s %.1f", point.c_str(), ms / rounds);
    std::printf("\n");
    return ratio <= targetRatio;
}

} // namespace

int main(int argc, char **argv)
{
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty())
        sizes = { 10'000, 100'000 };
    bool met = true;
    for (int races : sizes)
        met = measure(races) && met;
    return met ? 0 : 1;
}
