#include "EditorFixture.h"

#include "model/RaceColumns.h"

#include <QProgressBar>

namespace {
const QString kNameMissing
    = QStringLiteral("Geben Sie bitte einen Namen ein oder klicken Sie auf 'Abbrechen'!");
const QString kDateMissing
    = QStringLiteral("Geben Sie bitte ein Datum ein oder klicken Sie auf 'Abbrechen'!");
const QString kDeleteQuestion = QStringLiteral("Soll dieser Lauf wirklich gelöscht werden ?");
} // namespace

TEST_F(EditorTest, NewRaceIsStoredAndListed)
{
    folder.addRace({ { "ad_lauf", "Älterer Lauf" }, { "ad_lauf_datum", "01.01.2020" } });
    RaceEditor &f = open(EditorMode::New);
    const qlonglong key = lastKey();

    typeCombo(7, QStringLiteral("Stadtlauf"));
    type("ad_t_lauf_ort", QStringLiteral("Köln"));
    // The calendar writes the date with its weekday.
    control<QLabel>("ad_l_lauf_datum")->setText(QStringLiteral("07.05.2026, Donnerstag"));
    save();

    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(folder.count("adressen"), 2);
    const QVariantMap r = row(key);
    EXPECT_EQ(r["ad_lauf"], "Stadtlauf");
    EXPECT_EQ(r["ad_lauf_ort"], "Köln");
    EXPECT_EQ(r["ad_lauf_datum"], "07.05.2026");
    EXPECT_EQ(r["ad_lauf_wotag"], "Do");
    EXPECT_EQ(r["ad_start"], "09:00");
    EXPECT_EQ(r["ad_ang_jn"].toInt(), 0);
    EXPECT_EQ(r["ad_vorgemerkt_jn"].toInt(), 0);
    EXPECT_EQ(r["ad_startbild_jn"].toInt(), 0);
    // Neither registered nor run: no distance, date or time.
    EXPECT_EQ(r["ad_ang_datum"], " ");
    EXPECT_EQ(r["ad_strecke"], " ");
    EXPECT_EQ(r["ad_gelaufen_jn"], " ");
    EXPECT_EQ(r["ad_zeit"], " ");
    EXPECT_EQ(r["ad_alarm_jn"], " ");
    EXPECT_EQ(r["ad_alarm_datum"], "01.01.1900");
    EXPECT_EQ(r["ad_bezahlt_jn"], " ");
    EXPECT_EQ(r["ad_bezahlt_datum"], "");
    EXPECT_EQ(r["ad_startbild"], "");
    EXPECT_EQ(r["ad_memo"], "");
    EXPECT_EQ(r["ad_memo_jn"], "");
    EXPECT_FALSE(r["ad_zeitmessung"].isNull());

    // The caller gets the race as stored.
    ASSERT_EQ(f.outcome().result, EditorOutcome::Result::Saved);
    ASSERT_TRUE(f.outcome().saved.has_value());
    EXPECT_EQ(f.outcome().saved->number, key);
    EXPECT_EQ(RaceColumns::toStored(*f.outcome().saved),
              RaceColumns::toStored(*ctx.races().race(key)));
}

TEST_F(EditorTest, NameAndDateAreRequired)
{
    RaceEditor &f = open(EditorMode::New);
    const qlonglong key = lastKey();
    save();
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, kNameMissing);
    EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Warning);
    EXPECT_EQ(ui.messages[0].title, "Strivo");
    EXPECT_EQ(f.result(), 0);

    // One blank is a name.
    typeCombo(7, QStringLiteral(" "));
    save();
    ASSERT_EQ(ui.messages.size(), 2);
    EXPECT_EQ(ui.messages[1].text, kDateMissing);
    EXPECT_EQ(ui.messages[1].icon, Ui::Icon::Warning);
    EXPECT_TRUE(row(key)["ad_lauf"].isNull());

    control<QLabel>("ad_l_lauf_datum")->setText(QStringLiteral("01.06.2026, Montag"));
    save();
    EXPECT_EQ(ui.messages.size(), 2);
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(row(key)["ad_lauf"], " ");
}

TEST_F(EditorTest, EditStoresChangesIntoTheChosenRow)
{
    const qlonglong other
        = folder.addRace({ { "ad_lauf", "Anderer" }, { "ad_lauf_datum", "01.01.2027" } });
    const qlonglong key = folder.addRace({ { "ad_lauf", "Lauf" },
                                           { "ad_lauf_datum", "01.06.2026" },
                                           { "ad_lauf_wotag", "Mo" },
                                           { "ad_strecke", "Marathon" },
                                           { "ad_ang_jn", true },
                                           { "ad_ang_datum", "01.02.2026" },
                                           { "ad_memo", "alt" } });
    open(EditorMode::Edit, key);
    type("ad_name2", QStringLiteral("Neuer Veranstalter"));
    control<QPlainTextEdit>("ad_t_notiz")->clear();
    save();

    const QVariantMap r = row(key);
    EXPECT_EQ(r["ad_name_veranst"], "Neuer Veranstalter");
    EXPECT_EQ(r["ad_ang_datum"], "01.02.2026");
    EXPECT_EQ(r["ad_ang_jn"].toInt(), 1);
    EXPECT_EQ(r["ad_strecke"], "Marathon");
    EXPECT_EQ(r["ad_lauf_datum"], "01.06.2026");
    EXPECT_EQ(r["ad_memo"], "");
    EXPECT_EQ(r["ad_memo_jn"], "");
    EXPECT_EQ(row(other)["ad_lauf"], "Anderer");
    EXPECT_EQ(folder.count("adressen"), 2);
}

TEST_F(EditorTest, FieldTableConversionsAndCuts)
{
    const qlonglong key = folder.addRace({ { "ad_lauf", "Lauf" },
                                           { "ad_lauf_datum", "01.06.2026" },
                                           { "ad_lauf_wotag", "Mo" },
                                           { "ad_strecke", "Marathon" } });
    open(EditorMode::Edit, key);
    control<QComboBox>("t_termin_stunde")->setEditText(QStringLiteral("7"));
    control<QComboBox>("t_termin_minuten")->setCurrentIndex(1); // " 5"
    toggle("ad_check_angemeldet"); // no registration date chosen
    toggle("ad_check_vorgemerkt");
    toggle("ad_check_startbild");
    toggle("ad_check_alarm");
    control<QLabel>("ad_l_alarm")->setText(QStringLiteral("Ja"));
    typeCombo(9, QStringLiteral("Deutschland"));
    typeCombo(6, QString(60, u'S'));
    typeCombo(1, QString(40, u'T'));
    typeCombo(7, QString(36, u'L'));
    // A date label that is no date: stored as it stands, the weekday stays.
    control<QLabel>("ad_l_lauf_datum")->setText(QStringLiteral("Pfingsten 2026"));
    save();

    const QVariantMap r = row(key);
    EXPECT_EQ(r["ad_start"], "07:05");
    EXPECT_EQ(r["ad_ang_jn"].toInt(), 1);
    EXPECT_EQ(r["ad_ang_datum"], "Ja");
    EXPECT_EQ(labelText("ad_l_angemeldet"), "Ja");
    EXPECT_EQ(r["ad_strecke"], "Marathon");
    EXPECT_EQ(r["ad_vorgemerkt_jn"].toInt(), 1);
    EXPECT_EQ(r["ad_startbild_jn"].toInt(), 1);
    EXPECT_EQ(r["ad_alarm_jn"], "Ja");
    EXPECT_EQ(r["ad_alarm_datum"], "01.01.1900");
    EXPECT_EQ(r["ad_land_ansprech"], "Deu");
    EXPECT_EQ(r["ad_strasse_ansprech"], QString(50, u'S'));
    EXPECT_EQ(r["ad_titel_ansprech"], QString(35, u'T'));
    EXPECT_EQ(r["ad_lauf"], QString(35, u'L'));
    EXPECT_EQ(r["ad_lauf_datum"], "Pfingsten ");
    EXPECT_EQ(r["ad_lauf_wotag"], "Mo");
}

TEST_F(EditorTest, DistanceIsStoredOnlyWhenRegisteredOrRun)
{
    const qlonglong key = folder.addRace(
        { { "ad_lauf", "Lauf" }, { "ad_lauf_datum", "06.06.2026" }, { "ad_strecke", "Marathon" } });
    open(EditorMode::Edit, key);
    // Run but not registered, another distance.
    toggle("ad_check_gelaufen");
    toggle("ad_o_strecke(2)");
    type("ad_t_strecke", QStringLiteral("10 km"));
    type("ad_t_zeit", QStringLiteral("0:45:10"));
    control<QComboBox>("t_termin_stunde")->setEditText(QString());
    control<QComboBox>("t_termin_minuten")->setEditText(QString());
    save();

    QVariantMap r = row(key);
    EXPECT_EQ(r["ad_strecke"], "10 km");
    EXPECT_EQ(r["ad_gelaufen_jn"], "Ja");
    EXPECT_EQ(r["ad_zeit"], "0:45:10");
    EXPECT_EQ(r["ad_ang_jn"].toInt(), 0);
    EXPECT_EQ(r["ad_ang_datum"], " ");
    EXPECT_EQ(r["ad_start"], "00:00");
    EXPECT_EQ(r["ad_lauf_wotag"], "Sa");

    // Neither: distance and time are cleared, whatever is typed.
    open(EditorMode::Edit, key);
    EXPECT_EQ(fieldText("ad_t_strecke"), "10 km");
    toggle("ad_check_gelaufen");
    save();
    r = row(key);
    EXPECT_EQ(r["ad_strecke"], " ");
    EXPECT_EQ(r["ad_zeit"], " ");
    EXPECT_EQ(r["ad_gelaufen_jn"], " ");
}

TEST_F(EditorTest, ProgressBarIsShownOnlyWhileWriting)
{
    const qlonglong key
        = folder.addRace({ { "ad_lauf", "Lauf" }, { "ad_lauf_datum", "06.06.2026" } });
    RaceEditor &f = open(EditorMode::Edit, key);
    auto *bar = control<QProgressBar>("ProgressBar1");
    EXPECT_TRUE(bar->isHidden());
    int highest = 0;
    QObject::connect(bar, &QProgressBar::valueChanged, [&](int v) {
        highest = std::max(highest, v);
        EXPECT_FALSE(bar->isHidden());
    });
    save();
    EXPECT_TRUE(bar->isHidden());
    EXPECT_GT(highest, 40);
    EXPECT_LT(highest, bar->maximum());
    EXPECT_EQ(f.result(), QDialog::Accepted);
}

TEST_F(EditorTest, DeleteAsksAndYesDeletesTheRaceButNotItsDocuments)
{
    const qlonglong keep
        = folder.addRace({ { "ad_lauf", "Bleibt" }, { "ad_lauf_datum", "01.01.2026" } });
    // No name, no date: a race that could never be saved can still be deleted.
    const qlonglong key = folder.addRace({ { "ad_lauf", "" } });
    folder.exec(
        QStringLiteral("insert into ereignisse_dokumente (ed_nummer, ed_datei) values ('%1', '/x')")
            .arg(key));
    open(EditorMode::Delete, key);

    ui.answers.push_back(Ui::Answer::Yes);
    save();
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, kDeleteQuestion);
    EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Question);
    EXPECT_EQ(ui.messages[0].buttons, Ui::Buttons::YesNo);
    EXPECT_EQ(ui.messages[0].title, "Strivo");
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_TRUE(row(key).isEmpty());
    EXPECT_FALSE(row(keep).isEmpty());
    EXPECT_EQ(folder.count("ereignisse_dokumente"), 1);
    EXPECT_EQ(form->outcome().result, EditorOutcome::Result::Deleted);
    EXPECT_EQ(form->outcome().deleted, key);
}

TEST_F(EditorTest, DeleteAnsweredNoKeepsTheRaceAndStillCloses)
{
    const qlonglong key
        = folder.addRace({ { "ad_lauf", "Lauf" }, { "ad_lauf_datum", "01.01.2026" } });
    RaceEditor &f = open(EditorMode::Delete, key);
    ui.answers.push_back(Ui::Answer::No);
    save();
    EXPECT_EQ(ui.messageTexts(), QStringList { kDeleteQuestion });
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_FALSE(row(key).isEmpty());
    EXPECT_EQ(f.outcome().result, EditorOutcome::Result::Cancelled);
}

TEST_F(EditorTest, CopyIsStoredAsANewRaceAndTheSourceStays)
{
    const qlonglong source = folder.addRace({ { "ad_lauf", "Quelle" },
                                              { "ad_lauf_datum", "01.05.2026" },
                                              { "ad_bezahlt_jn", "Ja" },
                                              { "ad_bezahlt_datum", "01.02.2026" },
                                              { "ad_name_veranst", "Verein" } });
    open(EditorMode::Copy, source);
    const qlonglong copy = lastKey();
    control<QLabel>("ad_l_lauf_datum")->setText(QStringLiteral("30.04.2027, Freitag"));
    save();

    EXPECT_EQ(folder.count("adressen"), 2);
    const QVariantMap r = row(copy);
    EXPECT_EQ(r["ad_lauf"], "Quelle");
    EXPECT_EQ(r["ad_lauf_datum"], "30.04.2027");
    EXPECT_EQ(r["ad_name_veranst"], "Verein");
    EXPECT_EQ(r["ad_bezahlt_jn"], " ");
    EXPECT_EQ(r["ad_bezahlt_datum"], "");
    const QVariantMap s = row(source);
    EXPECT_EQ(s["ad_lauf_datum"], "01.05.2026");
    EXPECT_EQ(s["ad_bezahlt_jn"], "Ja");
    EXPECT_EQ(s["ad_bezahlt_datum"], "01.02.2026");
}

TEST_F(EditorTest, CancellingLeavesNothingBehind)
{
    const qlonglong source
        = folder.addRace({ { "ad_lauf", "Quelle" }, { "ad_lauf_datum", "01.05.2026" } });
    const qlonglong second
        = folder.addRace({ { "ad_lauf", "Zweiter" }, { "ad_lauf_datum", "01.05.2025" } });
    const QVariantMap before = row(source);

    // New race: the blank row goes again.
    RaceEditor *f = &open(EditorMode::New);
    typeCombo(7, QStringLiteral("Verworfen"));
    cancel();
    EXPECT_EQ(f->result(), QDialog::Rejected);
    EXPECT_EQ(folder.count("adressen"), 2);
    EXPECT_EQ(f->outcome().result, EditorOutcome::Result::Cancelled);

    // Copy: only the new row goes, never the source.
    f = &open(EditorMode::Copy, source);
    cancel();
    EXPECT_EQ(folder.count("adressen"), 2);
    EXPECT_EQ(row(source), before);

    // Edit: the changes are dropped.
    f = &open(EditorMode::Edit, second);
    type("ad_t_lauf_ort", QStringLiteral("geändert"));
    cancel();
    EXPECT_TRUE(row(second)["ad_lauf_ort"].isNull());

    // Delete: nothing is deleted, nothing asked.
    f = &open(EditorMode::Delete, second);
    cancel();
    EXPECT_EQ(folder.count("adressen"), 2);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(EditorTest, EscapeAndClosingTheWindowCancel)
{
    RaceEditor &f = open(EditorMode::New);
    f.show();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    QTest::keyClick(combo(7)->lineEdit(), Qt::Key_Escape);
    EXPECT_EQ(f.result(), QDialog::Rejected);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(folder.count("adressen"), 0);

    RaceEditor &g = open(EditorMode::New);
    g.show();
    g.close();
    EXPECT_EQ(folder.count("adressen"), 0);
}

TEST_F(EditorTest, EnterInAFieldNeitherSavesNorCancels)
{
    RaceEditor &f = open(EditorMode::New);
    f.show();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    control("ad_name2")->setFocus();
    QTest::keyClick(control("ad_name2"), Qt::Key_Return);
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(folder.count("adressen"), 1);
}

// When adding the blank row fails, the current row is still the race the user had chosen:
// cancelling must not take that one with it.
TEST_F(EditorTest, CancelAfterAFailedAddKeepsTheChosenRace)
{
    const qlonglong chosen
        = folder.addRace({ { "ad_lauf", "Gewählt" }, { "ad_lauf_datum", "01.05.2026" } });
    folder.exec(QStringLiteral("create trigger no_add before insert on adressen "
                               "begin select raise(abort, 'voll'); end"));
    RaceEditor &f = open(EditorMode::Copy, chosen);
    ASSERT_EQ(ui.messages.size(), 1); // the error box of the load step
    const QVariantMap before = row(chosen);
    // Saving has no row to write into and says so; the chosen race stays as it was.
    typeCombo(7, QStringLiteral("Kopie"));
    control<QLabel>("ad_l_lauf_datum")->setText(QStringLiteral("01.06.2026, Montag"));
    save();
    ASSERT_EQ(ui.messages.size(), 2);
    EXPECT_EQ(ui.messages[1].text, "Kein aktueller Datensatz. 3021");
    EXPECT_EQ(row(chosen), before);
    cancel();
    EXPECT_EQ(f.result(), QDialog::Rejected);
    EXPECT_FALSE(row(chosen).isEmpty());
}

TEST_F(EditorTest, RoundTripOfAFullRace)
{
    const QString notes = QString(9990, u'x') + QStringLiteral("\"'äöüß\n");
    const QString path = QStringLiteral("/bilder/") + QString(292, u'p');
    RaceEditor *f = &open(EditorMode::New);
    const qlonglong key = lastKey();

    typeCombo(7, QStringLiteral("Lauf \"Am Rhein\" l'Été ÄÖÜ 1234567890ABCDEFGH"));
    type("ad_t_lauf_ort", QStringLiteral("Düsseldorf"));
    control<QLabel>("ad_l_lauf_datum")->setText(QStringLiteral("03.10.2026, Samstag"));
    control<QComboBox>("t_termin_stunde")->setCurrentIndex(14);
    control<QComboBox>("t_termin_minuten")->setCurrentIndex(6);
    toggle("ad_check_vorgemerkt");
    toggle("ad_check_angemeldet");
    control<QLabel>("ad_l_angemeldet")->setText(QStringLiteral("02.01.2026, Freitag"));
    toggle("ad_o_strecke(1)");
    type("ad_name2", QStringLiteral("O'Brien & Söhne"));
    type("ad_telefon1", QStringLiteral("0211/12345"));
    type("ad_fax", QStringLiteral("0211/12346"));
    type("ad_internet", QStringLiteral("www.lauf-am-rhein.de"));
    type("ad_email", QStringLiteral("info@lauf-am-rhein.de"));
    type("ad_konto1", QStringLiteral("1234567890"));
    type("ad_blz1", QStringLiteral("30050110"));
    type("ad_bank1", QStringLiteral("Stadtsparkasse"));
    typeCombo(10, QStringLiteral("ChampionChip"));
    type("ad_t_strecke_sg", QStringLiteral("5 km"));
    control<QLabel>("ad_l_start1")->setText(QStringLiteral("31.03.2026"));
    control<QLabel>("ad_l_start2")->setText(QStringLiteral("30.06.2026"));
    control<QLabel>("ad_l_start3")->setText(QStringLiteral("30.09.2026"));
    const char *fees[] = { "ad_t_sg11", "ad_t_sg12", "ad_t_sg13", "ad_t_sg21", "ad_t_sg22",
                           "ad_t_sg23", "ad_t_sg31", "ad_t_sg32", "ad_t_sg33" };
    for (const char *fee : fees)
        type(fee, QStringLiteral("%1,00 €").arg(fee + 7));
    toggle("ad_check_alarm");
    control<QLabel>("ad_l_alarm")->setText(QStringLiteral("01.03.2026, Sonntag"));
    type("ad_name1", QStringLiteral("Müller-Lüdenscheidt"));
    type("ad_vorname", QStringLiteral("Jürgen"));
    typeCombo(3, QStringLiteral("Herr"));
    typeCombo(1, QStringLiteral("Dr."));
    typeCombo(6, QStringLiteral("Königsallee 12"));
    type("ad_plz", QStringLiteral("40212"));
    type("ad_ort", QStringLiteral("Düsseldorf"));
    type("ad_pfplz", QStringLiteral("40001"));
    type("ad_postfach", QStringLiteral("101010"));
    typeCombo(9, QStringLiteral("D"));
    type("ad_direkt", QStringLiteral("0211/999"));
    type("ad_funk", QStringLiteral("0171/1234567"));
    type("ad_email_ansprech", QStringLiteral("j.mueller@example.org"));
    control<QPlainTextEdit>("ad_t_notiz")->setPlainText(notes);
    toggle("ad_check_startbild");
    control<QLabel>("a_l_datei")->setText(path);
    save();
    ASSERT_EQ(f->result(), QDialog::Accepted);

    const QVariantMap stored = row(key);
    EXPECT_EQ(stored["ad_lauf"], "Lauf \"Am Rhein\" l'Été ÄÖÜ 123456789");
    EXPECT_EQ(stored["ad_lauf_datum"], "03.10.2026");
    EXPECT_EQ(stored["ad_lauf_wotag"], "Sa");
    EXPECT_EQ(stored["ad_start"], "14:30");
    EXPECT_EQ(stored["ad_ang_datum"], "02.01.2026");
    EXPECT_EQ(stored["ad_strecke"], "Halb-Marathon");
    EXPECT_EQ(stored["ad_name_veranst"], "O'Brien & Söhne");
    EXPECT_EQ(stored["ad_sg23"], "23,00 €");
    EXPECT_EQ(stored["ad_sg3_datum"], "30.09.2026");
    EXPECT_EQ(stored["ad_alarm_jn"], "Ja");
    EXPECT_EQ(stored["ad_alarm_datum"], "01.03.2026");
    EXPECT_EQ(stored["ad_strasse_ansprech"], "Königsallee 12");
    EXPECT_EQ(stored["ad_memo"], notes);
    EXPECT_EQ(stored["ad_memo_jn"], "Ja");
    EXPECT_EQ(stored["ad_startbild"], path.left(255));
    EXPECT_EQ(stored["ad_startbild_jn"].toInt(), 1);

    // Opened again, the window shows what is stored; saved unchanged, the row stays the same.
    f = &open(EditorMode::Edit, key);
    EXPECT_EQ(combo(7)->currentText(), "Lauf \"Am Rhein\" l'Été ÄÖÜ 123456789");
    EXPECT_EQ(labelText("ad_l_lauf_datum"), "03.10.2026, Samstag");
    EXPECT_EQ(control<QComboBox>("t_termin_stunde")->currentText(), "14");
    EXPECT_EQ(control<QComboBox>("t_termin_minuten")->currentText(), "30");
    EXPECT_EQ(labelText("ad_l_angemeldet"), "02.01.2026, Freitag");
    EXPECT_TRUE(control<QRadioButton>("ad_o_strecke(1)")->isChecked());
    EXPECT_EQ(fieldText("ad_name2"), "O'Brien & Söhne");
    EXPECT_EQ(fieldText("ad_t_sg32"), "32,00 €");
    EXPECT_EQ(labelText("ad_l_alarm"), "01.03.2026, Sonntag");
    EXPECT_EQ(combo(6)->currentText(), "Königsallee 12");
    EXPECT_EQ(fieldText("ad_funk"), "0171/1234567");
    EXPECT_EQ(control<QPlainTextEdit>("ad_t_notiz")->toPlainText(), notes);
    EXPECT_EQ(labelText("a_l_datei"), path.left(255));
    save();
    EXPECT_EQ(row(key), stored);
}

// The input limits hold for typing: a longer stored value is shown and stored whole, and
// editing it can shorten it but not lengthen it again past the limit.
TEST_F(EditorTest, StoredTextsLongerThanTheirFieldsAreShownAndSavedWhole)
{
    const QString postcode = QStringLiteral("123456789012"); // the field takes 10
    const QString account = QStringLiteral("DE89370400440532013000"); // 15
    const QString place = QStringLiteral("Oberstaufen-").repeated(5); // 50
    const qlonglong key = folder.addRace({ { "ad_lauf", "Stadtlauf" },
                                           { "ad_lauf_datum", "07.06.2026" },
                                           { "ad_plz_ansprech", postcode },
                                           { "ad_konto1", account },
                                           { "ad_lauf_ort", place } });
    open(EditorMode::Edit, key);
    EXPECT_EQ(fieldText("ad_plz"), postcode);
    EXPECT_EQ(fieldText("ad_konto1"), account);
    EXPECT_EQ(fieldText("ad_t_lauf_ort"), place);

    auto *plz = control<QLineEdit>("ad_plz");
    plz->end(false);
    QTest::keyClick(plz, Qt::Key_3);
    EXPECT_EQ(plz->text(), postcode);
    plz->setCursorPosition(5);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(plz, Qt::Key_Backspace);
    typeKeys(plz, QStringLiteral("ab"));
    EXPECT_EQ(plz->text(), QStringLiteral("12a6789012"));

    save();
    const QVariantMap stored = row(key);
    EXPECT_EQ(stored.value("ad_plz_ansprech"), "12a6789012");
    EXPECT_EQ(stored.value("ad_konto1"), account);
    EXPECT_EQ(stored.value("ad_lauf_ort"), place);
}

// An emoji takes two UTF-16 units; a cut at a field's limit keeps it whole or leaves it out.
TEST_F(EditorTest, CutsAtFieldLimitsNeverSplitACharacter)
{
    const QString smile = QString::fromUtf8("😀");
    const auto typeSmile = [&](QWidget *field) {
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, smile, Qt::NoModifier);
    };
    const qlonglong key
        = folder.addRace({ { "ad_lauf", "Lauf" }, { "ad_lauf_datum", "01.06.2026" } });
    open(EditorMode::Edit, key);
    // Typed into a field of 10 characters with one place left.
    type("ad_plz", "123456789");
    typeSmile(control<QLineEdit>("ad_plz"));
    EXPECT_EQ(fieldText("ad_plz"), "123456789");
    type("ad_postfach", "12345678");
    typeSmile(control<QLineEdit>("ad_postfach"));
    EXPECT_EQ(fieldText("ad_postfach"), "12345678" + smile);
    // Pick-list boxes are cut when the race is stored.
    typeCombo(7, QString(34, u'L'));
    typeSmile(combo(7)->lineEdit());
    typeCombo(9, "De");
    typeSmile(combo(9)->lineEdit());
    typeCombo(6, QString(49, u'S'));
    typeSmile(combo(6)->lineEdit());
    control<QLabel>("a_l_datei")->setText("/" + QString(253, u'b') + smile);
    save();

    const QVariantMap r = row(key);
    EXPECT_EQ(r["ad_plz_ansprech"], "123456789");
    EXPECT_EQ(r["ad_postfach_ansprech"], "12345678" + smile);
    EXPECT_EQ(r["ad_lauf"], QString(34, u'L'));
    EXPECT_EQ(r["ad_land_ansprech"], "De");
    EXPECT_EQ(r["ad_strasse_ansprech"], QString(49, u'S'));
    EXPECT_EQ(r["ad_startbild"], "/" + QString(253, u'b'));
}

// What editRace() hands back, as a caller sees it: the user works the window it opens.
TEST_F(EditorTest, EditRaceHandsBackWhatTheUserDid)
{
    const qlonglong key
        = folder.addRace({ { "ad_lauf", "Stadtlauf" }, { "ad_lauf_datum", "01.06.2026" } });
    struct Case
    {
        EditorMode mode;
        const char *button; // pressed in the window
        EditorOutcome::Result result;
        int racesAfter;
    };
    const Case cases[] = {
        { EditorMode::Edit, "db_ok(3)", EditorOutcome::Result::Saved, 1 },
        { EditorMode::New, "db_abbr(3)", EditorOutcome::Result::Cancelled, 1 },
        { EditorMode::Copy, "db_abbr(3)", EditorOutcome::Result::Cancelled, 1 },
        { EditorMode::Copy, "db_ok(3)", EditorOutcome::Result::Saved, 2 },
        { EditorMode::Delete, "db_ok(3)", EditorOutcome::Result::Deleted, 1 },
    };
    for (const Case &c : cases) {
        const int mode = int(c.mode);
        qlonglong shown = 0;
        ui.answers = { Ui::Answer::Yes };
        ui.onModal = [&](QDialog &window) {
            shown = dynamic_cast<RaceEditor &>(window).raceNumber();
            QTest::mouseClick(window.findChild<QPushButton *>(c.button), Qt::LeftButton);
            return window.result();
        };
        const EditorOutcome outcome = editRace(ctx, nullptr, c.mode, ctx.races().race(key));
        EXPECT_EQ(outcome.result, c.result) << mode;
        EXPECT_EQ(folder.count("adressen"), c.racesAfter) << mode;
        if (c.result == EditorOutcome::Result::Saved) {
            ASSERT_TRUE(outcome.saved.has_value()) << mode;
            EXPECT_EQ(outcome.saved->number, shown) << mode;
            EXPECT_EQ(outcome.saved->name, "Stadtlauf") << mode;
            EXPECT_EQ(row(shown)["ad_lauf"], "Stadtlauf") << mode;
        } else {
            EXPECT_FALSE(outcome.saved.has_value()) << mode;
        }
        EXPECT_EQ(outcome.deleted, c.result == EditorOutcome::Result::Deleted ? key : 0) << mode;
        EXPECT_EQ(shown == key, c.mode == EditorMode::Edit || c.mode == EditorMode::Delete) << mode;
    }
    EXPECT_TRUE(row(key).isEmpty());
}

// Another program (or a second window) changed the race while it was open: saving does not
// write over that change, and the editor stays open with what the user typed.
TEST_F(EditorTest, SavingDoesNotOverwriteARaceChangedInTheFileMeanwhile)
{
    const qlonglong key
        = folder.addRace({ { "ad_lauf", "Stadtlauf" }, { "ad_lauf_datum", "01.06.2026" } });
    RaceEditor &f = open(EditorMode::Edit, key);
    folder.exec(
        QStringLiteral("update adressen set ad_lauf_ort = 'Bonn' where ad_nummer = %1").arg(key));
    type("ad_t_lauf_ort", QStringLiteral("Köln"));
    save();
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(f.result(), 0);
    EXPECT_TRUE(control("ProgressBar1")->isHidden());
    EXPECT_EQ(row(key)["ad_lauf_ort"], "Bonn");
    EXPECT_EQ(fieldText("ad_t_lauf_ort"), "Köln");
    EXPECT_EQ(f.outcome().result, EditorOutcome::Result::Cancelled);
}
