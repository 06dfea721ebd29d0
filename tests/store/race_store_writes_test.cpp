// SPDX-License-Identifier: GPL-3.0-or-later
// Saving, copying, deleting and cancelling through the race store leave the file as the race
// editor leaves it: the editor works on one copy of a database, the store on another, and both
// files must then hold the same rows and hand out the same next number.
#include "../editor/EditorFixture.h"
#include "EdgeCaseRaces.h"

#include "data/RaceStore.h"
#include "model/RaceColumns.h"

namespace {

QStringList fileContent(const QString &path)
{
    SqliteDb db(path, SqliteDb::Open::ReadOnly);
    QStringList lines;
    for (const char *sql : { "select * from adressen order by ad_nummer",
                             "select * from ereignisse_dokumente order by erd_nummer",
                             "select name, seq from sqlite_sequence order by name" }) {
        Statement st(db, sql);
        while (st.step()) {
            QStringList cells;
            for (int c = 0; c < st.columnCount(); ++c)
                cells << EdgeCaseRaces::cell(st.column(c));
            lines << EdgeCaseRaces::line(cells);
        }
    }
    return lines;
}

class RaceStoreWrites : public EditorTest
{
protected:
    RaceStoreWrites()
    {
        for (const TestFolder *f : { &folder, &other }) {
            f->addRace({ { "ad_lauf", "Köln-Marathon" }, { "ad_lauf_datum", "05.10.2025" } });
            f->addRace({ { "ad_lauf", "Ölberg" },
                         { "ad_lauf_datum", "29.02.2024" },
                         { "ad_gelaufen_jn", "ja" },
                         { "ad_bezahlt_jn", "nein" },
                         { "ad_ang_jn", 2 },
                         { "ad_ang_datum", "Ja" },
                         { "ad_strecke", "10 km" },
                         { "ad_alarm_jn", "Ja" },
                         { "ad_alarm_datum", "30.02.2020" },
                         { "ad_memo", "Notiz" } });
            f->addRace({ { "ad_lauf", " " }, { "ad_lauf_datum", "31.04.2010" } });
            f->addRace({ { "ad_lauf", "Alt" }, { "ad_lauf_datum", "01.01.1850" } });
            f->exec(QStringLiteral("delete from adressen where ad_nummer = 4"));
        }
    }

    // What the editor left in its file for one race.
    Race writtenByEditor(qlonglong number)
    {
        RaceStore editorFile(folder.dbPath());
        return editorFile.race(number).value();
    }

    void expectSameFiles() { EXPECT_EQ(fileContent(other.dbPath()), fileContent(folder.dbPath())); }

    TestFolder other;
    RaceStore store { other.dbPath() };
};

TEST_F(RaceStoreWrites, SavingAChangedRace)
{
    for (qlonglong number : { 1, 2, 3 }) {
        open(EditorMode::Edit, number);
        type("ad_t_lauf_ort", QStringLiteral("Düsseldorf"));
        save();
        const Race asRead = store.race(number).value();
        store.save(writtenByEditor(number), &asRead);
    }
    expectSameFiles();
}

TEST_F(RaceStoreWrites, AddingAndSavingANewRace)
{
    open(EditorMode::New);
    typeCombo(7, QStringLiteral("Stadtlauf"));
    control<QLabel>("ad_l_lauf_datum")->setText(QStringLiteral("07.05.2026, Donnerstag"));
    save();
    const Race added = store.addEmpty();
    EXPECT_EQ(added.number, lastKey());
    store.save(writtenByEditor(added.number));
    expectSameFiles();
}

TEST_F(RaceStoreWrites, CopyingARace)
{
    open(EditorMode::Copy, 2);
    save();
    const Race copy = store.addCopy(store.race(2).value());
    EXPECT_EQ(copy.number, lastKey());
    EXPECT_EQ(RaceColumns::toStored(copy), RaceColumns::toStored(store.race(2).value()));
    store.save(writtenByEditor(copy.number));
    expectSameFiles();
}

TEST_F(RaceStoreWrites, DeletingARace)
{
    open(EditorMode::Delete, 2);
    ui.answers.push_back(Ui::Answer::Yes);
    save();
    store.remove(2);
    expectSameFiles();
}

TEST_F(RaceStoreWrites, CancellingANewRaceOrACopyLeavesOnlyTheUsedNumber)
{
    open(EditorMode::New);
    cancel();
    store.cancelNew(store.addEmpty().number);
    open(EditorMode::Copy, 1);
    cancel();
    store.cancelNew(store.addCopy(store.race(1).value()).number);
    expectSameFiles();

    // The next race gets the same number in both files.
    open(EditorMode::New);
    const Race next = store.addEmpty();
    EXPECT_EQ(next.number, lastKey());
}

TEST_F(RaceStoreWrites, SavingOverARaceChangedSinceItWasReadIsRefused)
{
    const Race asRead = store.race(1).value();
    Race mine = asRead;
    mine.place = QStringLiteral("Bonn");
    Race theirs = asRead;
    theirs.place = QStringLiteral("Essen");
    store.save(theirs, &asRead);
    try {
        store.save(mine, &asRead);
        FAIL() << "saved over a changed race";
    } catch (const DbError &e) {
        EXPECT_EQ(e.number(), ErrNo::RowChanged);
    }
    EXPECT_EQ(store.race(1)->place, QStringLiteral("Essen"));
}

TEST_F(RaceStoreWrites, AListReadOnAfterAChangeMissesNoRaceAndShowsNoneTwice)
{
    other.exec(QStringLiteral(
        "with recursive n(i) as (select 0 union all select i + 1 from n where i < 599) "
        "insert into adressen (ad_lauf, ad_lauf_datum) select 'Lauf ' || i, "
        "strftime('%d.%m.%Y', '2000-01-01', '+' || (i % 300) || ' days') from n"));
    const RaceList list = store.list({ false, false, std::nullopt }, QDate(2025, 6, 15));
    EXPECT_EQ(list.rowsRead(), 256);
    EXPECT_TRUE(list.canReadMore());
    const qlonglong first = list.number(0);
    // A race moves from the end of the list to its top, another one goes.
    Race moved = store.race(list.number(400)).value();
    moved.date = StoredDate(QStringLiteral("01.01.2030"));
    store.save(moved);
    store.remove(list.number(100));

    QSet<qlonglong> seen;
    for (int row = 0; list.hasRow(row); ++row) {
        EXPECT_FALSE(seen.contains(list.number(row))) << row;
        seen.insert(list.number(row));
    }
    EXPECT_EQ(list.number(0), first);
    // The three named races of the fixture and the 600 added.
    EXPECT_EQ(seen.size(), 603);
    // The deleted race's row is empty; the others are read as they are now.
    EXPECT_EQ(list.race(100).number, 0);
    EXPECT_EQ(list.race(1).number, list.number(1));
}

TEST_F(RaceStoreWrites, DocumentLinksAreAddedDescribedAndRemovedOneByOne)
{
    const auto links = [this](qlonglong race) {
        QStringList shown;
        for (const DocumentLink &link : store.documents(race))
            shown << QStringLiteral("%1|%2|%3").arg(link.raceNumber, link.path, link.name);
        return shown;
    };
    const qlonglong first = store.addDocument({ 0, "2", "/a.pdf", "Urkunde" });
    const qlonglong second = store.addDocument({ 0, "2", "/b/" + QString(300, u'b'), "" });
    store.addDocument({ 0, "1", "/c.pdf", "Andere" });
    EXPECT_EQ(second, first + 1);
    EXPECT_EQ(links(2), (QStringList { "2|/b/" + QString(252, u'b') + "|", "2|/a.pdf|Urkunde" }));

    store.renameDocument(first, "Ergebnisliste über 10 km");
    store.renameDocument(second, QString());
    store.removeDocument(first + 2);
    EXPECT_EQ(
        links(2),
        (QStringList { "2|/b/" + QString(252, u'b') + "|", "2|/a.pdf|Ergebnisliste über 10 km" }));
    EXPECT_TRUE(links(1).isEmpty());

    // What the file holds: the race's number as text, an empty description as "", no
    // description (renamed to nothing) as NULL.
    SqliteDb db(other.dbPath(), SqliteDb::Open::ReadOnly);
    Statement st(db,
                 "select typeof(ed_nummer), typeof(ed_dateiname) from ereignisse_dokumente "
                 "order by erd_nummer");
    QStringList types;
    while (st.step())
        types << st.column(0).toString() + u'/' + st.column(1).toString();
    EXPECT_EQ(types, (QStringList { "text/text", "text/null" }));
}

} // namespace
