#include "PostalFixture.h"

#include "editor/RaceEditor.h"
#include "ui/Twips.h"

#include <QHeaderView>
#include <QToolButton>

TEST_F(PostalTest, GridHasItsThreeColumnsAndBrowseModeShowsItsRows)
{
    addDirectory();
    PostalDirectoryDialog &f = open();
    const ListModel &model = f.DBGrid1->listModel();
    ASSERT_EQ(model.columnCount(), 3);
    const char *captions[] = { "Ort", "PLZ", "Vorwahl" };
    const int widths[] = { 4000, 1200, 1200 };
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), captions[c]);
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

TEST_F(PostalTest, OkHandsBackTheCurrentRowWhateverTheCaller)
{
    addDirectory();
    PostalDirectoryDialog &f = open();
    EXPECT_EQ(chosen(), "-");
    selectRow("Stuttgart");
    click(f.p_c_ok);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(chosen(), "Stuttgart|70173|0711");

    open();
    selectRow("Ohnevorwahl");
    click(form->p_c_ok);
    EXPECT_EQ(chosen(), "Ohnevorwahl|12345|");
}

TEST_F(PostalTest, DoubleClickOnARowTakesThatRow)
{
    addDirectory();
    PostalDirectoryDialog &f = open();
    f.p_t_ort->setFocus();
    typeInto(f.p_t_ort, "Stu");
    const QRect cell = f.DBGrid1->visualRect(f.DBGrid1->model()->index(1, 0));
    QTest::mouseClick(f.DBGrid1->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(f.DBGrid1->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(chosen(), "Stuttgart|70173|0711");
}

TEST_F(PostalTest, OkOnAnEmptyListTakesNothingAndCloses)
{
    addDirectory();
    PostalDirectoryDialog &f = open();
    f.p_t_plz->setFocus();
    typeInto(f.p_t_plz, "999");
    ASSERT_TRUE(gridPlaces().isEmpty());
    click(f.p_c_ok);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(chosen(), "-");
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(PostalTest, CancelAndEscapeCloseWithoutTaking)
{
    addDirectory();
    PostalDirectoryDialog &f = open();
    click(f.p_c_abbr);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.result(), QDialog::Rejected);
    EXPECT_EQ(chosen(), "-");

    PostalDirectoryDialog &g = open();
    selectRow("Bonn");
    QTest::keyClick(g.DBGrid1, Qt::Key_Escape);
    EXPECT_FALSE(g.isVisible());
    EXPECT_EQ(chosen(), "-");
}

TEST_F(PostalTest, MissingDatabaseIsReportedAndTheWindowStillOpens)
{
    QFile::remove(folder.dbPath());
    PostalDirectoryDialog &f = open();
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].title, "Strivo");
    EXPECT_TRUE(f.isVisible());
    click(f.p_c_ok);
    EXPECT_FALSE(f.isVisible());
}

// The race editor's place buttons open the directory; the editor fills its own fields with the
// row taken, by the rules of the button's caller.
class PlaceButtonTest : public PostalTest
{
protected:
    RaceEditor &openRace()
    {
        race = std::make_unique<RaceEditor>(ctx, EditorMode::New, std::nullopt);
        race->fillPickLists();
        return *race;
    }

    // Clicks the place button and takes the row of port in the directory (none: cancels).
    void take(const char *button, const QString &port)
    {
        ui.onModal = [this, port](QDialog &window) {
            auto &directory = dynamic_cast<PostalDirectoryDialog &>(window);
            EXPECT_EQ(directory.parentWidget(), race.get());
            if (port.isNull()) {
                directory.p_c_abbr->click();
            } else {
                selectRow(directory, port);
                directory.p_c_ok->click();
            }
            return directory.result();
        };
        auto *placeButton = race->findChild<QToolButton *>(QLatin1String(button));
        ASSERT_NE(placeButton, nullptr) << button;
        placeButton->click();
    }

    QLineEdit *field(const char *name) const
    {
        return race->findChild<QLineEdit *>(QLatin1String(name));
    }
    QString text(const char *name) const { return field(name)->text(); }
    // The fields a place can fill: race place, contact place, postcode, direct line,
    // telephone, fax.
    static constexpr const char *kPlaceFields[]
        = { "ad_t_lauf_ort", "ad_ort", "ad_plz", "ad_direkt", "ad_telefon1", "ad_fax" };
    QStringList placeFields() const
    {
        QStringList texts;
        for (const char *name : kPlaceFields)
            texts << text(name);
        return texts;
    }
    void setPlaceFields(const QStringList &texts) const
    {
        for (int i = 0; i < texts.size(); ++i)
            field(kPlaceFields[i])->setText(texts[i]);
    }

    std::unique_ptr<RaceEditor> race;
};

TEST_F(PlaceButtonTest, RacePlaceFillsThePlaceAndCompletesOnlyEmptyContactFields)
{
    addDirectory();
    openRace();
    // All contact fields empty: everything is filled.
    take("ad_c_lauf_ort", "Stuttgart");
    EXPECT_EQ(ui.modalWindows, QStringList({ "PLZORT_Form" }));
    EXPECT_EQ(placeFields(),
              QStringList({ "Stuttgart", "Stuttgart", "70173", "0711 / ", "0711 / ", "0711 / " }));

    // Filled contact fields stay; only the still empty ones are completed.
    setPlaceFields({ "Stuttgart", "Berlin", "", "030 / 1234", "", "030 / 99" });
    take("ad_c_lauf_ort", "Ulm");
    EXPECT_EQ(placeFields(),
              QStringList({ "Ulm", "Berlin", "89073", "030 / 1234", "0731 / ", "030 / 99" }));

    // Cancelling changes nothing.
    take("ad_c_lauf_ort", QString());
    EXPECT_EQ(placeFields(),
              QStringList({ "Ulm", "Berlin", "89073", "030 / 1234", "0731 / ", "030 / 99" }));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(PlaceButtonTest, RacePlaceLeavesTelephoneFieldsAloneWithoutAreaCode)
{
    addDirectory();
    addPlace("", "", "");
    openRace();
    take("ad_c_lauf_ort", "Ohnevorwahl");
    EXPECT_EQ(placeFields(), QStringList({ "Ohnevorwahl", "Ohnevorwahl", "12345", "", "", "" }));

    // A row without place or postcode empties the race place but fills no contact field.
    setPlaceFields({ "Ohnevorwahl", "", "" });
    take("ad_c_lauf_ort", "");
    EXPECT_EQ(placeFields(), QStringList({ "", "", "", "", "", "" }));
}

TEST_F(PlaceButtonTest, ContactPlaceOverwritesPlacePostcodeAndDirectLineOnly)
{
    addDirectory();
    openRace();
    setPlaceFields({ "alt", "alt", "alt", "alt", "alt", "alt" });
    take("ad_c_ort", "Bonn");
    EXPECT_EQ(placeFields(), QStringList({ "alt", "Bonn", "53111", "0228 / ", "alt", "alt" }));

    // The postcode button is the contact person's too; the direct line is written even
    // without an area code.
    take("ad_c_plz", "Ohnevorwahl");
    EXPECT_EQ(placeFields(), QStringList({ "alt", "Ohnevorwahl", "12345", " / ", "alt", "alt" }));
}

TEST_F(PlaceButtonTest, AValueLongerThanTheFieldTakesIsWrittenWhole)
{
    // The directory may hold longer entries than the editor's fields let one type.
    const QString longPlace = QString(60, QLatin1Char('x'));
    const QString longCode = QStringLiteral("01234567890123");
    addPlace(longPlace, longCode, longCode);
    openRace();
    ASSERT_LT(field("ad_ort")->maxLength(), longPlace.size());
    ASSERT_LT(field("ad_plz")->maxLength(), longCode.size());
    take("ad_c_lauf_ort", longPlace);
    EXPECT_EQ(text("ad_t_lauf_ort"), longPlace);
    EXPECT_EQ(text("ad_ort"), longPlace);
    EXPECT_EQ(text("ad_plz"), longCode);
    take("ad_c_ort", longPlace);
    EXPECT_EQ(text("ad_direkt"), longCode + " / ");
}
