#include "EditorFixture.h"

#include "calendar/CalendarDialog.h"

#include <QApplication>

namespace {
class FieldTest : public EditorTest
{
protected:
    RaceEditor &openShown(EditorMode mode, qlonglong chosen = 0)
    {
        RaceEditor &f = open(mode, chosen);
        f.show();
        f.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&f));
        return f;
    }

    // The control that has the focus; an editable combo counts as itself, not its line edit.
    static QString focusName()
    {
        QWidget *w = QApplication::focusWidget();
        if (!w)
            return QStringLiteral("(none)");
        if (qobject_cast<QLineEdit *>(w) && qobject_cast<QComboBox *>(w->parentWidget()))
            w = w->parentWidget();
        return w->objectName();
    }
    static void pressEnter() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }

    // What the calendar was opened with, and what the test does in it.
    struct CalendarCall
    {
        QDate shown;
        bool labelEnabled = true;
    };
    // Chooses day.month.year in the calendar and takes it with OK, or cancels when day is 0.
    void answerCalendar(const char *label, int day, int month = 0, int year = 0)
    {
        calls.clear();
        ui.onModal = [=, this](QDialog &window) {
            auto &calendar = dynamic_cast<CalendarDialog &>(window);
            calls.push_back({ calendar.currentDate(), control(label)->isEnabled() });
            if (day == 0) {
                calendar.k_c_abbruch->click();
                return int(QDialog::Rejected);
            }
            calendar.k_c_mehr->click();
            calendar.findChild<QLineEdit *>(QStringLiteral("k_t_tag"))
                ->setText(QString::number(day));
            calendar.findChild<QLineEdit *>(QStringLiteral("k_t_monat"))
                ->setText(QString::number(month));
            calendar.findChild<QLineEdit *>(QStringLiteral("k_t_jahr"))
                ->setText(QString::number(year));
            calendar.k_c_zeigen1->click();
            calendar.k_c_ok->click();
            return int(QDialog::Accepted);
        };
    }

    std::vector<CalendarCall> calls;
};
} // namespace

TEST_F(FieldTest, EnterWalksTheFormFromTheRaceNameToTheButtons)
{
    openShown(EditorMode::New);
    type("ad_t_lauf_ort", QStringLiteral("Berlin"));
    combo(7)->setFocus();
    ASSERT_EQ(focusName(), "aw_Combo1(7)");

    const QStringList expected = stopsToSave();
    QStringList seen { focusName() };
    while (seen.size() < expected.size()) {
        pressEnter();
        seen << focusName();
    }
    EXPECT_EQ(seen, expected);
    // Enter on a button would press it; the cancel button follows by Tab.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(focusName(), "db_abbr(3)");

    // The key went to no control: no box ticked, no text changed, nothing saved.
    EXPECT_TRUE(form->isVisible());
    for (const char *box : { "ad_check_vorgemerkt", "ad_check_angemeldet", "ad_check_gelaufen",
                             "ad_check_alarm", "ad_check_bezahlt" })
        EXPECT_FALSE(control<QCheckBox>(box)->isChecked()) << box;
    EXPECT_EQ(fieldText("ad_t_lauf_ort"), "Berlin");
    EXPECT_TRUE(control<QRadioButton>("ad_o_strecke(0)")->isChecked());
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(FieldTest, TabAndEnterEnterTheDistanceGroupAtTheChosenOption)
{
    const qlonglong key = folder.addRace({ { "ad_lauf", "Stadtlauf" },
                                           { "ad_lauf_datum", "07.06.2026" },
                                           { "ad_ang_jn", true },
                                           { "ad_strecke", "10 km" } });
    openShown(EditorMode::Edit, key);
    ASSERT_TRUE(control<QRadioButton>("ad_o_strecke(2)")->isChecked());

    combo(7)->setFocus();
    QStringList expected = stopsToSave(QStringLiteral("ad_o_strecke(2)"));
    expected << "db_abbr(3)"
             << "ad_c_lauf_ort"
             << "ad_t_strecke_sg"
             << "ad_c_ort"
             << "ad_c_plz"
             << "ad_t_strecke";
    QStringList seen { focusName() };
    while (seen.size() < expected.size()) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        seen << focusName();
    }
    EXPECT_EQ(seen, expected);

    // After that pass, Enter from "gelaufen" enters the group at the same option, and Space
    // there keeps the distance.
    control("ad_check_gelaufen")->setFocus();
    pressEnter();
    EXPECT_EQ(focusName(), "ad_o_strecke(2)");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    save();
    EXPECT_EQ(row(key).value("ad_strecke"), "10 km");
}

TEST_F(FieldTest, EnterOnTheOtherDistanceSkipsItsField)
{
    openShown(EditorMode::New);
    toggle("ad_o_strecke(2)");
    ASSERT_FALSE(control("ad_t_strecke")->isHidden());
    control("ad_check_gelaufen")->setFocus();
    pressEnter();
    EXPECT_EQ(focusName(), "ad_o_strecke(2)");
    pressEnter();
    EXPECT_EQ(focusName(), "ad_t_zeit");
    pressEnter();
    EXPECT_EQ(focusName(), "ad_name2");
}

TEST_F(FieldTest, EnterKeepsItsOrdinaryEffectOutsideTheList)
{
    openShown(EditorMode::New);
    // The free distance, the third distance's name: Enter stays, and presses no button.
    toggle("ad_o_strecke(2)");
    for (const char *name : { "ad_t_strecke", "ad_t_strecke_sg" }) {
        control(name)->setFocus();
        type(name, QStringLiteral("10 km"));
        pressEnter();
        EXPECT_EQ(focusName(), name);
        EXPECT_EQ(fieldText(name), "10 km");
    }
    EXPECT_TRUE(form->isVisible());

    // The notes take Enter as a line break.
    auto *notes = control<QPlainTextEdit>("ad_t_notiz");
    notes->setFocus();
    QTest::keyClicks(notes, QStringLiteral("eins"));
    pressEnter();
    QTest::keyClicks(notes, QStringLiteral("zwei"));
    EXPECT_EQ(notes->toPlainText(), "eins\nzwei");
    EXPECT_EQ(focusName(), "ad_t_notiz");

    // A focused button is pressed by Enter: here the cancel button, so the new row goes.
    const qlonglong added = lastKey();
    control("db_abbr(3)")->setFocus();
    pressEnter();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(row(added).isEmpty());
}

TEST_F(FieldTest, EachDateLabelWritesTheChosenDateInItsFormat)
{
    const qlonglong key
        = folder.addRace({ { "ad_lauf", "Lauf" }, { "ad_lauf_datum", "27.09.2026" } });
    openShown(EditorMode::Edit, key);
    const std::pair<const char *, QString> labels[] = {
        { "ad_l_lauf_datum", "31.03.2026, Dienstag" },
        { "ad_l_angemeldet", "31.03.2026, Dienstag" },
        { "ad_l_start1", "31.03.2026" },
        { "ad_l_start2", "31.03.2026" },
        { "ad_l_start3", "31.03.2026" },
        { "ad_l_alarm", "31.03.2026, Dienstag" },
        { "ad_l_überwiesen", "31.03.2026, Dienstag" },
    };
    for (const auto &[name, written] : labels) {
        answerCalendar(name, 31, 3, 2026);
        click(name);
        ASSERT_EQ(calls.size(), 1u) << name;
        EXPECT_FALSE(calls[0].labelEnabled) << name;
        EXPECT_EQ(labelText(name), written) << name;
        EXPECT_TRUE(control(name)->isEnabled()) << name;
    }
    EXPECT_EQ(ui.modalWindows, QStringList(7, QStringLiteral("Kalender_Form")));

    // A label that holds a date opens the calendar on it, whatever its format.
    answerCalendar("ad_l_start2", 1, 4, 2026);
    click("ad_l_start2");
    EXPECT_EQ(calls[0].shown, QDate(2026, 3, 31));
    EXPECT_EQ(labelText("ad_l_start2"), "01.04.2026");
    answerCalendar("ad_l_lauf_datum", 2, 10, 2026);
    click("ad_l_lauf_datum");
    EXPECT_EQ(calls[0].shown, QDate(2026, 3, 31));
    EXPECT_EQ(labelText("ad_l_lauf_datum"), "02.10.2026, Freitag");
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(FieldTest, CancellingTheCalendarKeepsTheLabelAndABlankOpensOnToday)
{
    const qlonglong key = folder.addRace({ { "ad_lauf", "Lauf" },
                                           { "ad_lauf_datum", "27.09.2026" },
                                           { "ad_sg2_datum", "15.08.2026" } });
    openShown(EditorMode::Edit, key);
    ASSERT_EQ(labelText("ad_l_angemeldet"), " ");

    // " " is no date: the calendar starts on today, not on the race date.
    answerCalendar("ad_l_angemeldet", 0);
    click("ad_l_angemeldet");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].shown, QDate(2026, 5, 7));
    EXPECT_EQ(labelText("ad_l_angemeldet"), " ");
    EXPECT_TRUE(control("ad_l_angemeldet")->isEnabled());

    answerCalendar("ad_l_start2", 0);
    click("ad_l_start2");
    EXPECT_EQ(calls[0].shown, QDate(2026, 8, 15));
    EXPECT_EQ(labelText("ad_l_start2"), "15.08.2026");

    // An empty label opens on today as well; a chosen date then replaces it.
    ASSERT_EQ(labelText("ad_l_alarm"), "");
    answerCalendar("ad_l_alarm", 7, 5, 2026);
    click("ad_l_alarm");
    EXPECT_EQ(calls[0].shown, QDate(2026, 5, 7));
    EXPECT_EQ(labelText("ad_l_alarm"), "07.05.2026, Donnerstag");
}

TEST_F(FieldTest, ChosenDatesReachTheRecordOnSaving)
{
    openShown(EditorMode::New);
    typeCombo(7, QStringLiteral("Stadtlauf"));
    answerCalendar("ad_l_lauf_datum", 13, 9, 2026);
    click("ad_l_lauf_datum");
    answerCalendar("ad_l_start1", 1, 7, 2026);
    click("ad_l_start1");
    const qlonglong key = lastKey();
    save();
    const QVariantMap stored = row(key);
    EXPECT_EQ(stored.value("ad_lauf_datum"), "13.09.2026");
    EXPECT_EQ(stored.value("ad_sg1_datum"), "01.07.2026");
}

TEST_F(FieldTest, MailAndWebFieldsHandTheirTextToTheDesktop)
{
    openShown(EditorMode::New);
    type("ad_email", QStringLiteral("info@stadtlauf.de"));
    type("ad_internet", QStringLiteral("www.stadtlauf.de"));
    QTest::mouseDClick(control("ad_email"), Qt::LeftButton);
    QTest::mouseDClick(control("ad_internet"), Qt::LeftButton);
    // An empty field still opens the mail program, with the bare scheme.
    QTest::mouseDClick(control("ad_email_ansprech"), Qt::LeftButton);
    ASSERT_EQ(ui.openedUrls.size(), 3);
    EXPECT_EQ(ui.openedUrls[0].toString(), "mailto:info@stadtlauf.de");
    EXPECT_EQ(ui.openedUrls[1].toString(), "http://www.stadtlauf.de");
    EXPECT_EQ(ui.openedUrls[2].toString(), "mailto:");

    // Whatever is typed stays one address of its scheme; nothing of it becomes a command.
    type("ad_email_ansprech", QStringLiteral("a@b.de & calc"));
    QTest::mouseDClick(control("ad_email_ansprech"), Qt::LeftButton);
    ASSERT_EQ(ui.openedUrls.size(), 4);
    EXPECT_EQ(ui.openedUrls[3].scheme(), "mailto");
    EXPECT_EQ(ui.openedUrls[3].path(), "a@b.de & calc");

    // A single click opens nothing.
    click("ad_internet");
    EXPECT_EQ(ui.openedUrls.size(), 4);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(FieldTest, PlaceButtonsOpenThePostalDirectoryForTheirFields)
{
    openShown(EditorMode::New);
    QStringList calls;
    ui.onModal = [&](QDialog &window) {
        calls << window.objectName();
        return int(QDialog::Rejected);
    };
    click("ad_c_lauf_ort");
    click("ad_c_plz");
    click("ad_c_ort");
    EXPECT_EQ(calls, QStringList({ "PLZORT_Form", "PLZORT_Form", "PLZORT_Form" }));
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_TRUE(form->isVisible());
}
