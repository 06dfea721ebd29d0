#include "EditorFixture.h"

#include "ui/ListGrid.h"
#include "ui/Twips.h"

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QTabWidget>

namespace {
const QString kMissing
    = QStringLiteral("Die Dokumentendatei befindet sich nicht mehr an dem angegebenen Ort, sie "
                     "wurde entweder umbenannt, verschoben oder gelöscht!\nSie sollten den "
                     "Eintrag aktualisieren oder die Zuordnung löschen");
const QString kDeleteQuestion
    = QStringLiteral("Soll die Zuordnung dieses Dokumentes wirklich gelöscht werden ?");

struct Link
{
    QString race, path, description;
};
} // namespace

class DocumentsTest : public EditorTest
{
protected:
    void showDocumentsTab()
    {
        form->show();
        control<QTabWidget>("SSTab1")->setCurrentIndex(1);
    }
    ListGrid *grid() const { return control<ListGrid>("DBGrid1_Dokumente"); }
    QString cell(int row, int column) const
    {
        return grid()->model()->index(row, column).data().toString();
    }

    // A file that exists on disk, in the documents folder.
    QString makeFile(const QString &name) const
    {
        const QString path = folder.file(QStringLiteral("Dokumente/") + name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
        return path;
    }
    // The user picks this file in the dialog and links it.
    void link(const QString &path)
    {
        ui.fileAnswers.push_back({ true, path, 1 });
        click("ad_c_neu_doc");
    }
    void selectRow(int row)
    {
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {},
                          grid()->visualRect(grid()->model()->index(row, 0)).center());
    }

    // The links as the file holds them, oldest first.
    QList<Link> stored() const
    {
        SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadOnly);
        Statement st(db,
                     "select ed_nummer, ed_datei, ed_dateiname from ereignisse_dokumente "
                     "order by erd_nummer");
        QList<Link> links;
        while (st.step())
            links.append(
                { st.column(0).toString(), st.column(1).toString(), st.column(2).toString() });
        return links;
    }
    void addStoredLink(qlonglong race, const QString &path, const QString &description) const
    {
        folder.exec(QStringLiteral("insert into ereignisse_dokumente (ed_nummer, ed_datei, "
                                   "ed_dateiname) values ('%1', %2, %3)")
                        .arg(race)
                        .arg(sqlQuoted(path), sqlQuoted(description)));
    }
    static QString sqlQuoted(QString text)
    {
        return u'\'' + text.replace(u'\'', QStringLiteral("''")) + u'\'';
    }
};

TEST_F(DocumentsTest, TabShowsTheRacesLinksNewestFirstInTwoColumns)
{
    const qlonglong key = folder.addRace({ { "ad_lauf", "Köln" } });
    const qlonglong other = folder.addRace({ { "ad_lauf", "Bonn" } });
    addStoredLink(key, "/alt/urkunde.pdf", "Urkunde");
    addStoredLink(other, "/fremd.pdf", "Fremd");
    addStoredLink(key, "/neu/ergebnisse.xls", "Ergebnisse");
    open(EditorMode::Edit, key);

    // The columns are set up when the tab is shown, not before.
    EXPECT_EQ(grid()->model()->columnCount(), 0);
    showDocumentsTab();
    ASSERT_EQ(grid()->model()->columnCount(), 2);
    EXPECT_EQ(grid()->model()->headerData(0, Qt::Horizontal).toString(), "Beschreibung");
    EXPECT_EQ(grid()->model()->headerData(1, Qt::Horizontal).toString(), "Lagerort");
    EXPECT_EQ(grid()->columnWidth(0), tw(4000));
    EXPECT_EQ(grid()->columnWidth(1), tw(10000));
    EXPECT_FALSE(grid()->isColumnHidden(0));
    EXPECT_FALSE(grid()->isColumnHidden(1));
    ASSERT_EQ(grid()->model()->rowCount(), 2);
    EXPECT_EQ(cell(0, 0), "Ergebnisse");
    EXPECT_EQ(cell(0, 1), "/neu/ergebnisse.xls");
    EXPECT_EQ(cell(1, 0), "Urkunde");
    EXPECT_EQ(grid()->currentIndex().row(), 0);
    EXPECT_EQ(grid()->palette().color(QPalette::Base), QColor(0, 128, 255));
    EXPECT_EQ(grid()->palette().color(QPalette::Text), QColor(255, 255, 255));

    for (const auto &[name, caption] :
         { std::pair { "ad_c_neu_doc", "Neues Dokument zuordnen" },
           std::pair { "ad_c_öffnen_doc", "Dokument öffnen" },
           std::pair { "ad_c_bearbeiten_doc", "Beschreibung bearbeiten" },
           std::pair { "ad_c_löschen_doc", "Zuordnung löschen" }, std::pair { "db_ok_doc", "OK" },
           std::pair { "db_abbr_doc", "Abbrechen" } })
        EXPECT_EQ(control<QPushButton>(name)->text(), QString::fromUtf8(caption)) << name;
    EXPECT_FALSE(control("Picture2")->isVisible());
    EXPECT_TRUE(control("ad_c_neu_doc")->isVisible());
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(DocumentsTest, LinkingToAnExistingRaceStoresThePathDescribedByTheRaceName)
{
    const qlonglong key = folder.addRace({ { "ad_lauf", "Köln-Marathon" } });
    addStoredLink(key, "/alt.pdf", "Alt");
    open(EditorMode::Edit, key);
    showDocumentsTab();
    const QString path = makeFile("Foto vom Zieleinlauf #1.jpg");
    link(path);

    ASSERT_EQ(ui.fileRequests.size(), 1);
    const Ui::FileRequest &request = ui.fileRequests.front();
    EXPECT_EQ(request.title, "Lagerort des Dokumentes bestimmen");
    EXPECT_EQ(request.initialDir, ctx.paths.documentFolder());
    EXPECT_EQ(request.fileName, "*.*");
    EXPECT_EQ(request.filter, "Alle Dateien|*.*");

    const QList<Link> links = stored();
    ASSERT_EQ(links.size(), 2);
    EXPECT_EQ(links[1].race, QString::number(key));
    EXPECT_EQ(links[1].path, path);
    EXPECT_EQ(links[1].description, "Köln-Marathon");
    // Newest first, and the new link is the selected one.
    EXPECT_EQ(cell(0, 0), "Köln-Marathon");
    EXPECT_EQ(cell(1, 0), "Alt");
    EXPECT_EQ(grid()->currentIndex().row(), 0);
    EXPECT_EQ(form->documents()[0].path, path);
    // The file is only referred to, never copied.
    EXPECT_EQ(QDir(folder.file("Dokumente")).entryList(QDir::Files).size(), 1);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(DocumentsTest, NewAndCopiedRacesLinkToTheirOwnNewNumber)
{
    const qlonglong source = folder.addRace({ { "ad_lauf", "Vorlage" } });
    addStoredLink(source, "/vorlage.pdf", "Vorlage");

    open(EditorMode::Copy, source);
    const QString copyNumber = QString::number(form->raceNumber());
    ASSERT_NE(copyNumber, QString::number(source));
    showDocumentsTab();
    EXPECT_EQ(grid()->model()->rowCount(), 0); // the source's links are not the copy's
    link("/kopie.pdf");
    EXPECT_EQ(grid()->model()->rowCount(), 1);
    EXPECT_EQ(cell(0, 1), "/kopie.pdf");
    EXPECT_EQ(cell(0, 0), "Vorlage");

    form.reset();
    open(EditorMode::New);
    const QString newNumber = QString::number(form->raceNumber());
    showDocumentsTab();
    typeCombo(7, "Stadtlauf");
    link("/neu1.pdf");
    link("/neu2.pdf");
    ASSERT_EQ(grid()->model()->rowCount(), 2);
    EXPECT_EQ(cell(0, 1), "/neu2.pdf");
    EXPECT_EQ(cell(1, 1), "/neu1.pdf");

    const QList<Link> links = stored();
    ASSERT_EQ(links.size(), 4);
    EXPECT_EQ(links[0].race, QString::number(source));
    EXPECT_EQ(links[1].race, copyNumber);
    EXPECT_EQ(links[2].race, newNumber);
    EXPECT_EQ(links[2].description, "Stadtlauf");
    EXPECT_EQ(links[3].race, newNumber);
}

TEST_F(DocumentsTest, CancellingTheDialogAddsNothing)
{
    const qlonglong key = folder.addRace({ { "ad_lauf", "X" } });
    open(EditorMode::Edit, key);
    showDocumentsTab();
    click("ad_c_neu_doc"); // the empty script cancels and hands back the proposed name
    ui.fileAnswers.push_back({ false, QString(), 1 });
    click("ad_c_neu_doc");
    EXPECT_EQ(ui.fileRequests.size(), 2);
    EXPECT_EQ(folder.count("ereignisse_dokumente"), 0);
    EXPECT_EQ(grid()->model()->rowCount(), 0);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(DocumentsTest, LongPathsAreCutTo255CharactersAndThenReportedMissing)
{
    const qlonglong key = folder.addRace({ { "ad_lauf", "X" } });
    open(EditorMode::Edit, key);
    showDocumentsTab();
    const QString longPath = QStringLiteral("/") + QString(299, u'a');
    link(longPath);
    EXPECT_EQ(stored().value(0).path, longPath.left(255));

    // A character outside the basic plane is kept whole or not at all.
    const QString wide = QStringLiteral("/") + QString(253, u'b') + QStringLiteral("😀zz");
    link(wide);
    EXPECT_EQ(stored().value(1).path, wide.left(254));

    click("ad_c_öffnen_doc");
    EXPECT_TRUE(ui.openedUrls.isEmpty());
    EXPECT_EQ(ui.messageTexts(), QStringList { kMissing });
}

TEST_F(DocumentsTest, OpeningHandsTheFileOverOrReportsItMissing)
{
    const qlonglong key = folder.addRace({ { "ad_lauf", "X" } });
    const QString present = makeFile("Ergebnis liste #2 (ä).pdf");
    const QString renamed = makeFile("alt.doc");
    addStoredLink(key, present, "Da");
    addStoredLink(key, renamed, "Weg");
    addStoredLink(key, folder.file("Dokumente"), "Ordner");
    ASSERT_TRUE(QFile::rename(renamed, renamed + QStringLiteral(".bak")));
    open(EditorMode::Edit, key);
    showDocumentsTab();

    // Newest first: the folder, the renamed file, the present file.
    click("ad_c_öffnen_doc");
    selectRow(1);
    click("ad_c_öffnen_doc");
    ASSERT_EQ(ui.messages.size(), 2);
    for (const FakeUi::Message &m : ui.messages) {
        EXPECT_EQ(m.text, kMissing);
        EXPECT_EQ(m.icon, Ui::Icon::None);
        EXPECT_EQ(m.buttons, Ui::Buttons::Ok);
        EXPECT_EQ(m.title, "Strivo");
    }
    EXPECT_TRUE(ui.openedUrls.isEmpty());

    selectRow(2);
    click("ad_c_öffnen_doc");
    ASSERT_EQ(ui.openedUrls.size(), 1);
    EXPECT_TRUE(ui.openedUrls[0].isLocalFile());
    EXPECT_EQ(ui.openedUrls[0].toLocalFile(), present);

    // A double click on a row opens it as well.
    selectRow(0);
    const QPoint at = grid()->visualRect(grid()->model()->index(2, 1)).center();
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {},
                      at); // QTest sends only the second press
    QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, at);
    ASSERT_EQ(ui.openedUrls.size(), 2);
    EXPECT_EQ(ui.openedUrls[1].toLocalFile(), present);
    EXPECT_EQ(ui.messages.size(), 2);
    EXPECT_TRUE(QFile::exists(present));
}

TEST_F(DocumentsTest, DescriptionIsEditedInThePanelAndStoredOnlyByOk)
{
    const qlonglong key = folder.addRace({ { "ad_lauf", "X" } });
    addStoredLink(key, "/a.pdf", "Erste");
    addStoredLink(key, "/b.pdf", "Zweite");
    open(EditorMode::Edit, key);
    showDocumentsTab();
    auto *panel = control("Picture2");
    auto *text = control<QLineEdit>("ad_t_beschreibung_doc");

    selectRow(1);
    click("ad_c_bearbeiten_doc");
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(text->text(), "Erste");
    typeInto(text, "Urkunde über 10 km");
    click("db_abbr_doc");
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(stored()[0].description, "Erste");
    EXPECT_EQ(cell(1, 0), "Erste");

    click("ad_c_bearbeiten_doc");
    EXPECT_EQ(text->text(), "Erste");
    const QString longText = QString(300, u'l');
    typeInto(text, longText);
    click("db_ok_doc");
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(stored()[0].description, longText); // not cut
    EXPECT_EQ(stored()[1].description, "Zweite");
    EXPECT_EQ(cell(1, 0), longText);

    // Another tab discards an edit in progress.
    selectRow(0);
    click("ad_c_bearbeiten_doc");
    typeInto(text, "verworfen");
    control<QTabWidget>("SSTab1")->setCurrentIndex(0);
    EXPECT_FALSE(panel->isVisible());
    control<QTabWidget>("SSTab1")->setCurrentIndex(1);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(stored()[1].description, "Zweite");
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(DocumentsTest, DeletingAsksAndRemovesOnlyTheLink)
{
    const qlonglong key = folder.addRace({ { "ad_lauf", "X" } });
    const QString file = makeFile("bleibt.pdf");
    addStoredLink(key, file, "Eins");
    addStoredLink(key, "/zwei.pdf", "Zwei");
    addStoredLink(key, "/drei.pdf", "Drei");
    open(EditorMode::Edit, key);
    showDocumentsTab();

    selectRow(1);
    ui.answers = { Ui::Answer::No };
    click("ad_c_löschen_doc");
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, kDeleteQuestion);
    EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Question);
    EXPECT_EQ(ui.messages[0].buttons, Ui::Buttons::YesNo);
    EXPECT_EQ(folder.count("ereignisse_dokumente"), 3);
    EXPECT_EQ(grid()->currentIndex().row(), 0); // back at the first row

    selectRow(2);
    ui.answers = { Ui::Answer::Yes };
    click("ad_c_löschen_doc");
    EXPECT_EQ(folder.count("ereignisse_dokumente"), 2);
    ASSERT_EQ(grid()->model()->rowCount(), 2);
    EXPECT_EQ(cell(0, 0), "Drei");
    EXPECT_EQ(cell(1, 0), "Zwei");
    EXPECT_EQ(grid()->currentIndex().row(), 0);
    EXPECT_TRUE(QFile::exists(file));

    click("ad_c_löschen_doc");
    click("ad_c_löschen_doc");
    EXPECT_EQ(folder.count("ereignisse_dokumente"), 0);
    EXPECT_EQ(grid()->model()->rowCount(), 0);
    EXPECT_EQ(ui.messages.size(), 4);
}

TEST_F(DocumentsTest, ARaceWithoutLinksHasNothingToOpenDescribeOrDelete)
{
    const qlonglong key = folder.addRace({ { "ad_lauf", "X" } });
    addStoredLink(key, "/einzig.pdf", "Einzig");
    open(EditorMode::Edit, key);
    showDocumentsTab();
    // The last link goes, then the panel had been opened for it.
    click("ad_c_bearbeiten_doc");
    click("ad_c_löschen_doc");
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(folder.count("ereignisse_dokumente"), 0);

    click("db_ok_doc");
    EXPECT_FALSE(control("Picture2")->isVisible());
    click("ad_c_öffnen_doc");
    click("ad_c_bearbeiten_doc");
    EXPECT_FALSE(control("Picture2")->isVisible());
    click("ad_c_löschen_doc");
    QTest::keyClick(grid(), Qt::Key_Return);
    EXPECT_EQ(ui.messages.size(), 1); // no error, no question
    EXPECT_TRUE(ui.openedUrls.isEmpty());

    form.reset();
    open(EditorMode::New);
    showDocumentsTab();
    for (const char *button :
         { "ad_c_öffnen_doc", "ad_c_bearbeiten_doc", "db_ok_doc", "ad_c_löschen_doc" })
        click(button);
    EXPECT_FALSE(control("Picture2")->isVisible());
    EXPECT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(folder.count("ereignisse_dokumente"), 0);
}

TEST_F(DocumentsTest, LinksOutliveACancelledNewRaceAndADeletedRace)
{
    open(EditorMode::New);
    const QString newNumber = QString::number(form->raceNumber());
    showDocumentsTab();
    link("/bleibt-neu.pdf");
    cancel();
    EXPECT_EQ(row(newNumber.toLongLong()).size(), 0); // the race row is gone
    EXPECT_EQ(stored().value(0).race, newNumber);

    form.reset();
    const qlonglong key
        = folder.addRace({ { "ad_lauf", "Weg" }, { "ad_lauf_datum", "01.05.2026" } });
    addStoredLink(key, "/bleibt-alt.pdf", "Alt");
    open(EditorMode::Delete, key);
    ui.answers = { Ui::Answer::Yes };
    save();
    EXPECT_EQ(row(key).size(), 0);
    EXPECT_EQ(folder.count("ereignisse_dokumente"), 2);
    EXPECT_EQ(stored().value(1).race, QString::number(key));
}

TEST_F(DocumentsTest, ADatabaseFailureIsReportedAndTheEditorStaysUsable)
{
    const qlonglong key = folder.addRace({ { "ad_lauf", "X" } });
    open(EditorMode::Edit, key);
    showDocumentsTab();
    folder.exec(QStringLiteral("drop table ereignisse_dokumente"));
    link("/a.pdf");
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].title, "Strivo");
    EXPECT_EQ(ui.messages[0].buttons, Ui::Buttons::Ok);
    EXPECT_TRUE(form->isVisible());
}
