// Times one run of the list procedure (statement, query, grid reset) on a database of N races.
// Usage: list_bench [races=10000] [runs=50]
#include "AppContext.h"
#include "FakeUi.h"
#include "Haupt_Form.h"
#include "RaceGenerator.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int races = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 50;

    QTemporaryDir dir;
    benchgen::makeRaceDatabase(dir.filePath(QStringLiteral("Strivo-DB.mdb")), races);

    FakeUi ui; // the start screen and any message must not wait for a user
    SystemClock clock;
    AppContext ctx(ui, clock, dir.path());
    Haupt_Form window(ctx);
    window.Form_Load();
    if (!ui.messages.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(ui.messageTexts().join(u'\n')));
    window.show();
    QApplication::processEvents();

    auto measure = [&](const char *what) {
        std::vector<double> ms;
        for (int i = 0; i < runs; ++i) {
            QElapsedTimer t;
            t.start();
            window.ad_check1_Click(2);
            QApplication::processEvents(); // the grid takes the new rows
            ms.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        std::sort(ms.begin(), ms.end());
        std::printf(
            "%s: %d of %d races listed, %d runs: median %.2f ms, min %.2f ms, max %.2f ms\n", what,
            ctx.Lauf_db.recordCount(), races, runs, ms[ms.size() / 2], ms.front(), ms.back());
    };
    measure("Alle zukünftigen Läufe");
    window.findChild<QCheckBox *>(QStringLiteral("ad_check1(0)"))->setChecked(false);
    measure("Alle Läufe");
    return 0;
}
