#include "EditorFixture.h"

namespace {
QVariantMap fullRace()
{
    return {
        { "ad_lauf", "Berlin-Marathon" },
        { "ad_lauf_ort", "Berlin" },
        { "ad_lauf_datum", "27.09.2026" },
        { "ad_lauf_wotag", "So" },
        { "ad_strecke", "10 km" },
        { "ad_start", "07:05" },
        { "ad_ang_jn", true },
        { "ad_ang_datum", "Ja" },
        { "ad_vorgemerkt_jn", true },
        { "ad_gelaufen_jn", "Ja" },
        { "ad_zeit", "3:59:59" },
        { "ad_alarm_jn", "Ja" },
        { "ad_alarm_datum", "01.01.1900" },
        { "ad_bezahlt_jn", "Ja" },
        { "ad_bezahlt_datum", "03.02.2026" },
        { "ad_startbild_jn", true },
        { "ad_startbild", "/bilder/start.jpg" },
        { "ad_sg1_datum", "31.03.2026" },
        { "ad_sg11", "70 €" },
        { "ad_name_veranst", "SCC Events" },
        { "ad_titel_ansprech", "Dr." },
        { "ad_land_ansprech", "XYZ" },
        { "ad_memo", "Startblock F" },
    };
}
} // namespace

TEST_F(EditorTest, NewRaceAddsAStoredBlankRowAndShowsInitialValues)
{
    folder.addRace({ { "ad_lauf", "Alt" }, { "ad_lauf_datum", "01.01.2026" } });
    RaceEditor &f = open(EditorMode::New);

    EXPECT_EQ(folder.count("adressen"), 2);
    EXPECT_EQ(f.raceNumber(), lastKey());

    EXPECT_EQ(f.windowTitle(), "Laufdaten verwalten");
    EXPECT_EQ(combo(7)->currentText(), "");
    EXPECT_EQ(control<QComboBox>("t_termin_stunde")->currentText(), "9");
    EXPECT_EQ(control<QComboBox>("t_termin_minuten")->currentText(), "00");
    EXPECT_EQ(control<QComboBox>("t_termin_stunde")->itemText(23), " 23");
    EXPECT_EQ(control<QComboBox>("t_termin_minuten")->count(), 12);
    EXPECT_EQ(control<QComboBox>("t_termin_minuten")->itemText(1), " 5");
    EXPECT_TRUE(control<QRadioButton>("ad_o_strecke(0)")->isChecked());
    EXPECT_TRUE(control("ad_t_strecke")->isHidden());
    EXPECT_EQ(labelText("ad_l_angemeldet"), " ");
    EXPECT_EQ(fieldText("ad_t_zeit"), " ");
    EXPECT_EQ(labelText("ad_l_lauf_datum"), "");
    EXPECT_EQ(control<QTabWidget>("SSTab1")->currentIndex(), 0);
    EXPECT_EQ(control<QPushButton>("db_ok(3)")->text(), "&Speichern");
    // The documents of a new race: an empty list.
    EXPECT_TRUE(f.documents().empty());
}

TEST_F(EditorTest, EditShowsEveryFieldByItsRule)
{
    const qlonglong key = folder.addRace(fullRace());
    folder.exec(QStringLiteral("insert into ereignisse_dokumente (ed_nummer, ed_datei) "
                               "values ('%1', '/a.pdf'), ('99', '/b.pdf')")
                    .arg(key));
    RaceEditor &f = open(EditorMode::Edit, key);

    EXPECT_EQ(combo(7)->currentText(), "Berlin-Marathon");
    EXPECT_EQ(fieldText("ad_t_lauf_ort"), "Berlin");
    EXPECT_EQ(labelText("ad_l_lauf_datum"), "27.09.2026, Sonntag");
    // The lists offer " 7" and " 5"; the boxes show what is stored.
    EXPECT_EQ(control<QComboBox>("t_termin_stunde")->currentText(), "07");
    EXPECT_EQ(control<QComboBox>("t_termin_minuten")->currentText(), "05");
    EXPECT_TRUE(control<QRadioButton>("ad_o_strecke(2)")->isChecked());
    EXPECT_FALSE(control("ad_t_strecke")->isHidden());
    EXPECT_EQ(fieldText("ad_t_strecke"), "10 km");
    EXPECT_TRUE(control<QCheckBox>("ad_check_angemeldet")->isChecked());
    EXPECT_EQ(labelText("ad_l_angemeldet"), "Ja");
    EXPECT_TRUE(control<QCheckBox>("ad_check_vorgemerkt")->isChecked());
    EXPECT_TRUE(control<QCheckBox>("ad_check_gelaufen")->isChecked());
    EXPECT_EQ(fieldText("ad_t_zeit"), "3:59:59");
    // Paid wins over the reminder; "01.01.1900" means no reminder date.
    EXPECT_TRUE(control<QCheckBox>("ad_check_bezahlt")->isChecked());
    EXPECT_FALSE(control<QCheckBox>("ad_check_alarm")->isChecked());
    EXPECT_EQ(labelText("ad_l_alarm"), "");
    EXPECT_EQ(labelText("ad_l_überwiesen"), "03.02.2026, Dienstag");
    EXPECT_EQ(labelText("ad_l_start1"), "31.03.2026");
    EXPECT_EQ(labelText("ad_l_start2"), "");
    EXPECT_EQ(fieldText("ad_t_sg11"), "70 €");
    EXPECT_EQ(fieldText("ad_t_sg12"), "");
    EXPECT_EQ(fieldText("ad_name2"), "SCC Events");
    EXPECT_EQ(combo(1)->currentText(), "Dr.");
    // Also a text that is no entry of the list.
    EXPECT_EQ(combo(9)->currentText(), "XYZ");
    EXPECT_TRUE(control<QCheckBox>("ad_check_startbild")->isChecked());
    EXPECT_EQ(labelText("a_l_datei"), "/bilder/start.jpg");
    EXPECT_EQ(control<QPlainTextEdit>("ad_t_notiz")->toPlainText(), "Startblock F");

    ASSERT_EQ(f.documents().size(), 1u);
    EXPECT_EQ(f.documents()[0].path, "/a.pdf");
}

TEST_F(EditorTest, NullFieldsShowTheirEmptyForms)
{
    const qlonglong key = folder.addRace({ { "ad_lauf", "Leer" } });
    open(EditorMode::Edit, key);
    EXPECT_EQ(control<QComboBox>("t_termin_stunde")->currentText(), "9");
    EXPECT_EQ(control<QComboBox>("t_termin_minuten")->currentText(), "00");
    EXPECT_EQ(labelText("a_l_datei"), " ");
    EXPECT_EQ(fieldText("ad_t_zeit"), " ");
    EXPECT_EQ(labelText("ad_l_angemeldet"), " ");
    EXPECT_EQ(labelText("ad_l_lauf_datum"), "");
    EXPECT_EQ(labelText("ad_l_überwiesen"), "");
    EXPECT_TRUE(control<QRadioButton>("ad_o_strecke(0)")->isChecked());
    EXPECT_TRUE(control("ad_t_strecke")->isHidden());
    EXPECT_EQ(fieldText("ad_name1"), "");
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(EditorTest, DatesThatAreNoDatesAreShownAsStored)
{
    const qlonglong key = folder.addRace({ { "ad_lauf", "Kaputt" },
                                           { "ad_lauf_datum", "32.13.2026" },
                                           { "ad_ang_jn", true },
                                           { "ad_ang_datum", "bald" },
                                           { "ad_alarm_datum", "irgendwann" },
                                           { "ad_bezahlt_jn", " " },
                                           { "ad_bezahlt_datum", "gestern" },
                                           { "ad_name_veranst", "Weiter geladen" } });
    open(EditorMode::Edit, key);
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(labelText("ad_l_lauf_datum"), "32.13.2026");
    EXPECT_EQ(labelText("ad_l_angemeldet"), "bald");
    EXPECT_EQ(labelText("ad_l_alarm"), "");
    // A transfer date that is no date leaves the label as it was.
    EXPECT_EQ(labelText("ad_l_überwiesen"), "");
    EXPECT_EQ(fieldText("ad_name2"), "Weiter geladen");
}

TEST_F(EditorTest, DeleteModeShowsTheRaceLocked)
{
    const qlonglong key = folder.addRace(fullRace());
    RaceEditor &f = open(EditorMode::Delete, key);
    EXPECT_EQ(control<QPushButton>("db_ok(3)")->text(), "Löschen");
    for (const char *area : { "Frame9", "Frame10", "Frame1", "Frame4", "SSTab1" })
        EXPECT_FALSE(control(area)->isEnabled()) << area;
    EXPECT_TRUE(control("db_ok(3)")->isEnabled());
    EXPECT_TRUE(control("db_abbr(3)")->isEnabled());
    EXPECT_EQ(combo(7)->currentText(), "Berlin-Marathon");
    EXPECT_EQ(folder.count("adressen"), 1);
    EXPECT_EQ(f.windowTitle(), "Laufdaten verwalten");
}

TEST_F(EditorTest, CopyKeepsTheRaceButNotItsStateAndDates)
{
    const qlonglong source = folder.addRace(fullRace());
    RaceEditor &f = open(EditorMode::Copy, source);

    EXPECT_EQ(folder.count("adressen"), 2);
    EXPECT_EQ(f.raceNumber(), lastKey());
    EXPECT_NE(lastKey(), source);

    for (const char *box : { "ad_check_vorgemerkt", "ad_check_angemeldet", "ad_check_gelaufen",
                             "ad_check_alarm", "ad_check_bezahlt" })
        EXPECT_FALSE(control<QCheckBox>(box)->isChecked()) << box;
    EXPECT_EQ(labelText("ad_l_angemeldet"), " ");
    EXPECT_EQ(labelText("ad_l_alarm"), "");
    EXPECT_EQ(labelText("ad_l_überwiesen"), "");

    EXPECT_EQ(combo(7)->currentText(), "Berlin-Marathon");
    EXPECT_EQ(labelText("ad_l_lauf_datum"), "27.09.2026, Sonntag");
    EXPECT_EQ(fieldText("ad_t_strecke"), "10 km");
    EXPECT_EQ(fieldText("ad_t_zeit"), "3:59:59");
    EXPECT_EQ(fieldText("ad_t_sg11"), "70 €");
    EXPECT_TRUE(control<QCheckBox>("ad_check_startbild")->isChecked());
    EXPECT_EQ(labelText("a_l_datei"), "/bilder/start.jpg");
    EXPECT_EQ(control<QPlainTextEdit>("ad_t_notiz")->toPlainText(), "Startblock F");
    EXPECT_TRUE(f.documents().empty());
}

TEST_F(EditorTest, ActivationFillsTheSixListsOnceAndKeepsTheShownText)
{
    folder.exec(QStringLiteral(
        "insert into aw_titel values ('Prof.'), ('Dr.'), (null);"
        "insert into aw_anrede values ('Herr'), ('Frau');"
        "insert into aw_strasse values ('Zeppelinstraße'), ('Ährenweg'), ('Bahnhofstraße');"
        "insert into aw_lauf values ('berlin-Lauf'), ('Alb-Marathon');"
        "insert into aw_land values ('D', 'Deutschland');"
        "insert into aw_zeitmessung values ('ChampionChip');"));
    const qlonglong key
        = folder.addRace({ { "ad_lauf", "Eigener Lauf" }, { "ad_titel_ansprech", "Mag." } });
    open(EditorMode::Edit, key);
    auto items = [this](int index) {
        QStringList list;
        for (int i = 0; i < combo(index)->count(); ++i)
            list << combo(index)->itemText(i);
        return list;
    };
    EXPECT_EQ(items(1), QStringList({ " ", "Dr.", "Prof." }));
    EXPECT_EQ(items(3), QStringList({ "Frau", "Herr" }));
    EXPECT_EQ(items(6), QStringList({ "Ährenweg", "Bahnhofstraße", "Zeppelinstraße" }));
    EXPECT_EQ(items(7), QStringList({ "Alb-Marathon", "berlin-Lauf" }));
    EXPECT_EQ(items(9), QStringList({ "D" }));
    EXPECT_EQ(items(10), QStringList({ "ChampionChip" }));
    EXPECT_EQ(combo(7)->currentText(), "Eigener Lauf");
    EXPECT_EQ(combo(1)->currentText(), "Mag.");
    EXPECT_EQ(combo(10)->currentText(), "");

    // Back from the calendar or the postal directory: nothing is added twice.
    form->fillPickLists();
    EXPECT_EQ(combo(1)->count(), 3);
    // Nor by the window's own activation.
    form->show();
    form->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_EQ(combo(1)->count(), 3);
}

TEST_F(EditorTest, PaymentBoxRules)
{
    const qlonglong key = folder.addRace({ { "ad_lauf", "Lauf" },
                                           { "ad_alarm_jn", "Ja" },
                                           { "ad_alarm_datum", "01.03.2026" },
                                           { "ad_bezahlt_jn", " " },
                                           { "ad_bezahlt_datum", "15.02.2026" } });
    open(EditorMode::Edit, key);
    EXPECT_TRUE(control<QCheckBox>("ad_check_alarm")->isChecked());
    EXPECT_EQ(labelText("ad_l_überwiesen"), "15.02.2026, Sonntag");

    toggle("ad_check_bezahlt"); // ticked: no more reminder, its date stays
    EXPECT_FALSE(control<QCheckBox>("ad_check_alarm")->isChecked());
    EXPECT_EQ(labelText("ad_l_alarm"), "01.03.2026, Sonntag");
    toggle("ad_check_alarm"); // no rule in this direction
    EXPECT_TRUE(control<QCheckBox>("ad_check_bezahlt")->isChecked());
    EXPECT_TRUE(control<QCheckBox>("ad_check_alarm")->isChecked());

    toggle("ad_check_bezahlt"); // unticked: the transfer date is dropped
    EXPECT_EQ(labelText("ad_l_überwiesen"), " ");
    toggle("ad_check_bezahlt");
    EXPECT_EQ(labelText("ad_l_überwiesen"), " ");
    EXPECT_FALSE(control<QCheckBox>("ad_check_alarm")->isChecked());
}

TEST_F(EditorTest, DistanceOptionsShowTheFreeDistanceOnlyForTheThird)
{
    const qlonglong key = folder.addRace({ { "ad_lauf", "Lauf" }, { "ad_strecke", " " } });
    open(EditorMode::Edit, key);
    EXPECT_TRUE(control<QRadioButton>("ad_o_strecke(0)")->isChecked());
    EXPECT_TRUE(control("ad_t_strecke")->isHidden());

    toggle("ad_o_strecke(2)");
    EXPECT_FALSE(control("ad_t_strecke")->isHidden());
    type("ad_t_strecke", QStringLiteral("10 km"));
    toggle("ad_o_strecke(1)");
    EXPECT_TRUE(control("ad_t_strecke")->isHidden());
    toggle("ad_o_strecke(2)");
    EXPECT_FALSE(control("ad_t_strecke")->isHidden());
    EXPECT_EQ(fieldText("ad_t_strecke"), "10 km");
}

TEST_F(EditorTest, HalfMarathonIsSelectedByLoading)
{
    const qlonglong key
        = folder.addRace({ { "ad_lauf", "Lauf" }, { "ad_strecke", "Halb-Marathon" } });
    open(EditorMode::Copy, key);
    EXPECT_TRUE(control<QRadioButton>("ad_o_strecke(1)")->isChecked());
    EXPECT_TRUE(control("ad_t_strecke")->isHidden());
}
