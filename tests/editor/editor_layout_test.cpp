#include "EditorFixture.h"

#include "Twips.h"

#include <QGroupBox>
#include <QTabWidget>

TEST_F(EditorTest, ControlsAreWhereTheFormPutsThem)
{
    Adressen_Form &f = open(0);
    EXPECT_EQ(f.size(), twSize(15240, 10650));

    struct Place
    {
        const char *name;
        QRect rect;
    };
    const Place places[] = {
        { "Frame9", twRect(135, 135, 14865, 1950) },
        { "Frame10", twRect(135, 2250, 14865, 1545) },
        { "Frame1", twRect(135, 3960, 14865, 1455) },
        { "Frame4", twRect(9045, 5535, 5955, 4470) },
        { "SSTab1", twRect(90, 90, 8565, 4560) },
        { "db_abbr(3)", twRect(12195, 10080, 1365, 375) },
        { "db_ok(3)", twRect(13635, 10080, 1365, 375) },
        { "aw_Combo1(7)", twRect(1260, 270, 5160, 315) },
        { "ad_t_lauf_ort", twRect(1260, 765, 5145, 315) },
        { "ad_l_lauf_datum", twRect(1260, 1260, 2595, 315) },
        { "t_termin_minuten", twRect(5760, 1260, 645, 315) },
        { "ad_t_strecke", twRect(8820, 1305, 1140, 315) },
        { "ad_l_angemeldet", twRect(11970, 270, 2775, 315) },
        { "ad_t_zeit", twRect(13320, 1305, 1410, 315) },
        { "ad_internet", twRect(7425, 270, 7305, 315) },
        { "aw_Combo1(10)", twRect(11970, 1080, 2775, 315) },
        { "ad_t_strecke_sg", twRect(180, 990, 1095, 315) },
        { "ad_l_start2", twRect(3915, 585, 1200, 315) },
        { "ad_t_sg32", twRect(7425, 585, 800, 315) },
        { "ad_l_überwiesen", twRect(11970, 945, 2775, 315) },
        { "aw_Combo1(9)", twRect(4860, 2790, 960, 315) },
        { "ad_email_ansprech", twRect(1125, 4005, 4695, 315) },
    };
    for (const Place &p : places)
        EXPECT_EQ(control(p.name)->geometry(), p.rect) << p.name;
    EXPECT_EQ(control("ad_o_strecke(1)")->pos(), twRect(7020, 810, 0, 0).topLeft());
    EXPECT_EQ(control("ad_check_bezahlt")->pos(), twRect(8730, 945, 0, 0).topLeft());
    // The place buttons sit at the right end of their fields.
    EXPECT_EQ(control("ad_c_plz")->geometry().right(), control("ad_plz")->geometry().right());
    EXPECT_EQ(control("ad_c_lauf_ort")->size(), twSize(240, 315));
}

TEST_F(EditorTest, CaptionsLimitsColoursAndTips)
{
    open(0);
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

TEST_F(EditorTest, TabOrderFollowsTheForm)
{
    open(0);
    const QStringList expected = {
        "aw_Combo1(7)",
        "ad_t_lauf_ort",
        "t_termin_stunde",
        "t_termin_minuten",
        "ad_check_vorgemerkt",
        "ad_check_angemeldet",
        "ad_check_gelaufen",
        "ad_o_strecke(0)",
        "ad_o_strecke(1)",
        "ad_o_strecke(2)",
        "ad_t_zeit",
        "ad_name2",
        "ad_telefon1",
        "ad_fax",
        "ad_internet",
        "ad_email",
        "ad_konto1",
        "ad_blz1",
        "ad_bank1",
        "aw_Combo1(10)",
        "ad_t_sg11",
        "ad_t_sg12",
        "ad_t_sg13",
        "ad_t_sg21",
        "ad_t_sg22",
        "ad_t_sg23",
        "ad_t_sg31",
        "ad_t_sg32",
        "ad_t_sg33",
        "ad_check_alarm",
        "ad_check_bezahlt",
        "ad_name1",
        "ad_vorname",
        "aw_Combo1(3)",
        "aw_Combo1(1)",
        "aw_Combo1(6)",
        "ad_plz",
        "ad_ort",
        "ad_pfplz",
        "ad_postfach",
        "aw_Combo1(9)",
        "ad_direkt",
        "ad_funk",
        "ad_email_ansprech",
        "db_ok(3)",
        "db_abbr(3)",
        "ad_c_lauf_ort",
        "ad_t_strecke_sg",
        "ad_c_ort",
        "ad_c_plz",
        "ad_t_strecke",
        "SSTab1",
        "ad_t_notiz",
    };
    QStringList seen;
    QWidget *w = control(expected.first().toUtf8().constData());
    for (int steps = 0; steps < 500 && seen.size() < expected.size(); ++steps) {
        if (expected.contains(w->objectName()) && !seen.contains(w->objectName()))
            seen << w->objectName();
        w = w->nextInFocusChain();
    }
    EXPECT_EQ(seen, expected);
}
