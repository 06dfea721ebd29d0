#include "PostalFixture.h"

TEST_F(PostalTest, OpensOnTheWholeDirectoryInPlaceOrder)
{
    addDirectory();
    PostalDirectoryDialog &f = open();
    EXPECT_EQ(f.windowTitle(), "Auswahl von Ort, PLZ und Vorwahl");
    EXPECT_EQ(gridPlaces(),
              QStringList({ "Aachen", "Bonn", "Ohnevorwahl", "Sankt Peter", "Sankt Peter's Hof",
                            "stutensee", "Stuttgart", "Überlingen", "Ulm" }));
    EXPECT_EQ(gridCurrentRow(), 0);
    EXPECT_EQ(currentPlace(), "Aachen");
}

TEST_F(PostalTest, EachSearchFieldListsWhatBeginsWithItsText)
{
    addDirectory();
    PostalDirectoryDialog &f = open();

    f.p_t_ort->setFocus();
    typeInto(f.p_t_ort, "Stu");
    EXPECT_EQ(gridPlaces(), QStringList({ "stutensee", "Stuttgart" }));
    EXPECT_EQ(currentPlace(), "stutensee");

    // Entering another search field empties the place field and lists everything again.
    f.p_t_plz->setFocus();
    EXPECT_EQ(f.p_t_ort->text(), "");
    EXPECT_EQ(gridPlaces().size(), 9);
    typeInto(f.p_t_plz, "792");
    EXPECT_EQ(gridPlaces(), QStringList({ "Sankt Peter", "Sankt Peter's Hof" }));

    f.p_t_vw->setFocus();
    EXPECT_EQ(f.p_t_plz->text(), "");
    typeInto(f.p_t_vw, "072");
    EXPECT_EQ(gridPlaces(), QStringList({ "stutensee" }));
    typeInto(f.p_t_vw, "1");
    EXPECT_TRUE(gridPlaces().isEmpty());
    QTest::keyClick(f.p_t_vw, Qt::Key_Backspace);
    QTest::keyClick(f.p_t_vw, Qt::Key_Backspace);
    QTest::keyClick(f.p_t_vw, Qt::Key_Backspace);
    EXPECT_EQ(gridPlaces(),
              QStringList({ "Aachen", "Bonn", "Sankt Peter", "Sankt Peter's Hof", "stutensee",
                            "Stuttgart", "Überlingen", "Ulm" }))
        << "Ohnevorwahl has no area code to begin with 0";
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(PostalTest, SearchIgnoresCaseForUmlautsToo)
{
    addDirectory();
    PostalDirectoryDialog &f = open();
    f.p_t_ort->setFocus();
    typeInto(f.p_t_ort, QStringLiteral("über"));
    EXPECT_EQ(gridPlaces(), QStringList({ "Überlingen" }));
    f.p_t_ort->clear();
    typeInto(f.p_t_ort, QStringLiteral("ÜBERL"));
    EXPECT_EQ(gridPlaces(), QStringList({ "Überlingen" }));
    f.p_t_ort->clear();
    typeInto(f.p_t_ort, QStringLiteral("STU"));
    EXPECT_EQ(gridPlaces(), QStringList({ "stutensee", "Stuttgart" }));
}

TEST_F(PostalTest, AnUmlautIsALetterOfItsOwnInTheSearchAndSortsBesideItsBase)
{
    for (const char *place : { "Zürich", "Münster", "Mumbach", "München", "Köln", "Kolberg",
                               "Évian", "Essen", "Muggensturm" })
        addPlace(QString::fromUtf8(place), "1", "");
    PostalDirectoryDialog &f = open();
    EXPECT_EQ(gridPlaces(),
              QStringList({ "Essen", "Évian", "Kolberg", "Köln", "Muggensturm", "Mumbach",
                            "München", "Münster", "Zürich" }));
    f.p_t_ort->setFocus();
    for (const QString &typed :
         { QStringLiteral("mü"), QStringLiteral("MÜ"), QStringLiteral("Mü") }) {
        f.p_t_ort->clear();
        typeInto(f.p_t_ort, typed);
        EXPECT_EQ(gridPlaces(), QStringList({ "München", "Münster" })) << typed.toStdString();
    }
    f.p_t_ort->clear();
    typeInto(f.p_t_ort, QStringLiteral("mu"));
    EXPECT_EQ(gridPlaces(), QStringList({ "Muggensturm", "Mumbach" }));
    f.p_t_ort->clear();
    typeInto(f.p_t_ort, QStringLiteral("Kol"));
    EXPECT_EQ(gridPlaces(), QStringList({ "Kolberg" }));
    f.p_t_ort->clear();
    typeInto(f.p_t_ort, QStringLiteral("évi"));
    EXPECT_EQ(gridPlaces(), QStringList({ "Évian" }));
}

TEST_F(PostalTest, AnApostropheIsSearchedForLikeAnyOtherText)
{
    addDirectory();
    PostalDirectoryDialog &f = open();
    f.p_t_ort->setFocus();
    typeInto(f.p_t_ort, "Sankt Peter'");
    EXPECT_EQ(gridPlaces(), QStringList({ "Sankt Peter's Hof" }));
    EXPECT_TRUE(ui.messages.isEmpty());

    // Text that would close the quote and add a condition stays a text.
    f.p_t_ort->clear();
    typeInto(f.p_t_ort, "x' or 'a'='a");
    EXPECT_TRUE(gridPlaces().isEmpty());
    f.p_t_ort->clear();
    typeInto(f.p_t_ort, "'");
    EXPECT_TRUE(gridPlaces().isEmpty());
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(folder.count("aw_plzort"), 9);
}

TEST_F(PostalTest, EnterInASearchFieldMovesOnWithoutTyping)
{
    addDirectory();
    PostalDirectoryDialog &f = open();
    f.p_t_ort->setFocus();
    typeInto(f.p_t_ort, "Bo");
    QTest::keyClick(f.p_t_ort, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), f.p_t_plz);
    EXPECT_TRUE(f.isVisible());
    // Entering the postcode field emptied the place field.
    EXPECT_EQ(f.p_t_ort->text(), "");
    QTest::keyClick(f.p_t_plz, Qt::Key_Enter);
    EXPECT_EQ(QApplication::focusWidget(), f.p_t_vw);
    QTest::keyClick(f.p_t_vw, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), f.DBGrid1);
}

TEST_F(PostalTest, ReleasingAKeyReadsTheListAgainOnlyWhenTheKeyDidNot)
{
    addDirectory();
    PostalDirectoryDialog &f = open();
    int reads = 0;
    QObject::connect(&f.DBGrid1->listModel(), &QAbstractItemModel::modelReset,
                     [&reads] { ++reads; });
    f.p_t_ort->setFocus();
    typeInto(f.p_t_ort, "St");
    EXPECT_EQ(reads, 2);

    // A key that leaves the text as it is reads the list again on release, which makes
    // its first row current.
    f.DBGrid1->setCurrentRow(1);
    ASSERT_EQ(currentPlace(), "Stuttgart");
    QTest::keyClick(f.p_t_ort, Qt::Key_Left);
    EXPECT_EQ(reads, 3);
    EXPECT_EQ(currentPlace(), "stutensee");
}

TEST_F(PostalTest, AFailingSearchIsReportedAndTheGridKeepsItsRows)
{
    addDirectory();
    PostalDirectoryDialog &f = open();
    folder.exec("alter table aw_plzort rename to aw_plzort_alt");
    f.p_t_ort->setFocus();
    typeInto(f.p_t_ort, "S");
    ASSERT_FALSE(ui.messages.isEmpty());
    EXPECT_EQ(ui.messages[0].title, "Strivo");
    EXPECT_TRUE(ui.messages[0].text.contains("die Tabelle 'aw_plzort' fehlt (SQLite-Fehler 1)"))
        << ui.messages[0].text.toStdString();
    EXPECT_TRUE(ui.messages[0].text.endsWith(" 3000"));
    EXPECT_EQ(gridPlaces().size(), 9);
    EXPECT_TRUE(f.isVisible());
}
