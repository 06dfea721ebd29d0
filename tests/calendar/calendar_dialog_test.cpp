#include "ProgramFixture.h"
#include "calendar/CalendarDialog.h"
#include "calendar/CalendarWidgets.h"
#include "common/GermanText.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include <gtest/gtest.h>

namespace {
const QDate kToday(2026, 12, 7);

class KalenderFormTest : public ::testing::Test, protected ProgramRun
{
protected:
    KalenderFormTest()
        : ProgramRun(TestFolder::Content::Empty, QDateTime(kToday, QTime(9, 30)))
    {
    }

    // Asks for a date exactly as the race editor does, letting `user` work the window.
    std::optional<QDate> pickDate(const QDate &shown,
                                  const std::function<void(CalendarDialog &)> &user)
    {
        ui.onModal = [&](QDialog &dialog) {
            user(static_cast<CalendarDialog &>(dialog));
            EXPECT_FALSE(dialog.isVisible()) << "the window must close itself";
            return dialog.result();
        };
        return chooseDate(ctx, nullptr, shown);
    }

    QStringList cellTexts(const CalendarDialog &form) const
    {
        QStringList texts;
        for (const DayCell *cell : form.k_l_tage)
            texts << cell->text();
        return texts;
    }

    static QPoint centre(const QWidget *w) { return w->rect().center(); }

    static void openLarge(CalendarDialog &form)
    {
        form.show();
        QTest::mouseClick(form.k_c_mehr, Qt::LeftButton);
    }

    // Presses the day cell, moves with the button held and lets go over target: what a user
    // does with the mouse. The release has to arrive inside the drag's own event loop.
    // The offscreen platform has no drag and drop; there the drop that the platform would
    // deliver is sent to the target directly, so run this suite under xvfb with
    // QT_QPA_PLATFORM=xcb to drive the whole gesture.
    static void dragDay(CalendarDialog &form, int cell, QWidget *target)
    {
        DayCell *from = form.k_l_tage[cell];
        QWindow *window = form.windowHandle();
        const QPoint over = target->mapTo(&form, centre(target));
        // Through the window, so that the application sees the button held.
        const QPoint start = from->mapTo(&form, centre(from));
        QTest::mousePress(window, Qt::LeftButton, {}, start);
        if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
            QTest::mouseMove(window, start + QPoint(20, 20));
            QTest::mouseRelease(window, Qt::LeftButton, {}, over);
            deliverDrop(target, formatDate(form.currentDate()).toLatin1(), kDayMimeType);
            return;
        }
        QTimer::singleShot(0, window, [window, over] {
            QTest::mouseMove(window, over);
            QTest::mouseRelease(window, Qt::LeftButton, {}, over);
        });
        QTest::mouseMove(window, start + QPoint(20, 20));
    }

    static bool deliverDrop(QWidget *target, const QByteArray &data, const char *format)
    {
        QMimeData mime;
        mime.setData(QString::fromLatin1(format), data);
        const QPoint p = centre(target);
        QDragEnterEvent enter(p, Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(QPointF(p), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(target, &drop);
        return drop.isAccepted();
    }

    static void activate(QWidget &w)
    {
        w.show();
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }
};
} // namespace

TEST_F(KalenderFormTest, OkReturnsTheShownDate)
{
    const auto chosen = pickDate(QDate(2026, 3, 14), [](CalendarDialog &form) {
        EXPECT_EQ(form.k_l_datum_anzeige->text(), QStringLiteral("14. März 2026"));
        QTest::mouseClick(form.k_c_ok, Qt::LeftButton);
    });
    EXPECT_EQ(chosen, QDate(2026, 3, 14));
}

TEST_F(KalenderFormTest, NoDateOrOneOutOfRangeOpensOnTodayAndCancelReturnsNothing)
{
    for (const QDate &shown : { QDate(), QDate(1, 1, 1), QDate(99, 12, 31) }) {
        const auto chosen = pickDate(shown, [](CalendarDialog &form) {
            EXPECT_EQ(form.currentDate(), kToday);
            QTest::mouseClick(form.k_c_heute, Qt::LeftButton);
            form.k_sh_monat->setValue(5); // the user moves on, then changes their mind
            QTest::mouseClick(form.k_c_abbruch, Qt::LeftButton);
        });
        EXPECT_EQ(chosen, std::nullopt) << shown.toString().toStdString();
    }
}

TEST_F(KalenderFormTest, EscapeAndTheCloseBoxCancelEnterTakesTheDate)
{
    const QDate start(2025, 6, 20);
    EXPECT_EQ(pickDate(start,
                       [](CalendarDialog &form) {
                           form.k_sh_jahr->setValue(2030);
                           QTest::keyClick(&form, Qt::Key_Escape);
                       }),
              std::nullopt);
    EXPECT_EQ(pickDate(start, [](CalendarDialog &form) { QTest::keyClick(&form, Qt::Key_Return); }),
              start);
    EXPECT_EQ(pickDate(start,
                       [](CalendarDialog &form) {
                           form.k_sh_monat->setValue(1);
                           form.close();
                       }),
              std::nullopt);
}

TEST_F(KalenderFormTest, DoubleClickOnADayAcceptsThatDay)
{
    const auto chosen = pickDate(QDate(2026, 12, 7), [](CalendarDialog &form) {
        // December 2026 starts on a Tuesday: day 24 is cell 24.
        ASSERT_EQ(form.k_l_tage[24]->text(), QStringLiteral("24"));
        // A double click arrives as press, release, double click, release.
        QTest::mouseClick(form.k_l_tage[24], Qt::LeftButton);
        QTest::mouseDClick(form.k_l_tage[24], Qt::LeftButton);
    });
    EXPECT_EQ(chosen, QDate(2026, 12, 24));
}

TEST_F(KalenderFormTest, OpensSmallWithItsPresets)
{
    CalendarDialog form(ctx, QDate(2026, 12, 7));
    form.show();
    EXPECT_EQ(form.size(), CalendarDialog::smallSize());
    EXPECT_TRUE(form.k_c_mehr->isVisible());
    EXPECT_FALSE(form.k_t_tag->isVisible());
    EXPECT_EQ(form.k_t_tag->text(), QStringLiteral("7"));
    EXPECT_EQ(form.k_t_monat->text(), QStringLiteral("12"));
    EXPECT_EQ(form.k_t_jahr->text(), QStringLiteral("2026"));
    EXPECT_TRUE(form.k_t_in_vor->text().isEmpty());
    for (const QRadioButton *o :
         { form.k_o_in, form.k_o_vor, form.k_o_naechstes, form.k_o_letztes })
        EXPECT_FALSE(o->isChecked()) << o->objectName().toStdString();
    EXPECT_EQ(form.k_k_ausw_tag->count(), 31);
    EXPECT_EQ(form.k_k_ausw_tag->currentText(), QStringLiteral(" 13"));
    EXPECT_EQ(form.k_k_ausw_monat->currentText(), QStringLiteral("egal"));
    EXPECT_EQ(form.k_k_ausw_monat->itemText(3), QStringLiteral("März"));
    EXPECT_EQ(form.k_k_ausw_wotag->currentText(), QStringLiteral("Freitag"));
    EXPECT_EQ(form.k_k_ausw_wotag->itemText(6), QStringLiteral("Sonnabend"));
    EXPECT_EQ(form.k_l_datdiff_1->text(), QStringLiteral("hier ablegen"));
    EXPECT_EQ(form.findChild<QWidget *>(QStringLiteral("k_o_nächstes")), form.k_o_naechstes);

    QTest::mouseClick(form.k_c_mehr, Qt::LeftButton);
    EXPECT_EQ(form.size(), CalendarDialog::largeSize());
    EXPECT_FALSE(form.k_c_mehr->isVisible());
    EXPECT_TRUE(form.k_t_tag->isVisible());
    EXPECT_TRUE(form.k_k_ausw_wotag->isVisible());
    QTest::mouseClick(form.k_c_weniger, Qt::LeftButton);
    EXPECT_EQ(form.size(), CalendarDialog::smallSize());
    EXPECT_TRUE(form.k_c_mehr->isVisible());
    EXPECT_FALSE(form.k_c_weniger->isVisible());
}

TEST_F(KalenderFormTest, ShowsTheMonthWithOnlyTheCurrentDayMarked)
{
    CalendarDialog form(ctx, QDate(2026, 3, 10));
    form.show();
    const QStringList cells = cellTexts(form);
    EXPECT_EQ(cells.mid(0, 6), QStringList(6, QString()));
    EXPECT_EQ(cells[6], QStringLiteral("1"));
    EXPECT_EQ(cells[35], QStringLiteral("30"));
    EXPECT_EQ(cells[36], QStringLiteral("31"));
    EXPECT_EQ(form.markedCell(), 15);
    EXPECT_EQ(form.k_l_tage[15]->frameShape(), QFrame::Box);
    EXPECT_EQ(form.k_l_tage[15]->palette().color(QPalette::Window), QColor(0, 255, 255));
    EXPECT_EQ(form.k_l_tage[16]->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(form.k_l_kw[0]->text(), QStringLiteral("9."));
    EXPECT_EQ(form.k_l_wotag[5]->text(), QStringLiteral("Sa"));
    EXPECT_EQ(form.k_l_wotag[5]->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_NE(form.k_l_wotag[4]->palette().color(QPalette::WindowText), QColor(255, 0, 0));

    // January 2027: the row of 1 January belongs to 2026 and shows no number.
    form.k_sh_jahr->setValue(2027);
    form.k_sh_monat->setValue(1);
    EXPECT_EQ(form.k_l_datum_anzeige->text(), QStringLiteral("10. Januar 2027"));
    QStringList weeks;
    for (const QLabel *l : form.k_l_kw)
        weeks << l->text();
    EXPECT_EQ(weeks, (QStringList { "", "1.", "2.", "3.", "4.", "5." }));
}

TEST_F(KalenderFormTest, ScrollBarsClampTheDay)
{
    CalendarDialog form(ctx, QDate(2026, 1, 31));
    form.show();
    form.k_sh_monat->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(form.currentDate(), QDate(2026, 2, 28));
    form.k_sh_monat->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(form.currentDate(), QDate(2026, 5, 28));

    // December plus one stays in December.
    form.k_sh_monat->setValue(12);
    form.k_sh_monat->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(form.currentDate(), QDate(2026, 12, 28));

    form.k_sh_jahr->setValue(2024);
    form.k_sh_monat->setValue(2);
    // February 2024 starts on a Thursday: day 29 is cell 31.
    QTest::mouseClick(form.k_l_tage[31], Qt::LeftButton);
    EXPECT_EQ(form.currentDate(), QDate(2024, 2, 29));
    form.k_sh_jahr->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(form.currentDate(), QDate(2025, 2, 28));
    EXPECT_EQ(form.k_l_datum_anzeige->text(), QStringLiteral("28. Februar 2025"));
}

TEST_F(KalenderFormTest, ClickOnAnEmptyCellOnlyRemovesTheMarking)
{
    CalendarDialog form(ctx, QDate(2026, 12, 7));
    openLarge(form);
    QTest::mouseClick(form.k_l_tage[0], Qt::LeftButton); // before 1 December (a Tuesday)
    EXPECT_EQ(form.markedCell(), -1);
    EXPECT_EQ(form.currentDate(), QDate(2026, 12, 7));
    for (const DayCell *cell : form.k_l_tage)
        EXPECT_EQ(cell->frameShape(), QFrame::NoFrame);

    // Nothing can be dragged out of it.
    QTest::mousePress(form.k_l_tage[0], Qt::LeftButton);
    QTest::mouseMove(form.k_l_tage[0], QPoint(30, 30));
    QTest::mouseRelease(form.k_l_tage[0], Qt::LeftButton);
    EXPECT_EQ(form.k_l_datdiff_1->text(), QStringLiteral("hier ablegen"));

    // The next navigation marks the day again.
    form.k_sh_monat->setValue(11);
    EXPECT_EQ(form.markedCell(), 12); // 7 November 2026, the month starts on a Sunday
}

TEST_F(KalenderFormTest, DraggedDaysGiveTheDifference)
{
    CalendarDialog form(ctx, QDate(2026, 12, 7));
    openLarge(form);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    dragDay(form, 10, form.k_l_datdiff_1); // 10.12.2026
    EXPECT_EQ(form.k_l_datdiff_1->text(), QStringLiteral("10.12.2026"));
    EXPECT_EQ(form.currentDate(), QDate(2026, 12, 10));
    EXPECT_TRUE(form.k_l_datdiff->text().isEmpty());

    dragDay(form, 1, form.k_l_datdiff_2); // 01.12.2026
    EXPECT_EQ(form.k_l_datdiff_2->text(), QStringLiteral("01.12.2026"));
    EXPECT_EQ(form.k_l_datdiff->text(), QStringLiteral("-9"));

    // Across months: the next drag replaces Datum2 with 01.01.2027.
    form.k_sh_jahr->setValue(2027);
    form.k_sh_monat->setValue(1);
    dragDay(form, 4, form.k_l_datdiff_2); // January 2027 starts on a Friday
    EXPECT_EQ(form.k_l_datdiff_2->text(), QStringLiteral("01.01.2027"));
    EXPECT_EQ(form.k_l_datdiff->text(), QStringLiteral("22"));

    // Nothing but a day of the grid is taken.
    EXPECT_FALSE(deliverDrop(form.k_l_datdiff_1, "05.05.2026", "text/plain"));
    EXPECT_EQ(form.k_l_datdiff_1->text(), QStringLiteral("10.12.2026"));
}

TEST_F(KalenderFormTest, TodayComesFromTheClock)
{
    CalendarDialog form(ctx, QDate(1999, 5, 5));
    form.show();
    QTest::mouseClick(form.k_c_heute, Qt::LeftButton);
    EXPECT_EQ(form.currentDate(), kToday);
    EXPECT_EQ(form.k_sh_jahr->value(), 2026);
    EXPECT_EQ(form.k_sh_monat->value(), 12);
    EXPECT_EQ(form.markedCell(), 7);
}

TEST_F(KalenderFormTest, DirectInputFieldsKeepTheirNumbersSane)
{
    CalendarDialog form(ctx, QDate(2026, 5, 9));
    activate(form);
    QTest::mouseClick(form.k_c_mehr, Qt::LeftButton);

    // A click selects the whole text, so typing replaces it.
    QTest::mouseClick(form.k_t_tag, Qt::LeftButton);
    EXPECT_EQ(form.k_t_tag->selectedText(), QStringLiteral("9"));
    QTest::keyClicks(form.k_t_tag, QStringLiteral("45"));
    EXPECT_EQ(form.k_t_tag->text(), QStringLiteral("9"));

    QTest::mouseClick(form.k_t_monat, Qt::LeftButton);
    QTest::keyClicks(form.k_t_monat, QStringLiteral("13"));
    EXPECT_EQ(form.k_t_monat->text(), QStringLiteral("5"));
    form.k_t_monat->selectAll();
    QTest::keyClicks(form.k_t_monat, QStringLiteral("x"));
    EXPECT_EQ(form.k_t_monat->text(), QStringLiteral("0"));

    QTest::mouseClick(form.k_t_jahr, Qt::LeftButton);
    EXPECT_EQ(form.k_t_jahr->selectedText(), QStringLiteral("2026"));
    QTest::keyClick(form.k_t_jahr, Qt::Key_Backspace);
    EXPECT_EQ(form.k_t_jahr->text(), QStringLiteral("2026"));

    // Tabbing into a field selects it as well.
    form.k_t_tag->setFocus();
    QTest::keyClick(form.k_t_tag, Qt::Key_Tab);
    EXPECT_EQ(form.k_t_monat->selectedText(), form.k_t_monat->text());
}

TEST_F(KalenderFormTest, ZeigenShowsTheTypedDateOrFallsBackToToday)
{
    CalendarDialog form(ctx, QDate(2026, 5, 9));
    openLarge(form);
    auto typeDate = [&](const char *d, const char *m, const char *y) {
        for (auto [field, text] : { std::pair { form.k_t_tag, d }, std::pair { form.k_t_monat, m },
                                    std::pair { form.k_t_jahr, y } }) {
            QTest::mouseClick(field, Qt::LeftButton);
            QTest::keyClicks(field, QString::fromLatin1(text));
        }
        QTest::mouseClick(form.k_c_zeigen1, Qt::LeftButton);
    };
    typeDate("24", "12", "1983");
    EXPECT_EQ(form.currentDate(), QDate(1983, 12, 24));
    EXPECT_EQ(form.k_l_datum_anzeige->text(), QStringLiteral("24. Dezember 1983"));

    typeDate("31", "4", "2026");
    EXPECT_EQ(form.currentDate(), kToday);
    EXPECT_EQ(form.markedCell(), 7);
    EXPECT_TRUE(ui.messages.isEmpty());

    // The fields stay as typed; only "Zeigen" reads them.
    EXPECT_EQ(form.k_t_monat->text(), QStringLiteral("4"));
}

TEST_F(KalenderFormTest, StepByDaysFollowsTheChosenDirection)
{
    CalendarDialog form(ctx, QDate(2026, 12, 7));
    openLarge(form);
    QTest::keyClicks(form.k_t_in_vor, QStringLiteral("10"));
    QTest::mouseClick(form.k_o_vor, Qt::LeftButton);
    QTest::mouseClick(form.k_c_zeigen2, Qt::LeftButton);
    EXPECT_EQ(form.k_t_in_vor->text(), QStringLiteral("-10"));
    EXPECT_EQ(form.currentDate(), QDate(2026, 11, 27));

    QTest::mouseClick(form.k_o_in, Qt::LeftButton);
    QTest::mouseClick(form.k_c_zeigen2, Qt::LeftButton);
    EXPECT_EQ(form.k_t_in_vor->text(), QStringLiteral("10"));
    EXPECT_EQ(form.currentDate(), QDate(2026, 12, 7));

    // A fraction counts with its whole part.
    form.k_t_in_vor->setText(QStringLiteral("2,9"));
    QTest::mouseClick(form.k_c_zeigen2, Qt::LeftButton);
    EXPECT_EQ(form.k_t_in_vor->text(), QStringLiteral("2"));
    EXPECT_EQ(form.currentDate(), QDate(2026, 12, 9));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(KalenderFormTest, StepBeyondTheCalendarShowsTheRangeMessageAndToday)
{
    CalendarDialog form(ctx, QDate(9998, 12, 31));
    openLarge(form);
    form.k_t_in_vor->setText(QStringLiteral("400"));
    QTest::mouseClick(form.k_c_zeigen2, Qt::LeftButton);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text,
              QStringLiteral("   Das Datum darf nur zwischen dem\r\n"
                             "01.01.100 und dem 31.12.9999 liegen!"));
    EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Information);
    EXPECT_EQ(ui.messages[0].buttons, Ui::Buttons::Ok);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Strivo"));
    EXPECT_EQ(form.currentDate(), kToday);
    EXPECT_EQ(form.markedCell(), 7);
}

TEST_F(KalenderFormTest, WeekdaySearchFindsOrRefuses)
{
    CalendarDialog form(ctx, QDate(2026, 12, 7));
    openLarge(form);
    QTest::mouseClick(form.k_c_zeigen3, Qt::LeftButton); // next Friday the 13th, any month
    EXPECT_EQ(form.currentDate(), QDate(2027, 8, 13));
    EXPECT_FALSE(ui.busyNow);

    QTest::mouseClick(form.k_o_letztes, Qt::LeftButton);
    QTest::mouseClick(form.k_c_zeigen3, Qt::LeftButton);
    EXPECT_EQ(form.currentDate(), QDate(2026, 11, 13));

    form.k_k_ausw_tag->setCurrentIndex(29); // 30
    form.k_k_ausw_monat->setCurrentIndex(2); // Februar
    QTest::mouseClick(form.k_c_zeigen3, Qt::LeftButton);
    form.k_k_ausw_tag->setCurrentIndex(30); // 31
    form.k_k_ausw_monat->setCurrentIndex(9); // September
    QTest::mouseClick(form.k_c_zeigen3, Qt::LeftButton);
    EXPECT_EQ(ui.messageTexts(),
              (QStringList { "Der Monat Februar hat maximal\r\n                29 Tage!",
                             "Der Monat September hat nur\r\n            30 Tage!" }));
    EXPECT_EQ(ui.messages[1].icon, Ui::Icon::Information);
    EXPECT_EQ(form.currentDate(), QDate(2026, 11, 13));
    EXPECT_EQ(form.markedCell(), -1);
    EXPECT_FALSE(ui.busyNow);
}

TEST_F(KalenderFormTest, WeekdaySearchPastTheLastDateKeepsTheDate)
{
    CalendarDialog form(ctx, QDate(9999, 1, 1));
    openLarge(form);
    form.k_k_ausw_tag->setCurrentIndex(30); // 31
    form.k_k_ausw_monat->setCurrentIndex(12); // Dezember
    form.k_k_ausw_wotag->setCurrentIndex(6); // Sonnabend; 31.12.9999 is a Friday
    QTest::mouseClick(form.k_c_zeigen3, Qt::LeftButton);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral("   Das Datum darf nur")));
    EXPECT_EQ(form.currentDate(), QDate(9999, 1, 1));
    EXPECT_FALSE(ui.busyNow);
}

TEST_F(KalenderFormTest, HelpByButtonAndF1)
{
    CalendarDialog form(ctx, QDate(2026, 12, 7));
    activate(form);
    QTest::keyClick(&form, Qt::Key_F1);
    openLarge(form);
    EXPECT_EQ(form.hilfe->toolTip(), QStringLiteral("Hilfe zu diesem Fenster anzeigen"));
    QTest::mouseClick(form.hilfe, Qt::LeftButton);
    ASSERT_EQ(ui.messages.size(), 2);
    for (const FakeUi::Message &m : ui.messages) {
        EXPECT_EQ(m.icon, Ui::Icon::Information);
        EXPECT_TRUE(m.text.contains(QStringLiteral("Doppelklick")));
    }
}

// The bars' arrows and captions "<< Monat >>" and "<< Jahr >>": right and down is later.
TEST_F(KalenderFormTest, BarKeysGoLaterByRightDownAndPageDownAndEarlierTheOtherWay)
{
    CalendarDialog form(ctx, QDate(2026, 6, 15));
    form.show();
    const std::pair<Qt::Key, int> steps[] = {
        { Qt::Key_Right, 1 }, { Qt::Key_Down, 1 }, { Qt::Key_PageDown, 1 },
        { Qt::Key_Left, -1 }, { Qt::Key_Up, -1 },  { Qt::Key_PageUp, -1 },
    };
    for (const auto &[key, direction] : steps) {
        QDate before = form.currentDate();
        QTest::keyClick(form.k_sh_monat, key);
        const int months = key == Qt::Key_PageDown || key == Qt::Key_PageUp ? 3 : 1;
        EXPECT_EQ(form.currentDate(), before.addMonths(direction * months))
            << "month bar, key " << key;

        before = form.currentDate();
        QTest::keyClick(form.k_sh_jahr, key);
        const int years = key == Qt::Key_PageDown || key == Qt::Key_PageUp ? 5 : 1;
        EXPECT_EQ(form.currentDate(), before.addYears(direction * years))
            << "year bar, key " << key;
    }
}

// The weekday search reads as a sentence: the choices first, then "Zeigen".
TEST_F(KalenderFormTest, TabReachesTheWeekdaySearchButtonAfterItsChoices)
{
    CalendarDialog form(ctx, QDate());
    openLarge(form);
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.k_o_naechstes->setFocus(Qt::TabFocusReason);
    QStringList seen;
    for (int i = 0; i < 5; ++i) {
        seen << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    // The two options are one stop.
    EXPECT_EQ(seen,
              (QStringList { "k_o_nächstes", "k_k_ausw_tag", "k_k_ausw_monat", "k_k_ausw_wotag",
                             "k_c_zeigen3" }));
}
