// SPDX-License-Identifier: GPL-3.0-or-later
// The one way windows build their controls, and the one rule for grids over data sources.
#include "TestFolder.h"
#include "data/RaceStore.h"
#include "racelist/RaceListRows.h"
#include "ui/FieldLimit.h"
#include "ui/FormBuilder.h"
#include "ui/ListGrid.h"
#include "ui/Style.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <memory>

#include <gtest/gtest.h>

TEST(FormBuilder, PlacesInTwipsFromTheDrawingsOrigin)
{
    QWidget page;
    FormBuilder b(&page);
    QLabel *plain = b.label(QStringLiteral("Ort:"), { 120, 765, 1065, 315 });
    EXPECT_EQ(plain->geometry(), twRect(120, 765, 1065, 315));

    // A tab page is measured from the tab control's corner; the origin is taken off in twips
    // before rounding, so 45/420 twips in give the same pixels as the drawing's own place.
    FormBuilder onTab = FormBuilder::tabPage(&page);
    EXPECT_EQ(onTab.rect({ 585, 3690, 7305, 300 }), twRect(540, 3270, 7305, 300));
    onTab.shifted(QPoint(3, -2));
    EXPECT_EQ(onTab.rect({ 585, 3690, 7305, 300 }), twRect(540, 3270, 7305, 300).translated(3, -2));
    // Settings carry over to another parent, the parent does not leak back.
    QWidget other;
    FormBuilder onOther = onTab.on(&other);
    EXPECT_EQ(onOther.parent(), &other);
    EXPECT_EQ(onTab.parent(), &page);
    EXPECT_EQ(onOther.rect({ 45, 420, 15, 15 }), QRect(3, -2, 1, 1));
}

TEST(FormBuilder, FieldsAndCaptionsBehaveAlikeInEveryWindow)
{
    QWidget w;
    FormBuilder b(&w);
    QLineEdit *f
        = b.field(QStringLiteral("ad_plz"), { 1125, 2340, 1095, 315 }, 10, QStringLiteral("PLZ"));
    EXPECT_EQ(f->parentWidget(), &w);
    EXPECT_EQ(f->objectName(), QStringLiteral("ad_plz"));
    EXPECT_EQ(f->accessibleName(), QStringLiteral("PLZ"));
    EXPECT_EQ(f->palette().color(QPalette::Base), Style::White);
    EXPECT_EQ(f->maxLength(), 10);
    // A stored value longer than the limit is still shown whole.
    FieldLimit::showWhole(*f, QStringLiteral("12345678901234"));
    EXPECT_EQ(f->text().size(), 14);

    QLabel *beside = b.caption(QStringLiteral("&PLZ:"), { 60, 2340, 990, 315 }, f);
    EXPECT_EQ(beside->buddy(), f);
    EXPECT_TRUE(beside->alignment() & Qt::AlignRight);
    QLabel *alone = b.caption(QStringLiteral("<b>Bild:</b>"), { 180, 3690, 375, 300 });
    EXPECT_EQ(alone->buddy(), nullptr);
    EXPECT_EQ(alone->textFormat(), Qt::PlainText);

    QGroupBox *frame
        = b.frame(QStringLiteral("Frame9"), QStringLiteral("Lauf"), { 0, 0, 900, 900 });
    EXPECT_EQ(frame->title(), QStringLiteral("Lauf"));
    QRadioButton *o = b.option(QStringLiteral("o"), QStringLiteral("Marathon"), { 0, 0, 900, 255 });
    EXPECT_EQ(o->text(), QStringLiteral("Marathon"));
}

TEST(FormBuilder, ButtonsTakeEnterOnlyWhereTheWindowSaysSo)
{
    QWidget w;
    FormBuilder fields(&w);
    QPushButton *command
        = fields.commandButton(QStringLiteral("c"), QStringLiteral("&Neu"), { 0, 0, 1000, 375 });
    EXPECT_FALSE(command->autoDefault());
    EXPECT_EQ(command->palette().color(QPalette::Button), Style::LightYellow);

    QList<QWidget *> collected;
    FormBuilder buttonsOnly(&w);
    buttonsOnly.enterPressesFocusedButton().collectInto(&collected);
    QPushButton *ok = buttonsOnly.button(QStringLiteral("ok"), QStringLiteral("OK"),
                                         { 0, 0, 1000, 375 }, Style::LightGreen);
    QLabel *l = buttonsOnly.label(QStringLiteral("x"), { 0, 0, 100, 100 });
    EXPECT_TRUE(ok->autoDefault());
    EXPECT_EQ(ok->palette().color(QPalette::Button), Style::LightGreen);
    EXPECT_EQ(collected, (QList<QWidget *> { ok, l }));
}

// A long list shows the rows read so far and grows as the grid asks for more or is moved to a
// row far down; its cells are the races of the list in its order.
TEST(ListGrid, AGridOverALongListGrowsWithTheRowsRead)
{
    TestFolder folder;
    folder.exec(QStringLiteral(
        "with recursive n(i) as (select 1 union all select i + 1 from n where i < 2000) "
        "insert into adressen (ad_lauf, ad_lauf_datum) "
        "select 'Lauf ' || i, printf('%02d.01.2022', i % 28 + 1) from n"));
    RaceStore store(folder.dbPath());
    const QDate today(2026, 12, 8);
    ListGrid grid;
    grid.setColumns({ { QStringLiteral("Lauf") } });
    grid.setRows(std::make_unique<RaceListRows>(store.list({ false, true, {} }, today)));
    QAbstractItemModel *model = grid.model();
    const int first = model->rowCount();
    EXPECT_GT(first, 0);
    EXPECT_LT(first, 2000);
    ASSERT_TRUE(model->canFetchMore({}));
    model->fetchMore({});
    EXPECT_GT(model->rowCount(), first);

    grid.setCurrentRow(1800); // e.g. a search finding a row far down
    EXPECT_EQ(grid.currentRow(), 1800);
    const RaceList all = store.list({ false, true, {} }, today);
    EXPECT_EQ(all.count(), 2000);
    for (const int row : { 0, 1, 999, 1800 })
        EXPECT_EQ(grid.rows()->cell(row, 3), all.race(row).name) << row;
    grid.setCurrentRow(5000);
    EXPECT_EQ(grid.currentRow(), -1);
    EXPECT_EQ(model->rowCount(), 2000);
    EXPECT_FALSE(model->canFetchMore({}));
}
