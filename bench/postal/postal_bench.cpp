// SPDX-License-Identifier: GPL-3.0-or-later
// Median time of one keystroke in the place field of the postal directory over PLACES rows:
// the search (run on the change, and on the key's release only when the key did not run it),
// the grid's reset and its repaint. Target: median <= 16 ms (one frame at 60 Hz).
// Usage: postal_bench [places=20000]
#include "PlzOrtGenerator.h"
#include "ProgramFixture.h"
#include "data/PlaceNameIndex.h"
#include "data/PostalStore.h"
#include "data/Sqlite.h"
#include "postal/PostalDirectoryDialog.h"
#include "postal/PostalRows.h"
#include "ui/ListGrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <vector>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double maximum(const std::vector<double> &v)
{
    return *std::max_element(v.begin(), v.end());
}

void typeKey(QLineEdit *field, QChar c)
{
    if (c.unicode() < 128)
        QTest::keyClick(field, char(c.unicode()));
    else
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// The main thread's processor time: on a machine busy with other work, what a keystroke costs
// the program itself (the window's work all runs on this thread).
double threadCpuMs()
{
    timespec t {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Processor times of the keystrokes timed so far, beside their wall-clock times.
std::vector<double> g_cpuAll, g_cpuToEmpty;

// One keystroke as the user sees it: the key, then the frame that shows the new list.
template<class F> double timed(F &&keystroke, std::vector<double> &cpu)
{
    QElapsedTimer t;
    t.start();
    const double cpuStart = threadCpuMs();
    keystroke();
    QCoreApplication::processEvents();
    cpu.push_back(threadCpuMs() - cpuStart);
    return double(t.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    const int rows = argc > 1 ? std::atoi(argv[1]) : 20000;
    ProgramRun run(TestFolder::Content::Empty, QDateTime(QDate(2026, 5, 7), QTime(10, 0)));
    const TestFolder &folder = run.folder;
    benchgen::addPostalDirectory(folder.dbPath(), rows);
    {
        // As the program's start-up leaves the file.
        SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadWrite);
        PlaceNameIndex::ensure(db);
    }

    AppContext &ctx = run.ctx;
    QWidget editor;

    QElapsedTimer openTimer;
    openTimer.start();
    PostalDirectoryDialog form(ctx, &editor);
    form.show();
    form.activateWindow();
    if (!QTest::qWaitForWindowActive(&form))
        std::printf("window not active\n");
    QCoreApplication::processEvents();
    const double openMs = double(openTimer.nsecsElapsed()) / 1e6;
    form.p_t_ort->setFocus();

    // Every row a search lists, read through the store as the grid would read them all.
    PostalStore store(ctx.paths.database());
    auto listedRows = [&store](const QString &text) {
        PostalList list = store.search(PostalField::Town, text);
        while (list.canReadMore())
            list.readMore();
        return list.rowsRead();
    };

    const QStringList prefixes
        = { QStringLiteral("Bad"),   QStringLiteral("Sankt"), QStringLiteral("Über"),
            QStringLiteral("Stutt"), QStringLiteral("Groß"),  QStringLiteral("Neu"),
            QStringLiteral("Ött"),   QStringLiteral("Wies") };
    std::map<int, std::vector<double>> byLength; // characters in the field after the key
    std::vector<double> all, toEmpty;
    std::map<int, long long> rowsByLength;
    const int rounds = 5;
    for (int round = 0; round < rounds; ++round) {
        for (const QString &prefix : prefixes) {
            for (int i = 0; i < prefix.size(); ++i) {
                const double ms = timed([&] { typeKey(form.p_t_ort, prefix[i]); }, g_cpuAll);
                byLength[i + 1].push_back(ms);
                if (round == 0)
                    rowsByLength[i + 1] += listedRows(form.p_t_ort->text());
                all.push_back(ms);
            }
            // Back to an empty field: the whole directory again, the largest list.
            for (int i = prefix.size(); i > 0; --i) {
                std::vector<double> cpu;
                const double ms
                    = timed([&] { QTest::keyClick(form.p_t_ort, Qt::Key_Backspace); }, cpu);
                all.push_back(ms);
                g_cpuAll.push_back(cpu.back());
                if (i == 1) {
                    toEmpty.push_back(ms);
                    g_cpuToEmpty.push_back(cpu.back());
                }
            }
        }
    }

    // Where the time goes: the search alone (the first rows in place order), and with the grid's
    // reset and repaint.
    const QStringList texts = { QStringLiteral("B"), QStringLiteral("Bad"), QString() };
    std::map<QString, std::vector<double>> searchOnly, withGrid;
    ListGrid grid;
    grid.setColumns({ { QStringLiteral("Ort"), 4000 },
                      { QStringLiteral("PLZ"), 1200 },
                      { QStringLiteral("Vorwahl"), 1200 } });
    grid.show();
    for (int round = 0; round < 20; ++round) {
        for (const QString &text : texts) {
            QElapsedTimer t;
            t.start();
            PostalList list = store.search(PostalField::Town, text);
            searchOnly[text].push_back(double(t.nsecsElapsed()) / 1e6);
            t.restart();
            grid.setRows(std::make_unique<PostalRows>(store.search(PostalField::Town, text)));
            QCoreApplication::processEvents();
            withGrid[text].push_back(double(t.nsecsElapsed()) / 1e6);
        }
    }

    std::printf("postal directory: %d rows, window opened in %.1f ms\n", rows, openMs);
    std::printf("keystroke in the place field (change + key release + repaint), %zu keys:\n",
                all.size());
    std::printf("  median %.2f ms, max %.2f ms (target median <= 16 ms)\n", median(all),
                maximum(all));
    for (const auto &[length, times] : byLength)
        std::printf("  typing character %d: median %.2f ms, max %.2f ms, %lld rows listed on "
                    "average\n",
                    length, median(times), maximum(times),
                    rowsByLength[length]
                        / std::count_if(prefixes.begin(), prefixes.end(),
                                        [length](const QString &p) { return p.size() >= length; }));
    std::printf("  backspace to an empty field (%d rows): median %.2f ms, max %.2f ms (target "
                "median <= 40 ms)\n",
                rows, median(toEmpty), maximum(toEmpty));
    std::printf("processor time of the main thread (median): keystroke %.2f ms, backspace to an "
                "empty field %.2f ms\n",
                median(g_cpuAll), median(g_cpuToEmpty));
    std::printf("one search (median): text / first rows only / with grid reset and repaint\n");
    for (const QString &text : texts)
        std::printf("  \"%s\" (%d rows): %.2f / %.2f ms\n", qPrintable(text), listedRows(text),
                    median(searchOnly[text]), median(withGrid[text]));
    return median(all) <= 16.0 && median(toEmpty) <= 40.0 ? 0 : 1;
}
