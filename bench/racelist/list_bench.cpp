// SPDX-License-Identifier: GPL-3.0-or-later
// Times one run of the list procedure (store list, grid reset) on a database of N races,
// for every time filter and option, and what reading every row of a long list costs in memory.
// Usage: list_bench [races=10000] [runs=50] [folder]
// A list reads the numbers of its first screens only; the count printed is read after the timing.
// With a folder, its Strivo-DB.mdb is made once and used again by later runs of the same size.
#include "FakeUi.h"
#include "RaceGenerator.h"
#include "context/AppContext.h"
#include "racelist/RaceListRows.h"
#include "racelist/RaceListWindow.h"
#include "ui/ListGrid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QRadioButton>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>
#include <vector>

namespace {
// A line of /proc/self/status in MB ("RssAnon", "VmHWM").
double statusMb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

double threadCpuMs()
{
    timespec ts {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int races = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 50;

    QTemporaryDir temp;
    const QString folder = argc > 3 ? QString::fromLocal8Bit(argv[3]) : temp.path();
    const QString dbPath = benchgen::raceDatabaseIn(folder, races);

    FakeUi ui; // the start screen and any message must not wait for a user
    SystemClock clock;
    AppContext ctx(ui, clock, folder);
    RaceListWindow window(ctx);
    auto *grid = window.findChild<ListGrid *>(QStringLiteral("DBGrid1"));
    const auto shown = [grid] { return static_cast<const RaceListRows *>(grid->rows()); };
    // The kernel keeps no peak of anonymous memory alone: a thread samples it while the
    // start-up runs.
    std::atomic<bool> starting { true };
    double peakAnon = 0;
    std::thread sampler([&] {
        while (starting) {
            peakAnon = std::max(peakAnon, statusMb("RssAnon"));
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    QElapsedTimer startTimer;
    startTimer.start();
    window.load();
    const double startMs = double(startTimer.nsecsElapsed()) / 1e6;
    starting = false;
    sampler.join();
    if (!ui.messages.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(ui.messageTexts().join(u'\n')));
    window.show();
    QApplication::processEvents();
    std::printf("start-up (maintenance, index, first lists): %.0f ms, anonymous memory %.1f MB, "
                "peak resident %.1f MB, peak anonymous %.1f MB\n",
                startMs, statusMb("RssAnon"), statusMb("VmHWM"),
                std::max(peakAnon, statusMb("RssAnon")));

    // Wall time, and the processor time of this thread beside it: on the shared machine the
    // wall time also holds the waits for other processes.
    auto measure = [&](const QString &what) {
        std::vector<double> ms, cpu;
        for (int i = 0; i < runs; ++i) {
            QElapsedTimer t;
            const double cpuStart = threadCpuMs();
            t.start();
            window.showList();
            QApplication::processEvents(); // the grid takes the new rows
            ms.push_back(double(t.nsecsElapsed()) / 1e6);
            cpu.push_back(threadCpuMs() - cpuStart);
        }
        std::sort(ms.begin(), ms.end());
        std::sort(cpu.begin(), cpu.end());
        std::printf("%s: %d of %d races listed, %d runs: median %.2f ms, min %.2f ms, max %.2f ms "
                    "(processor median %.2f ms)\n",
                    qPrintable(what), shown()->list().count(), races, runs, ms[ms.size() / 2],
                    ms.front(), ms.back(), cpu[cpu.size() / 2]);
    };
    auto box = [&](int i) {
        return window.findChild<QCheckBox *>(QStringLiteral("ad_check1(%1)").arg(i));
    };
    auto setFilter = [&](bool future, bool past, int option) {
        box(0)->setChecked(future);
        box(1)->setChecked(past);
        // The option group lets no button go unchecked while it is exclusive.
        auto *first = window.findChild<QRadioButton *>(QStringLiteral("h_o_auswahl(0)"));
        first->group()->setExclusive(false);
        for (int i = 0; i <= 5; ++i)
            window.findChild<QRadioButton *>(QStringLiteral("h_o_auswahl(%1)").arg(i))
                ->setChecked(i == option);
        first->group()->setExclusive(true);
    };
    measure(QStringLiteral("Alle zukünftigen Läufe"));
    box(0)->setChecked(false);
    measure(QStringLiteral("Alle Läufe"));
    setFilter(false, true, -1);
    measure(QStringLiteral("Alle vergangenen Läufe"));
    const char *options[]
        = { nullptr, "angemeldet", "zu bezahlen", "gelaufen", "bezahlt", "vorgemerkt" };
    for (int option = 1; option <= 5; ++option) {
        setFilter(true, false, option);
        measure(QStringLiteral("zukünftig, %1").arg(QLatin1String(options[option])));
        setFilter(false, false, option);
        measure(QStringLiteral("alle, %1").arg(QLatin1String(options[option])));
    }

    // Scrolling to the end of the whole list: every row is read once.
    setFilter(false, false, -1);
    window.showList();
    QApplication::processEvents();
    const double before = statusMb("RssAnon");
    QElapsedTimer scroll;
    scroll.start();
    const int columns = int(raceListColumns().size());
    const int count = shown()->list().count();
    for (int r = 0; r < count; ++r)
        shown()->cell(r, r % columns);
    std::printf("reading every row of the list (%d rows): %.0f ms, anonymous memory +%.1f MB\n",
                count, double(scroll.nsecsElapsed()) / 1e6, statusMb("RssAnon") - before);
    return 0;
}
