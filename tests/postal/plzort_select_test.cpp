#include "PostalFixture.h"

#include "Adressen_Form.h"
#include "PostalDirectory.h"
#include "Twips.h"

#include <QHeaderView>
#include <QToolButton>

TEST_F(PostalTest, GridHasItsThreeColumnsAndBrowseModeShowsItsRows)
{
    addDirectory();
    PLZORT_Form &f = open();
    const DataSourceModel &model = f.DBGrid1->dataModel();
    ASSERT_EQ(model.columnCount(), 3);
    const char *captions[] = { "Ort", "PLZ", "Vorwahl" };
    const char *fields[] = { "PORT", "PLZ", "PVW" };
    const int widths[] = { 4000, 1200, 1200 };
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), captions[c]);
        EXPECT_EQ(model.columns()[c].field, fields[c]);
        EXPECT_EQ(f.DBGrid1->columnWidth(c), tw(widths[c]));
    }
    EXPECT_EQ(model.columns()[0].alignment, Qt::AlignLeft);
    EXPECT_EQ(model.columns()[1].alignment, Qt::AlignHCenter);
    EXPECT_EQ(model.columns()[2].alignment, Qt::AlignHCenter);
    EXPECT_EQ(model.data(model.index(6, 1), Qt::DisplayRole).toString(), "70173");

    EXPECT_EQ(f.p_c_ok->text(), "&OK - PLZ, Ort und Vorwahl übernehmen");
    EXPECT_EQ(f.p_c_abbr->text(), "&Abbrechen");
    EXPECT_EQ(f.db_neu_plz[0]->objectName(), "db_neu_plz(0)");
    EXPECT_EQ(f.db_neu_plz[0]->text(), "&Neuen Ort erfassen");
    EXPECT_EQ(f.db_neu_plz[3]->text(), "&Kopieren");
    EXPECT_TRUE(f.p_f_command->isVisible() && f.p_f_ok->isVisible());
    EXPECT_FALSE(f.p_f_edit->isVisible() || f.p_f_ok_edit->isVisible());
    EXPECT_EQ(f.p_f_command->geometry(), f.p_f_edit->geometry());
    EXPECT_EQ(f.p_f_ok->geometry(), f.p_f_ok_edit->geometry());
}

TEST_F(PostalTest, RaceCallerFillsThePlaceAndCompletesOnlyEmptyContactFields)
{
    addDirectory();
    // All contact fields empty: everything is filled.
    PLZORT_Form &f = open("lauf_ort");
    selectRow("Stuttgart");
    click(f.p_c_ok);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(editor.text("ad_t_lauf_ort"), "Stuttgart");
    EXPECT_EQ(editor.text("ad_ort"), "Stuttgart");
    EXPECT_EQ(editor.text("ad_plz"), "70173");
    EXPECT_EQ(editor.text("ad_direkt"), "0711 / ");
    EXPECT_EQ(editor.text("ad_telefon1"), "0711 / ");
    EXPECT_EQ(editor.text("ad_fax"), "0711 / ");
    EXPECT_EQ(ctx.vars.listen_geladen_jn, "ja");

    // Filled contact fields stay; only the still empty ones are completed.
    editor.set("ad_ort", "Berlin");
    editor.set("ad_plz", "");
    editor.set("ad_direkt", "030 / 1234");
    editor.set("ad_telefon1", "");
    editor.set("ad_fax", "030 / 99");
    open("lauf_ort");
    selectRow("Ulm");
    click(form->p_c_ok);
    EXPECT_EQ(editor.text("ad_t_lauf_ort"), "Ulm");
    EXPECT_EQ(editor.text("ad_ort"), "Berlin");
    EXPECT_EQ(editor.text("ad_plz"), "89073");
    EXPECT_EQ(editor.text("ad_direkt"), "030 / 1234");
    EXPECT_EQ(editor.text("ad_telefon1"), "0731 / ");
    EXPECT_EQ(editor.text("ad_fax"), "030 / 99");
}

TEST_F(PostalTest, RaceCallerLeavesTelephoneFieldsAloneWithoutAreaCode)
{
    addDirectory();
    addPlace("", "", "");
    open("lauf_ort");
    selectRow("Ohnevorwahl");
    click(form->p_c_ok);
    EXPECT_EQ(editor.text("ad_t_lauf_ort"), "Ohnevorwahl");
    EXPECT_EQ(editor.text("ad_plz"), "12345");
    EXPECT_EQ(editor.text("ad_direkt"), "");
    EXPECT_EQ(editor.text("ad_telefon1"), "");
    EXPECT_EQ(editor.text("ad_fax"), "");

    // A row without place or postcode empties the race place but fills no contact field.
    editor.set("ad_ort", "");
    editor.set("ad_plz", "");
    open("lauf_ort");
    ASSERT_TRUE(form->plzort_db.findFirst("port = ''"));
    click(form->p_c_ok);
    EXPECT_EQ(editor.text("ad_t_lauf_ort"), "");
    EXPECT_EQ(editor.text("ad_ort"), "");
    EXPECT_EQ(editor.text("ad_plz"), "");
}

TEST_F(PostalTest, ContactCallerOverwritesPlacePostcodeAndDirectLineOnly)
{
    addDirectory();
    for (const char *name :
         { "ad_t_lauf_ort", "ad_ort", "ad_plz", "ad_direkt", "ad_telefon1", "ad_fax" })
        editor.set(name, "alt");
    open("ort");
    selectRow("Bonn");
    click(form->p_c_ok);
    EXPECT_EQ(editor.text("ad_ort"), "Bonn");
    EXPECT_EQ(editor.text("ad_plz"), "53111");
    EXPECT_EQ(editor.text("ad_direkt"), "0228 / ");
    EXPECT_EQ(editor.text("ad_t_lauf_ort"), "alt");
    EXPECT_EQ(editor.text("ad_telefon1"), "alt");
    EXPECT_EQ(editor.text("ad_fax"), "alt");

    // Every caller id other than "lauf_ort" counts as "ort"; the direct line is written even
    // without an area code.
    open("irgendwas");
    selectRow("Ohnevorwahl");
    click(form->p_c_ok);
    EXPECT_EQ(editor.text("ad_ort"), "Ohnevorwahl");
    EXPECT_EQ(editor.text("ad_direkt"), " / ");
    EXPECT_EQ(editor.text("ad_t_lauf_ort"), "alt");
}

TEST_F(PostalTest, DoubleClickOnARowTakesThatRow)
{
    addDirectory();
    PLZORT_Form &f = open("ort");
    f.p_t_ort->setFocus();
    typeInto(f.p_t_ort, "Stu");
    const QRect cell = f.DBGrid1->visualRect(f.DBGrid1->model()->index(1, 0));
    QTest::mouseClick(f.DBGrid1->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(f.DBGrid1->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(editor.text("ad_ort"), "Stuttgart");
    EXPECT_EQ(editor.text("ad_plz"), "70173");
}

TEST_F(PostalTest, OkOnAnEmptyListWritesNothingAndCloses)
{
    addDirectory();
    editor.set("ad_ort", "Berlin");
    PLZORT_Form &f = open("ort");
    f.p_t_plz->setFocus();
    typeInto(f.p_t_plz, "999");
    ASSERT_TRUE(gridPlaces().isEmpty());
    click(f.p_c_ok);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(editor.text("ad_ort"), "Berlin");
    EXPECT_EQ(editor.text("ad_direkt"), "");
    EXPECT_EQ(ctx.vars.listen_geladen_jn, "ja");
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(PostalTest, CancelAndEscapeCloseWithoutWriting)
{
    addDirectory();
    PLZORT_Form &f = open("ort");
    click(f.p_c_abbr);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.result(), QDialog::Rejected);
    EXPECT_EQ(ctx.vars.listen_geladen_jn, "ja");

    ctx.vars.listen_geladen_jn = "nein";
    PLZORT_Form &g = open("ort");
    QTest::keyClick(g.DBGrid1, Qt::Key_Escape);
    EXPECT_FALSE(g.isVisible());
    EXPECT_EQ(ctx.vars.listen_geladen_jn, "ja");
    for (const char *name : { "ad_t_lauf_ort", "ad_ort", "ad_plz", "ad_direkt" })
        EXPECT_EQ(editor.text(name), "") << name;
}

TEST_F(PostalTest, MissingDatabaseIsReportedAndTheWindowStillOpens)
{
    ctx.vars.db_datei = QStringLiteral("/fehlt.mdb");
    PLZORT_Form &f = open();
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].title, "Strivo");
    EXPECT_TRUE(f.isVisible());
    click(f.p_c_ok);
    EXPECT_FALSE(f.isVisible());
}

// The race editor's buttons open the directory this way; it then fills the editor's fields.
TEST_F(PostalTest, OpensModallyForTheRealEditor)
{
    addDirectory();
    ctx.connectPickListSources();
    ctx.Lauf_db.setDatabaseName(ctx.vars.databasePath());
    ctx.Lauf_db.setRecordSource(
        "select * from adressen where ad_lauf <> '' order by cdate(ad_lauf_datum) desc");
    ctx.Lauf_db.refresh();
    ctx.vars.bearb_modus = 0;
    ctx.vars.neu_jn = "ja";
    Adressen_Form race(ctx);
    race.Form_Activate();

    ui.onModal = [this, &race](QDialog &window) {
        auto &directory = dynamic_cast<PLZORT_Form &>(window);
        EXPECT_EQ(ctx.vars.plz_aufruf, "lauf_ort");
        EXPECT_EQ(directory.parentWidget(), &race);
        directory.plzort_db.findFirst("port = 'Überlingen'");
        directory.p_c_ok->click();
        return directory.result();
    };
    openPostalDirectory(ctx, &race, "lauf_ort");
    EXPECT_EQ(ui.modalWindows, QStringList({ "PLZORT_Form" }));
    EXPECT_EQ(race.ad_t_lauf_ort->text(), "Überlingen");
    EXPECT_EQ(race.ad_ort->text(), "Überlingen");
    EXPECT_EQ(race.ad_plz->text(), "88662");
    EXPECT_EQ(race.ad_direkt->text(), "07551 / ");
    EXPECT_EQ(race.ad_telefon1->text(), "07551 / ");
    EXPECT_EQ(race.ad_fax->text(), "07551 / ");

    ui.onModal = [this](QDialog &window) {
        EXPECT_EQ(ctx.vars.plz_aufruf, "ort");
        auto &directory = dynamic_cast<PLZORT_Form &>(window);
        directory.plzort_db.findFirst("port = 'Bonn'");
        directory.p_c_ok->click();
        return directory.result();
    };
    openPostalDirectory(ctx, &race, "ort");
    EXPECT_EQ(race.ad_t_lauf_ort->text(), "Überlingen");
    EXPECT_EQ(race.ad_ort->text(), "Bonn");
    EXPECT_EQ(race.ad_plz->text(), "53111");
    EXPECT_EQ(race.ad_direkt->text(), "0228 / ");
    EXPECT_EQ(race.ad_telefon1->text(), "07551 / ");
}
