#include "EditorFixture.h"

#include <QGroupBox>
#include <QTabWidget>

TEST_F(EditorTest, CaptionsLimitsColoursAndTips)
{
    open(EditorMode::New);
    EXPECT_EQ(control<QGroupBox>("Frame9")->title(), "Lauf");
    EXPECT_EQ(control<QGroupBox>("Frame10")->title(), "Veranstalter");
    EXPECT_EQ(control<QGroupBox>("Frame1")->title(), "Startgelder");
    EXPECT_EQ(control<QGroupBox>("Frame4")->title(), "Ansprechpartner");
    auto *tabs = control<QTabWidget>("SSTab1");
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), "  Notizen  ");
    EXPECT_EQ(tabs->tabText(1), "  Dokumente  ");
    EXPECT_EQ(tabs->tabText(2), "  Startbild  ");
    EXPECT_EQ(control<QRadioButton>("ad_o_strecke(2)")->text(), "andere Strecke");
    EXPECT_EQ(control<QCheckBox>("ad_check_bezahlt")->text(), "Startgeld überwiesen am:");
    EXPECT_EQ(control<QCheckBox>("ad_check_alarm")->text(),
              "ab diesem Datum bei jedem Programmstart an die Bezahlung des Startgelds erinnern");
    EXPECT_EQ(control<QPushButton>("db_abbr(3)")->text(), "&Abbrechen");

    const std::pair<const char *, int> limits[] = {
        { "ad_t_lauf_ort", 50 }, { "ad_t_strecke", 50 }, { "ad_t_zeit", 50 },
        { "ad_internet", 150 },  { "ad_email", 150 },    { "ad_konto1", 15 },
        { "ad_blz1", 15 },       { "ad_t_sg22", 50 },    { "ad_plz", 10 },
        { "ad_pfplz", 10 },      { "ad_postfach", 10 },  { "ad_email_ansprech", 150 },
    };
    for (const auto &[name, limit] : limits)
        EXPECT_EQ(control<QLineEdit>(name)->maxLength(), limit) << name;
    type("ad_plz", QStringLiteral("123456789012"));
    EXPECT_EQ(fieldText("ad_plz"), "1234567890");

    EXPECT_EQ(control("db_abbr(3)")->palette().color(QPalette::Button), QColor(255, 192, 192));
    EXPECT_EQ(control("db_ok(3)")->palette().color(QPalette::Button), QColor(192, 255, 192));
    EXPECT_FALSE(control<QPushButton>("db_ok(3)")->autoDefault());
    for (const char *name : { "ad_l_lauf_datum", "ad_l_angemeldet", "ad_l_start1", "ad_l_start2",
                              "ad_l_start3", "ad_l_alarm", "ad_l_überwiesen" }) {
        EXPECT_EQ(control(name)->palette().color(QPalette::Window), QColor(255, 255, 192)) << name;
        EXPECT_EQ(control(name)->toolTip(), "Mausklick um Kalender aufzurufen") << name;
        EXPECT_FALSE(control(name)->accessibleDescription().isEmpty()) << name;
    }
    for (const char *name : { "ad_email", "ad_email_ansprech", "ad_internet" })
        EXPECT_EQ(control(name)->palette().color(QPalette::Text), QColor(0, 0, 255)) << name;
    EXPECT_EQ(control("ad_email")->toolTip(), "Doppelclick zum Starten des Mailprogramms");
    EXPECT_EQ(control("ad_internet")->toolTip(), "Doppelclick zum Aufruf der Web-Adresse");

    // Every field is announced by its label.
    int buddies = 0;
    for (QLabel *l : form->findChildren<QLabel *>())
        if (l->buddy())
            ++buddies;
    EXPECT_EQ(buddies, 27);
}
