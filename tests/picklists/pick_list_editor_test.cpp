#include "ProgramFixture.h"
#include "data/PickListStore.h"
#include "data/Sqlite.h"
#include "picklists/PickListEditor.h"
#include "ui/ListGrid.h"
#include "ui/Twips.h"

#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct ListCase
{
    QString entry;
    QString table;
    QString field;
    QString caption;
    int maxLength;
    PickList list;
};

const QList<ListCase> kCases = {
    { QStringLiteral("Lauf"), QStringLiteral("aw_lauf"), QStringLiteral("lauf"),
      QStringLiteral("Lauf"), 35, PickList::Race },
    { QStringLiteral("Zeitmessung"), QStringLiteral("aw_zeitmessung"),
      QStringLiteral("zeitmessung"), QStringLiteral("Zeitmessung"), 35, PickList::Timing },
    { QStringLiteral("Anrede"), QStringLiteral("aw_anrede"), QStringLiteral("anrede"),
      QStringLiteral("Anrede"), 35, PickList::Salutation },
    { QStringLiteral("Titel"), QStringLiteral("aw_titel"), QStringLiteral("titel"),
      QStringLiteral("Titel"), 35, PickList::Title },
    { QStringLiteral("Straße"), QStringLiteral("aw_strasse"), QStringLiteral("strasse"),
      QStringLiteral("Strasse"), 35, PickList::Street },
    { QStringLiteral("Land"), QStringLiteral("aw_land"), QStringLiteral("land"),
      QStringLiteral("Land"), 3, PickList::Country },
};

class AuswahlFormTest : public ::testing::Test, protected ProgramRun
{
protected:
    AuswahlFormTest()
        : ProgramRun(TestFolder::Content::Seeded, QDateTime(QDate(2026, 12, 8), QTime(10, 0)))
    {
        // Lauf and Straße start empty in the seed; give them entries (out of order).
        folder.exec(QStringLiteral("insert into aw_lauf (lauf) values ('Stadtlauf'), "
                                   "('Berglauf'), ('Citylauf')"));
        folder.exec(QStringLiteral("insert into aw_strasse (strasse) values ('Hauptstraße'), "
                                   "('Am Markt')"));
    }

    std::unique_ptr<PickListEditor> open()
    {
        auto w = std::make_unique<PickListEditor>(ctx);
        w->show();
        return w;
    }

    static void choose(PickListEditor &w, const QString &entry)
    {
        const int index = w.ausw_co_tabelle->findText(entry);
        ASSERT_GE(index, 0) << entry.toStdString();
        w.ausw_co_tabelle->setCurrentIndex(index);
    }

    static void click(QPushButton *button) { QTest::mouseClick(button, Qt::LeftButton); }
    static void command(PickListEditor &w, int k) { click(w.db_neu_ausw[size_t(k)]); }
    static void type(QLineEdit *edit, const QString &text)
    {
        edit->clear();
        QTest::keyClicks(edit, text);
    }

    static QStringList gridColumn(PickListEditor &w, int column)
    {
        QStringList texts;
        const QAbstractItemModel *m = w.DBGrid1->model();
        for (int r = 0; r < m->rowCount(); ++r)
            texts << m->data(m->index(r, column)).toString();
        return texts;
    }

    // What the file holds, in the program's list order.
    QStringList stored(const QString &table, const QString &field) const
    {
        SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadWrite);
        Statement st(
            db, QStringLiteral("select %1 from %2 order by %1").arg(field, table).toStdString());
        QStringList values;
        while (st.step())
            values << st.column(0).toString();
        return values;
    }

    // What the race editor offers in its combo when it opens next.
    QStringList offered(PickList list) const
    {
        QStringList values;
        for (const PickListEntry &entry : PickListStore(folder.dbPath()).entries(list))
            values << entry.text;
        return values;
    }

    static void selectRow(PickListEditor &w, const QString &text)
    {
        const int row = int(gridColumn(w, 0).indexOf(text));
        ASSERT_GE(row, 0) << text.toStdString();
        w.DBGrid1->selectRow(row);
        ASSERT_EQ(w.DBGrid1->currentRow(), row);
    }

    static bool browsing(PickListEditor &w)
    {
        return w.ausw_f_ok->isHidden() && !w.ausw_f_ende->isHidden() && w.DBGrid1->isEnabled()
            && w.ausw_f_command->isEnabled() && !w.ausw_t_edit->isEnabled()
            && w.ausw_t_edit->text().isEmpty() && w.ausw_t_edit->width() == tw(6765);
    }
};

TEST_F(AuswahlFormTest, OpensOnTheRaceListInBrowseMode)
{
    auto w = open();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Auswahllisten bearbeiten"));
    EXPECT_EQ(w->ausw_l_hinweis->text(),
              QStringLiteral("Hier können die Inhalte der einzelnen Auswahllisten bearbeitet, "
                             "neu erfaßt und gelöscht werden. "));
    QStringList entries;
    for (int i = 0; i < w->ausw_co_tabelle->count(); ++i)
        entries << w->ausw_co_tabelle->itemText(i);
    EXPECT_EQ(entries,
              (QStringList { "Lauf", "Zeitmessung", "Anrede", "Titel", "Straße", "Land" }));
    EXPECT_EQ(w->ausw_co_tabelle->currentText(), QStringLiteral("Lauf"));
    EXPECT_EQ(gridColumn(*w, 0), (QStringList { "Berglauf", "Citylauf", "Stadtlauf" }));
    EXPECT_EQ(w->DBGrid1->palette().color(QPalette::Base), QColor(0, 128, 255));
    EXPECT_EQ(w->DBGrid1->palette().color(QPalette::Text), QColor(Qt::white));
    EXPECT_EQ(w->DBGrid1->columnWidth(0), tw(7700));
    EXPECT_TRUE(w->DBGrid1->isColumnHidden(1));
    EXPECT_EQ(w->ausw_l_laenge->text(), QStringLiteral("maximal 35 Zeichen"));
    EXPECT_EQ(w->ausw_l_laenge->objectName(), QStringLiteral("ausw_l_länge"));
    EXPECT_TRUE(browsing(*w));
    EXPECT_EQ(w->db_abbr->text(), QStringLiteral("S&chliessen"));
    EXPECT_EQ(w->findChild<QPushButton *>(QStringLiteral("db_neu_ausw(3)"))->text(),
              QStringLiteral("&Kopieren"));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(AuswahlFormTest, EachListShowsItsTableSortedWithItsCaptionAndLength)
{
    auto w = open();
    for (const ListCase &c : kCases) {
        SCOPED_TRACE(c.entry.toStdString());
        choose(*w, c.entry);
        EXPECT_EQ(w->DBGrid1->model()->headerData(0, Qt::Horizontal).toString(), c.caption);
        EXPECT_EQ(gridColumn(*w, 0), stored(c.table, c.field));
        EXPECT_FALSE(gridColumn(*w, 0).isEmpty());
        EXPECT_EQ(w->ausw_l_laenge->text(), QStringLiteral("maximal %1 Zeichen").arg(c.maxLength));
    }
    // "Land" is the one list with the full name beside the code.
    EXPECT_FALSE(w->DBGrid1->isColumnHidden(1));
    EXPECT_EQ(w->DBGrid1->model()->headerData(1, Qt::Horizontal).toString(),
              QStringLiteral("vollständig"));
    EXPECT_EQ(w->DBGrid1->columnWidth(0), tw(1000));
    EXPECT_EQ(w->DBGrid1->columnWidth(1), tw(6700));
    const QStringList codes = gridColumn(*w, 0);
    EXPECT_EQ(gridColumn(*w, 1)[codes.indexOf(QStringLiteral("A"))], QStringLiteral("Österreich"));
}

TEST_F(AuswahlFormTest, SwitchingFromLandToTitelHidesTheNameColumnAndWidensTheEditLine)
{
    auto w = open();
    choose(*w, QStringLiteral("Land"));
    command(*w, 1); // Bearbeiten shows the narrow code field and the name field
    EXPECT_EQ(w->ausw_t_edit->width(), tw(1590));
    EXPECT_TRUE(w->ausw_t_edit_land->isVisible());
    click(w->ausw_c_abbr);

    choose(*w, QStringLiteral("Titel"));
    EXPECT_TRUE(w->DBGrid1->isColumnHidden(1));
    EXPECT_EQ(w->DBGrid1->columnWidth(0), tw(7700));
    command(*w, 1);
    EXPECT_EQ(w->ausw_t_edit->width(), tw(6765));
    EXPECT_FALSE(w->ausw_t_edit_land->isVisible());
    EXPECT_EQ(w->ausw_t_edit->text(), gridColumn(*w, 0)[w->DBGrid1->currentRow()]);
}

TEST_F(AuswahlFormTest, NewEntryInEveryListIsCutToItsLengthAndOfferedToTheNextEditor)
{
    const QString longText = QStringLiteral("Zwoelf-Stunden-Lauf rund um den Badesee!");
    ASSERT_EQ(longText.size(), 40);
    auto w = open();
    for (const ListCase &c : kCases) {
        SCOPED_TRACE(c.entry.toStdString());
        choose(*w, c.entry);
        const long long before = folder.count(c.table);

        command(*w, 0);
        EXPECT_FALSE(w->ausw_f_ok->isHidden());
        EXPECT_TRUE(w->ausw_f_ende->isHidden());
        EXPECT_EQ(w->ausw_c_ok->text(), QStringLiteral("&Speichern"));
        EXPECT_EQ(w->focusWidget(), w->ausw_t_edit);
        type(w->ausw_t_edit, longText);
        if (c.entry == QLatin1String("Land"))
            type(w->ausw_t_edit_land, QStringLiteral("Neuland"));
        click(w->ausw_c_ok);

        const QString expected = longText.left(c.maxLength);
        EXPECT_EQ(folder.count(c.table), before + 1);
        EXPECT_TRUE(stored(c.table, c.field).contains(expected));
        EXPECT_TRUE(gridColumn(*w, 0).contains(expected));
        EXPECT_TRUE(browsing(*w));
        // The race editor offers it on its next opening.
        EXPECT_TRUE(offered(c.list).contains(expected));
    }
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(AuswahlFormTest, LandCutsTheCodeToThreeAndTheNameToTwentyFiveCharacters)
{
    auto w = open();
    choose(*w, QStringLiteral("Land"));
    command(*w, 0);
    EXPECT_EQ(w->ausw_t_edit->width(), tw(1590));
    EXPECT_TRUE(w->ausw_t_edit_land->isVisible());
    EXPECT_TRUE(w->ausw_t_edit_land->text().isEmpty());
    type(w->ausw_t_edit, QStringLiteral("ABCD"));
    const QString name30 = QStringLiteral("Vereinigte Republik Beispiela");
    type(w->ausw_t_edit_land, name30 + u'X');
    click(w->ausw_c_ok);

    SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadOnly);
    EXPECT_EQ(db.scalar("select land_name from aw_land where land = 'ABC'").toString(),
              name30.left(25));
    EXPECT_EQ(db.scalar("select count(*) from aw_land where land like 'ABC%'").toInt(), 1);
    EXPECT_TRUE(offered(PickList::Country).contains(QStringLiteral("ABC")));
}

TEST_F(AuswahlFormTest, EditChangesTheCurrentEntryAndCancelLeavesItAlone)
{
    auto w = open();
    choose(*w, QStringLiteral("Titel"));
    selectRow(*w, QStringLiteral("Prof."));

    command(*w, 1);
    EXPECT_EQ(w->ausw_t_edit->text(), QStringLiteral("Prof."));
    EXPECT_FALSE(w->DBGrid1->isEnabled());
    EXPECT_FALSE(w->ausw_f_command->isEnabled());
    type(w->ausw_t_edit, QStringLiteral("Professor"));
    click(w->ausw_c_abbr);
    EXPECT_TRUE(browsing(*w));
    EXPECT_TRUE(stored(QStringLiteral("aw_titel"), QStringLiteral("titel")).contains("Prof."));

    selectRow(*w, QStringLiteral("Prof."));
    // A double click on a row is the same as "Bearbeiten".
    const QModelIndex cell = w->DBGrid1->model()->index(w->DBGrid1->currentRow(), 0);
    const QPoint at = w->DBGrid1->visualRect(cell).center();
    // A widget double click in QTest is the second press only; the first comes before it.
    QTest::mouseClick(w->DBGrid1->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(w->DBGrid1->viewport(), Qt::LeftButton, {}, at);
    ASSERT_FALSE(w->ausw_f_ok->isHidden());
    EXPECT_EQ(w->ausw_t_edit->text(), QStringLiteral("Prof."));
    type(w->ausw_t_edit, QStringLiteral("Professor"));
    click(w->ausw_c_ok);

    EXPECT_EQ(stored(QStringLiteral("aw_titel"), QStringLiteral("titel")),
              (QStringList { "Dipl.-Ing.", "Dr.", "Prof. Dr.", "Professor" }));
    EXPECT_EQ(offered(PickList::Title),
              (QStringList { "Dipl.-Ing.", "Dr.", "Prof. Dr.", "Professor" }));
    EXPECT_TRUE(browsing(*w));
}

TEST_F(AuswahlFormTest, EditOfLandShowsBothFieldsAndStoresBoth)
{
    folder.exec(QStringLiteral("insert into aw_land (land) values ('XX')")); // no full name
    auto w = open();
    choose(*w, QStringLiteral("Land"));
    selectRow(*w, QStringLiteral("XX"));
    command(*w, 1);
    EXPECT_EQ(w->ausw_t_edit->text(), QStringLiteral("XX"));
    EXPECT_EQ(w->ausw_t_edit_land->text(), QString());
    type(w->ausw_t_edit_land, QStringLiteral("Xanadu"));
    click(w->ausw_c_ok);
    SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadOnly);
    EXPECT_EQ(db.scalar("select land_name from aw_land where land = 'XX'").toString(),
              QStringLiteral("Xanadu"));
}

TEST_F(AuswahlFormTest, CopyAddsASecondEntryAndCancelAddsNothing)
{
    auto w = open();
    choose(*w, QStringLiteral("Land"));
    selectRow(*w, QStringLiteral("CH"));
    command(*w, 3);
    EXPECT_EQ(w->ausw_t_edit->text(), QStringLiteral("CH"));
    EXPECT_EQ(w->ausw_t_edit_land->text(), QStringLiteral("Schweiz"));
    click(w->ausw_c_abbr);
    EXPECT_EQ(folder.count(QStringLiteral("aw_land")), 9);

    selectRow(*w, QStringLiteral("CH"));
    command(*w, 3);
    type(w->ausw_t_edit_land, QStringLiteral("Schweiz (Kanton)"));
    click(w->ausw_c_ok);
    SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadOnly);
    EXPECT_EQ(db.scalar("select count(*) from aw_land where land = 'CH'").toInt(), 2);
    EXPECT_EQ(db.scalar("select count(*) from aw_land where land_name = 'Schweiz'").toInt(), 1);
    EXPECT_EQ(
        db.scalar("select count(*) from aw_land where land_name = 'Schweiz (Kanton)'").toInt(), 1);
}

TEST_F(AuswahlFormTest, DeleteRemovesTheCurrentEntryButNeverTheLastOne)
{
    auto w = open();
    choose(*w, QStringLiteral("Straße"));
    selectRow(*w, QStringLiteral("Hauptstraße"));
    command(*w, 2);
    click(w->ausw_c_abbr);
    EXPECT_EQ(folder.count(QStringLiteral("aw_strasse")), 2);
    EXPECT_EQ(w->pendingEdit(), RecordEdit::None);

    selectRow(*w, QStringLiteral("Hauptstraße"));
    command(*w, 2);
    EXPECT_EQ(w->ausw_c_ok->text(), QStringLiteral("Löschen"));
    EXPECT_EQ(w->ausw_t_edit->text(), QStringLiteral("Hauptstraße"));
    EXPECT_FALSE(w->ausw_t_edit->isEnabled());
    EXPECT_EQ(w->pendingEdit(), RecordEdit::Delete);
    click(w->ausw_c_ok);
    EXPECT_EQ(stored(QStringLiteral("aw_strasse"), QStringLiteral("strasse")),
              QStringList { "Am Markt" });
    EXPECT_EQ(offered(PickList::Street), QStringList { "Am Markt" });
    EXPECT_TRUE(browsing(*w));

    // The last entry stays, with a warning titled as this window's warnings are.
    command(*w, 2);
    click(w->ausw_c_ok);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text,
              QStringLiteral("Der letzte Eintrag kann nicht gelöscht werden!"));
    EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Warning);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Notavo"));
    EXPECT_EQ(folder.count(QStringLiteral("aw_strasse")), 1);
    EXPECT_TRUE(browsing(*w));

    // After a delete command, "Neu" saves again.
    command(*w, 0);
    EXPECT_EQ(w->ausw_c_ok->text(), QStringLiteral("&Speichern"));
    EXPECT_EQ(w->pendingEdit(), RecordEdit::New);
}

TEST_F(AuswahlFormTest, EmptyNameIsRefusedAndCancelLeavesNoNewEntry)
{
    auto w = open();
    choose(*w, QStringLiteral("Anrede"));
    command(*w, 0);
    click(w->ausw_c_ok);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text,
              QStringLiteral("Geben Sie bitte eine Bezeichnung ein oder "
                             "klicken Sie auf 'Abbrechen'!"));
    EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Warning);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Notavo"));
    EXPECT_FALSE(w->ausw_f_ok->isHidden());
    EXPECT_TRUE(w->ausw_t_edit->isEnabled());

    // Escape is the cancel button.
    QTest::keyClick(w->ausw_t_edit, Qt::Key_Escape);
    EXPECT_TRUE(browsing(*w));
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(folder.count(QStringLiteral("aw_anrede")), 4);

    // A single blank counts as text.
    command(*w, 0);
    type(w->ausw_t_edit, QStringLiteral(" "));
    click(w->ausw_c_ok);
    EXPECT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(stored(QStringLiteral("aw_anrede"), QStringLiteral("anrede")).contains(" "));
}

TEST_F(AuswahlFormTest, EditModeLocksTheListChoiceAndCommandsEnterMovesOn)
{
    auto w = open();
    choose(*w, QStringLiteral("Land"));
    command(*w, 0);
    EXPECT_FALSE(w->ausw_co_tabelle->isEnabled());
    EXPECT_FALSE(w->ausw_f_command->isEnabled());
    EXPECT_FALSE(w->DBGrid1->isEnabled());
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    w->ausw_t_edit->setFocus();
    QTest::keyClick(w->ausw_t_edit, Qt::Key_Return);
    EXPECT_TRUE(w->ausw_t_edit_land->hasFocus());
    EXPECT_FALSE(w->ausw_f_ok->isHidden()); // Enter pressed no button
    click(w->ausw_c_abbr);
    EXPECT_TRUE(w->ausw_co_tabelle->isEnabled());
}

TEST_F(AuswahlFormTest, EmptyListAllowsOnlyNew)
{
    folder.exec(QStringLiteral("delete from aw_lauf"));
    auto w = open();
    ASSERT_EQ(w->DBGrid1->rows()->rowsRead(), 0);
    command(*w, 1);
    EXPECT_TRUE(browsing(*w));
    command(*w, 2);
    EXPECT_TRUE(browsing(*w));
    command(*w, 3);
    EXPECT_TRUE(browsing(*w));

    command(*w, 0);
    EXPECT_FALSE(w->ausw_f_ok->isHidden());
    EXPECT_EQ(w->ausw_c_ok->text(), QStringLiteral("&Speichern"));
    type(w->ausw_t_edit, QStringLiteral("Silvesterlauf"));
    click(w->ausw_c_ok);
    EXPECT_EQ(stored(QStringLiteral("aw_lauf"), QStringLiteral("lauf")),
              QStringList { "Silvesterlauf" });
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(AuswahlFormTest, RowChangedElsewhereIsIgnoredOtherErrorsAreReported)
{
    auto w = open();
    choose(*w, QStringLiteral("Titel"));
    selectRow(*w, QStringLiteral("Dr."));
    command(*w, 1);
    folder.exec(QStringLiteral("update aw_titel set titel = 'Dr. med.' where titel = 'Dr.'"));
    type(w->ausw_t_edit, QStringLiteral("Dr. rer. nat."));
    click(w->ausw_c_ok);
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(w->ausw_t_edit->text(), QStringLiteral("Dr. rer. nat.")); // nothing lost
    click(w->ausw_c_ok); // stored on the second try
    EXPECT_TRUE(
        stored(QStringLiteral("aw_titel"), QStringLiteral("titel")).contains("Dr. rer. nat."));
    EXPECT_TRUE(browsing(*w));

    command(*w, 0);
    type(w->ausw_t_edit, QStringLiteral("Mag."));
    folder.exec(QStringLiteral("drop table aw_titel"));
    click(w->ausw_c_ok);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Strivo"));
    EXPECT_EQ(w->ausw_t_edit->text(), QStringLiteral("Mag."));
    EXPECT_FALSE(w->ausw_f_ok->isHidden());
}

TEST_F(AuswahlFormTest, CloseButtonClosesTheModalWindow)
{
    ui.onModal = [](QDialog &dialog) {
        auto &w = static_cast<PickListEditor &>(dialog);
        EXPECT_TRUE(w.isVisible());
        QTest::mouseClick(w.db_abbr, Qt::LeftButton);
        EXPECT_FALSE(w.isVisible());
        return 0;
    };
    PickListEditor w(ctx);
    ctx.ui.runModal(w);
    EXPECT_EQ(ui.modalWindows, QStringList { "Auswahl_Form" });
}

} // namespace
