// SPDX-License-Identifier: GPL-3.0-or-later
// Median time to open the race editor on a race whose six pick lists hold 1,000 entries
// each, and to save it, beside the bare commit of one changed row. Targets: open <= 150 ms,
// save <= 20 ms; at 100,000 races with 100,000 document links open <= 10 ms and save <= 10 ms
// plus the bare commit.
// Usage: editor_bench [races=200] [document links=0] [entries per pick list=1000]
#include "ProgramFixture.h"
#include "data/DocumentLinkIndex.h"
#include "data/RaceDateIndex.h"
#include "data/RaceStore.h"
#include "data/Sqlite.h"
#include "editor/RaceEditor.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
void fillPickLists(const TestFolder &folder, int entries)
{
    QString sql = QStringLiteral("begin;");
    for (int i = 0; i < entries; ++i) {
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

    ProgramRun run(TestFolder::Content::Empty, QDateTime(QDate(2026, 5, 7), QTime(10, 0)));
    const TestFolder &folder = run.folder;
    const int entries = argc > 3 ? std::max(0, std::atoi(argv[3])) : 1000;
    fillPickLists(folder, entries);
    const int races = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const int links = argc > 2 ? std::max(0, std::atoi(argv[2])) : 0;
    for (int i = 0; i < std::min(races, 200); ++i)
        folder.addRace(
            { { "ad_lauf", QStringLiteral("Lauf %1").arg(i) },
              { "ad_lauf_datum", QStringLiteral("%1.05.2026").arg(i % 28 + 1, 2, 10, QChar(u'0')) },
              { "ad_strecke", "10 km" },
              { "ad_start", "09:30" },
              { "ad_memo", QString(2000, u'n') } });

    // Further races and the document links, spread over all races, as the start-up finds them:
    // with their indexes.
    const QString n = QString::number(races), l = QString::number(links);
    folder.exec(
        "begin;"
        "with recursive n(i) as (select 201 union all select i + 1 from n where i < "
        + n
        + ") "
          "insert into adressen (ad_lauf, ad_lauf_datum, ad_strecke, ad_start, ad_memo) "
          "select 'Lauf ' || i, printf('%02d.%02d.%04d', i % 28 + 1, i % 12 + 1, 1990 + i % 50), "
          "'10 km', '09:30', 'Notiz ' || i from n where i <= "
        + n
        + ";"
          "with recursive n(i) as (select 1 union all select i + 1 from n where i < "
        + l
        + ") "
          "insert into ereignisse_dokumente (ed_nummer, ed_datei, ed_dateiname) "
          "select i % "
        + n
        + " + 1, '/home/laeufer/Dokumente/urkunde' || i || '.pdf', "
          "'Urkunde ' || i from n where "
        + l
        + " > 0;"
          "commit;");
    {
        SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadWrite);
        RaceDateIndex::ensure(db);
        DocumentLinkIndex::ensure(db);
    }

    AppContext &ctx = run.ctx;
    const FakeUi &ui = run.ui;
    const FixedClock &clock = run.clock;
    // The races of the main list, as its rows are chosen.
    const RaceList list = ctx.races().list({ true, true, std::nullopt }, clock.today());

    std::vector<double> openMs, saveMs;
    const int runs = 25;
    for (int run = 0; run < runs; ++run) {
        const qlonglong number = list.number(run);

        QElapsedTimer t;
        t.start();
        RaceEditor form(ctx, EditorMode::Edit, ctx.races().race(number));
        form.fillPickLists();
        openMs.push_back(t.nsecsElapsed() / 1e6);

        t.restart();
        form.onSaveClicked();
        saveMs.push_back(t.nsecsElapsed() / 1e6);
        if (form.result() != QDialog::Accepted || !ui.messages.isEmpty()) {
            std::fprintf(stderr, "saving failed\n");
            return 1;
        }
    }
    std::printf("editor open (%s entries per pick list): median %.1f ms (target 150 ms)\n",
                entries == 1000 ? "1,000" : qPrintable(QString::number(entries)), median(openMs));
    std::printf("editor save (%d races in the list):       median %.1f ms (target 20 ms)\n", races,
                median(saveMs));
    // The same write alone, on a connection of its own: what the file's commit costs.
    {
        SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadWrite);
        std::vector<double> commitMs;
        for (int run = 0; run < runs; ++run) {
            QElapsedTimer t;
            t.start();
            Statement st(db, "update adressen set ad_zeit = ? where ad_nummer = ?");
            st.bind(1, QString::number(run));
            st.bind(2, run + 1);
            st.step();
            commitMs.push_back(t.nsecsElapsed() / 1e6);
        }
        std::printf("  bare commit of one changed row: median %.1f ms (%d document links)\n",
                    median(commitMs), links);
    }
    std::vector<double> readMs, updateMs;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer t;
        t.start();
        const std::optional<Race> race = ctx.races().race(list.number(run));
        readMs.push_back(t.nsecsElapsed() / 1e6);
        Race changed = *race;
        changed.finishTime = QString::number(run);
        t.restart();
        ctx.races().save(changed, &*race);
        updateMs.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("  of which: reading one race %.1f ms, storing one race (checked) %.1f ms\n",
                median(readMs), median(updateMs));
    return 0;
}
