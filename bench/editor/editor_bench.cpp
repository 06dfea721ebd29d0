// Median time to open the race editor on a race whose six pick lists hold 1,000 entries
// each, and to save it. Targets: open <= 150 ms, save <= 20 ms.
#include "FakeUi.h"
#include "TestFolder.h"
#include "common/Clock.h"
#include "context/AppContext.h"
#include "editor/Adressen_Form.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
void fillPickLists(const TestFolder &folder)
{
    QString sql = QStringLiteral("begin;");
    for (int i = 0; i < 1000; ++i) {
        const QString n = QString::number(i * 7919 % 1000).rightJustified(4, u'0');
        sql += QStringLiteral("insert into aw_titel values ('Titel %1');"
                              "insert into aw_anrede values ('Anrede %1');"
                              "insert into aw_strasse values ('Straße %1');"
                              "insert into aw_lauf values ('Lauf %1');"
                              "insert into aw_land values ('%2', 'Land %1');"
                              "insert into aw_zeitmessung values ('Zeitmessung %1');")
                   .arg(n, n.right(3));
    }
    folder.exec(sql + QStringLiteral("commit;"));
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    TestFolder folder;
    fillPickLists(folder);
    for (int i = 0; i < 200; ++i)
        folder.addRace(
            { { "ad_lauf", QStringLiteral("Lauf %1").arg(i) },
              { "ad_lauf_datum", QStringLiteral("%1.05.2026").arg(i % 28 + 1, 2, 10, QChar(u'0')) },
              { "ad_strecke", "10 km" },
              { "ad_start", "09:30" },
              { "ad_memo", QString(2000, u'n') } });

    FakeUi ui;
    FixedClock clock(QDateTime(QDate(2026, 5, 7), QTime(10, 0)));
    AppContext ctx(ui, clock, folder.path());
    ctx.vars.setProgramFolder(folder.path());
    ctx.connectPickListSources();
    ctx.Lauf_db.setDatabaseName(ctx.vars.databasePath());
    ctx.Lauf_db.setRecordSource(QStringLiteral(
        "select * from adressen where ad_lauf <> '' order by cdate(ad_lauf_datum) desc"));
    ctx.Lauf_db.refresh();

    std::vector<double> openMs, saveMs;
    const int runs = 25;
    for (int run = 0; run < runs; ++run) {
        ctx.Lauf_db.moveTo(run % ctx.Lauf_db.recordCount());
        ctx.vars.akt_ad_nummer = ctx.Lauf_db.value(QStringLiteral("ad_nummer")).toString();
        ctx.vars.bearb_modus = 1;
        ctx.vars.neu_jn = ctx.vars.loeschen_jn = QStringLiteral("nein");

        QElapsedTimer t;
        t.start();
        Adressen_Form form(ctx);
        form.Form_Activate();
        openMs.push_back(t.nsecsElapsed() / 1e6);

        t.restart();
        form.db_ok_Click(3);
        saveMs.push_back(t.nsecsElapsed() / 1e6);
        if (form.result() != QDialog::Accepted || !ui.messages.isEmpty()) {
            std::fprintf(stderr, "saving failed\n");
            return 1;
        }
    }
    std::printf("editor open (1,000 entries per pick list): median %.1f ms (target 150 ms)\n",
                median(openMs));
    std::printf("editor save (200 races in the list):       median %.1f ms (target 20 ms)\n",
                median(saveMs));
    std::vector<double> refreshMs, updateMs;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer t;
        t.start();
        ctx.Lauf_db.refresh();
        refreshMs.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        ctx.Lauf_db.edit();
        ctx.Lauf_db.setValue(QStringLiteral("ad_zeit"), QString::number(run));
        ctx.Lauf_db.update();
        updateMs.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("  of which: re-running the list of %d races %.1f ms, storing one row %.1f ms\n",
                ctx.Lauf_db.recordCount(), median(refreshMs), median(updateMs));
    return 0;
}
