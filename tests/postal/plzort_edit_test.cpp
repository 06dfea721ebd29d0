#include "PostalFixture.h"

#include <QHeaderView>

TEST_F(PostalTest, NewPlaceIsSavedAndFoundAgain)
{
    addDirectory();
    PostalDirectoryDialog &f = open();
    click(f.db_neu_plz[0]);
    EXPECT_TRUE(f.isEditing());
    EXPECT_TRUE(f.p_f_edit->isVisible() && f.p_f_ok_edit->isVisible());
    EXPECT_FALSE(f.p_f_command->isVisible() || f.p_f_ok->isVisible());
    EXPECT_FALSE(f.DBGrid1->isEnabled());
    EXPECT_EQ(f.p_t_ort_edit->text(), "");

    typeInto(f.p_t_ort_edit, "Freiburg");
    typeInto(f.p_t_plz_edit, "79098");
    typeInto(f.p_t_vw_edit, "0761");
    click(f.p_c_ok_edit);
    EXPECT_FALSE(f.isEditing());
    EXPECT_TRUE(f.p_f_command->isVisible() && f.p_f_ok->isVisible());
    EXPECT_EQ(place(f.editedNumber()),
              QVariantMap({ { "port", "Freiburg" }, { "plz", "79098" }, { "pvw", "0761" } }));
    EXPECT_EQ(currentPlace(), "Freiburg");
    EXPECT_EQ(gridCurrentRow(), 2);
    EXPECT_EQ(folder.count("aw_plzort"), 10);

    // Empty values are stored as typed; the fields take at most 35, 10 and 10 characters.
    click(f.db_neu_plz[0]);
    typeInto(f.p_t_plz_edit, "123456789012");
    click(f.p_c_ok_edit);
    EXPECT_EQ(place(f.editedNumber()),
              QVariantMap({ { "port", "" }, { "plz", "1234567890" }, { "pvw", "" } }));
    EXPECT_EQ(f.p_t_ort_edit->maxLength(), 35);
    EXPECT_EQ(f.p_t_vw_edit->maxLength(), 10);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(PostalTest, NewPlaceOutsideTheSearchLeavesTheFirstRowCurrent)
{
    addDirectory();
    PostalDirectoryDialog &f = open();
    f.p_t_ort->setFocus();
    typeInto(f.p_t_ort, "Stu");
    selectRow("Stuttgart");
    click(f.db_neu_plz[0]);
    typeInto(f.p_t_ort_edit, "Bonn-Beuel");
    click(f.p_c_ok_edit);
    EXPECT_EQ(folder.count("aw_plzort"), 10);
    EXPECT_EQ(f.p_t_ort->text(), "Stu");
    EXPECT_EQ(gridPlaces(), QStringList({ "stutensee", "Stuttgart" }));
    EXPECT_EQ(gridCurrentRow(), 0);
    EXPECT_EQ(currentPlace(), "stutensee");

    // One that the search lists is current after saving.
    click(f.db_neu_plz[0]);
    typeInto(f.p_t_ort_edit, "Stuhr");
    click(f.p_c_ok_edit);
    EXPECT_EQ(gridPlaces(), QStringList({ "Stuhr", "stutensee", "Stuttgart" }));
    EXPECT_EQ(currentPlace(), "Stuhr");
}

TEST_F(PostalTest, NewPlaceCancelledIsNotStored)
{
    addDirectory();
    PostalDirectoryDialog &f = open();
    selectRow("Bonn");
    click(f.db_neu_plz[0]);
    typeInto(f.p_t_ort_edit, "Nirgendwo");
    click(f.p_c_abbr_edit);
    EXPECT_FALSE(f.isEditing());
    EXPECT_TRUE(f.DBGrid1->isEnabled());
    EXPECT_EQ(folder.count("aw_plzort"), 9);
    EXPECT_EQ(gridPlaces().size(), 9);
    EXPECT_EQ(gridCurrentRow(), 0);
}

TEST_F(PostalTest, EditedRowIsStoredAndStaysCurrentAfterMoving)
{
    addDirectory();
    PostalDirectoryDialog &f = open();
    selectRow("Stuttgart");
    click(f.db_neu_plz[1]);
    EXPECT_EQ(f.editedNumber(), stuttgart);
    EXPECT_EQ(f.p_t_ort_edit->text(), "Stuttgart");
    EXPECT_EQ(f.p_t_plz_edit->text(), "70173");
    EXPECT_EQ(f.p_t_vw_edit->text(), "0711");
    f.p_t_ort_edit->setText("Abtsgmünd");
    click(f.p_c_ok_edit);
    EXPECT_EQ(place(stuttgart),
              QVariantMap({ { "port", "Abtsgmünd" }, { "plz", "70173" }, { "pvw", "0711" } }));
    // It moved to the top of the place order and is found there again.
    EXPECT_EQ(gridCurrentRow(), 1);
    EXPECT_EQ(currentPlace(), "Abtsgmünd");
}

TEST_F(PostalTest, EditCancelledByButtonOrEscapeLeavesTheRow)
{
    addDirectory();
    PostalDirectoryDialog &f = open();
    selectRow("Stuttgart");
    click(f.db_neu_plz[1]);
    f.p_t_ort_edit->setText("Anders");
    click(f.p_c_abbr_edit);
    EXPECT_FALSE(f.isEditing());
    EXPECT_EQ(place(stuttgart).value("port"), "Stuttgart");
    EXPECT_EQ(currentPlace(), "Stuttgart");

    // Escape cancels the edit; the window stays open.
    click(f.db_neu_plz[1]);
    f.p_t_ort_edit->setText("Anders");
    QTest::keyClick(f.p_t_ort_edit, Qt::Key_Escape);
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(f.isEditing());
    EXPECT_EQ(place(stuttgart).value("port"), "Stuttgart");
    EXPECT_EQ(currentPlace(), "Stuttgart");
}

TEST_F(PostalTest, DeleteShowsTheRowReadOnlyAndSaveRemovesIt)
{
    addDirectory();
    PostalDirectoryDialog &f = open();
    selectRow("Stuttgart");
    click(f.db_neu_plz[2]);
    EXPECT_EQ(f.p_t_ort_edit->text(), "Stuttgart");
    EXPECT_FALSE(f.p_t_ort_edit->isEnabled());
    EXPECT_FALSE(f.p_t_vw_edit->isEnabled());

    // Cancelling keeps it.
    click(f.p_c_abbr_edit);
    EXPECT_EQ(folder.count("aw_plzort"), 9);
    EXPECT_EQ(currentPlace(), "Stuttgart");

    // Saving deletes it without a question; the re-read list starts at its first row.
    click(f.db_neu_plz[2]);
    click(f.p_c_ok_edit);
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_TRUE(place(stuttgart).isEmpty());
    EXPECT_FALSE(gridPlaces().contains("Stuttgart"));
    EXPECT_EQ(gridCurrentRow(), 0);
    EXPECT_EQ(currentPlace(), "Aachen");
    EXPECT_FALSE(f.isEditing());

    // After a new command the edit fields take input again.
    click(f.db_neu_plz[1]);
    EXPECT_TRUE(f.p_t_ort_edit->isEnabled());
}

TEST_F(PostalTest, DeletingTheLastRowsOfASearchEmptiesTheList)
{
    addDirectory();
    PostalDirectoryDialog &f = open();
    // The last row of the list.
    selectRow("Ulm");
    click(f.db_neu_plz[2]);
    click(f.p_c_ok_edit);
    EXPECT_EQ(gridPlaces().size(), 8);
    EXPECT_EQ(currentPlace(), "Aachen");

    // The only row a search lists.
    f.p_t_ort->setFocus();
    typeInto(f.p_t_ort, "Bo");
    ASSERT_EQ(gridPlaces(), QStringList({ "Bonn" }));
    click(f.db_neu_plz[2]);
    click(f.p_c_ok_edit);
    EXPECT_TRUE(gridPlaces().isEmpty());
    EXPECT_FALSE(f.isEditing());
    EXPECT_EQ(folder.count("aw_plzort"), 7);
    EXPECT_TRUE(ui.messages.isEmpty());

    // OK then takes nothing.
    click(f.p_c_ok);
    EXPECT_EQ(chosen(), "-");
}

TEST_F(PostalTest, CopyStartsANewRowWithTheOldValues)
{
    addDirectory();
    PostalDirectoryDialog &f = open();
    selectRow("Stuttgart");
    click(f.db_neu_plz[3]);
    EXPECT_EQ(f.p_t_ort_edit->text(), "Stuttgart");
    EXPECT_EQ(f.p_t_plz_edit->text(), "70173");
    EXPECT_TRUE(f.p_t_ort_edit->isEnabled());

    // Cancelling leaves the table as it was and the copied row current.
    click(f.p_c_abbr_edit);
    EXPECT_EQ(folder.count("aw_plzort"), 9);
    EXPECT_EQ(currentPlace(), "Stuttgart");

    click(f.db_neu_plz[3]);
    f.p_t_ort_edit->setText("Stuttgart-Vaihingen");
    f.p_t_plz_edit->setText("70563");
    click(f.p_c_ok_edit);
    EXPECT_EQ(folder.count("aw_plzort"), 10);
    EXPECT_NE(f.editedNumber(), stuttgart);
    EXPECT_EQ(
        place(f.editedNumber()),
        QVariantMap({ { "port", "Stuttgart-Vaihingen" }, { "plz", "70563" }, { "pvw", "0711" } }));
    EXPECT_EQ(place(stuttgart).value("port"), "Stuttgart");
    EXPECT_EQ(currentPlace(), "Stuttgart-Vaihingen");
}

TEST_F(PostalTest, CommandsOnAnEmptyListReportOnSaveUntilCancelled)
{
    addDirectory();
    PostalDirectoryDialog &f = open();
    // A row edited before: its values must not reappear below.
    click(f.db_neu_plz[1]);
    click(f.p_c_abbr_edit);
    f.p_t_ort->setFocus();
    typeInto(f.p_t_ort, "Xyz");
    ASSERT_TRUE(gridPlaces().isEmpty());

    for (int k : { 1, 2, 3 }) {
        click(f.db_neu_plz[size_t(k)]);
        EXPECT_TRUE(f.isEditing()) << k;
        EXPECT_EQ(f.p_t_ort_edit->text(), "") << k;
        click(f.p_c_ok_edit);
        ASSERT_EQ(ui.messages.size(), 1) << k;
        EXPECT_EQ(ui.messages[0].text, "Kein aktueller Datensatz. 3021");
        EXPECT_EQ(ui.messages[0].title, "Strivo");
        EXPECT_TRUE(f.isEditing()) << k;
        click(f.p_c_abbr_edit);
        EXPECT_FALSE(f.isEditing()) << k;
        ui.messages.clear();
    }
    EXPECT_EQ(folder.count("aw_plzort"), 9);

    // A new place can be stored into an empty list (and an empty directory).
    click(f.db_neu_plz[0]);
    typeInto(f.p_t_ort_edit, "Xyzdorf");
    click(f.p_c_ok_edit);
    EXPECT_EQ(gridPlaces(), QStringList({ "Xyzdorf" }));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(PostalTest, RowChangedElsewhereIsWrittenAgainAndTheWindowCloses)
{
    addDirectory();
    PostalDirectoryDialog &f = open();
    selectRow("Stuttgart");
    click(f.db_neu_plz[1]);
    folder.exec(QStringLiteral("update aw_plzort set pvw = '0711-neu' where pov_nummer = %1")
                    .arg(stuttgart));
    f.p_t_ort_edit->setText("Stuttgart-Mitte");
    click(f.p_c_ok_edit);
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_FALSE(f.isVisible());
    // What the edit fields showed is stored.
    EXPECT_EQ(
        place(stuttgart),
        QVariantMap({ { "port", "Stuttgart-Mitte" }, { "plz", "70173" }, { "pvw", "0711" } }));
    // Nothing was taken.
    EXPECT_EQ(chosen(), "-");
}

TEST_F(PostalTest, EnterInAnEditFieldMovesOn)
{
    addDirectory();
    PostalDirectoryDialog &f = open();
    click(f.db_neu_plz[1]);
    EXPECT_EQ(QApplication::focusWidget(), f.p_t_ort_edit);
    QTest::keyClick(f.p_t_ort_edit, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), f.p_t_plz_edit);
    QTest::keyClick(f.p_t_plz_edit, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), f.p_t_vw_edit);
    QTest::keyClick(f.p_t_vw_edit, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), f.p_c_ok_edit);
    EXPECT_TRUE(f.isEditing());
    EXPECT_EQ(place(stuttgart).value("port"), "Stuttgart");
}

TEST_F(PostalTest, EditFieldsStandUnderTheGridColumns)
{
    addDirectory();
    PostalDirectoryDialog &f = open();
    click(f.db_neu_plz[0]);
    QLineEdit *fields[] = { f.p_t_ort_edit, f.p_t_plz_edit, f.p_t_vw_edit };
    QHeaderView *header = f.DBGrid1->horizontalHeader();
    for (int c = 0; c < 3; ++c) {
        const int columnLeft = header->mapTo(&f, QPoint(header->sectionViewportPosition(c), 0)).x();
        EXPECT_EQ(fields[c]->mapTo(&f, QPoint(0, 0)).x(), columnLeft) << c;
        EXPECT_EQ(fields[c]->width(), header->sectionSize(c)) << c;
    }
    // Below the grid, inside the window.
    EXPECT_GT(f.p_t_ort_edit->mapTo(&f, QPoint(0, 0)).y(), f.DBGrid1->geometry().bottom());
    EXPECT_LE(f.p_f_ok_edit->geometry().bottom(), f.height());
}

TEST_F(PostalTest, CommandsWorkOnTheSearchResultAndKeepTheSearch)
{
    addDirectory();
    PostalDirectoryDialog &f = open();
    f.p_t_plz->setFocus();
    typeInto(f.p_t_plz, "792");
    ASSERT_EQ(gridPlaces(), QStringList({ "Sankt Peter", "Sankt Peter's Hof" }));
    const QRect cell = f.DBGrid1->visualRect(f.DBGrid1->model()->index(1, 0));
    QTest::mouseClick(f.DBGrid1->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_EQ(currentPlace(), "Sankt Peter's Hof");

    click(f.db_neu_plz[1]);
    EXPECT_EQ(f.p_t_ort_edit->text(), "Sankt Peter's Hof");
    EXPECT_EQ(f.p_t_plz->text(), "792");
    f.p_t_ort_edit->setText("Sankt Peter's Höfe");
    click(f.p_c_ok_edit);
    EXPECT_EQ(f.p_t_plz->text(), "792");
    EXPECT_EQ(gridPlaces(), QStringList({ "Sankt Peter", "Sankt Peter's Höfe" }));
    EXPECT_EQ(currentPlace(), "Sankt Peter's Höfe");

    click(f.db_neu_plz[2]);
    EXPECT_EQ(f.p_t_ort_edit->text(), "Sankt Peter's Höfe");
    click(f.p_c_ok_edit);
    EXPECT_EQ(f.p_t_plz->text(), "792");
    EXPECT_EQ(gridPlaces(), QStringList({ "Sankt Peter" }));
    EXPECT_EQ(folder.count("aw_plzort"), 8);
    EXPECT_EQ(QApplication::focusWidget(), f.DBGrid1);
}

// The field limits hold for typing; editing one field of a longer stored entry keeps the rest.
TEST_F(PostalTest, EditingKeepsStoredValuesLongerThanTheirFieldsWhole)
{
    const QString name = QStringLiteral("Schwäbisch Gmünd-Straßdorf an der Rems"); // 38
    const qlonglong key = addPlace(name, QStringLiteral("73529-12345"), QStringLiteral("07171"));
    PostalDirectoryDialog &f = open();
    selectRow(name);
    click(f.db_neu_plz[1]);
    EXPECT_EQ(f.p_t_ort_edit->text(), name);
    EXPECT_EQ(f.p_t_plz_edit->text(), "73529-12345");
    f.p_t_vw_edit->selectAll();
    typeInto(f.p_t_vw_edit, QStringLiteral("07172"));
    click(f.p_c_ok_edit);
    EXPECT_EQ(place(key),
              (QVariantMap { { "port", name }, { "plz", "73529-12345" }, { "pvw", "07172" } }));
}
