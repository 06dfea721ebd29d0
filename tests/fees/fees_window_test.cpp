#include "Controls.h"
#include "MainWindowFixture.h"
#include "editor/RaceEditor.h"
#include "fees/FeesWindow.h"
#include "ui/ListGrid.h"

#include <QAction>
#include <QFont>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct FeesWindowTest : MainWindowFixture
{
    std::unique_ptr<FeesWindow> form;

    // Three races to pay for (today is 08.12.2026) and one paid.
    void addRaces()
    {
        const auto add = [this](const char *name, const char *deadline, const char *fee,
                                const char *paid = " ") {
            return folder.addRace({ { "ad_lauf", name },
                                    { "ad_lauf_datum", "01.06.2027" },
                                    { "ad_strecke", "Marathon" },
                                    { "ad_ang_jn", true },
                                    { "ad_bezahlt_jn", paid },
                                    { "ad_sg1_datum", deadline },
                                    { "ad_sg11", fee },
                                    { "ad_sg2_datum", "31.03.2027" },
                                    { "ad_sg21", "70" } });
        };
        late = add("Spät", "28.02.2027", "50,-");
        soon = add("Bald", "10.12.2026", "45 Euro");
        add("Bezahlt", "10.12.2026", "45", "Ja");
        add("Unklar", "", "siehe Homepage");
    }
    void open()
    {
        form = std::make_unique<FeesWindow>(ctx);
        form->show();
    }
    QString cell(int row, int column) const
    {
        return form->grid()->model()->index(row, column).data().toString();
    }
    QVariant data(int row, int column, int role) const
    {
        return form->grid()->model()->index(row, column).data(role);
    }
    qlonglong late = 0, soon = 0;
};

TEST_F(FeesWindowTest, ShowsWhatEachRaceCostsTodayAndMarksRisesSoon)
{
    addRaces();
    open();
    EXPECT_EQ(form->windowTitle(), "Startgelder und Fristen");
    QStringList captions;
    for (int c = 0; c < form->grid()->model()->columnCount(); ++c)
        captions << form->grid()->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(captions,
              QStringList(
                  { "Datum", "Lauf", "Strecke", "Startgeld heute", "gilt bis", "danach", "Tage" }));
    ASSERT_EQ(form->grid()->model()->rowCount(), 3);
    EXPECT_EQ(cell(0, 1), "Bald");
    EXPECT_EQ(cell(0, 3), "45,00 €");
    EXPECT_EQ(cell(0, 6), "3");
    EXPECT_TRUE(data(0, 2, Qt::FontRole).value<QFont>().bold());
    EXPECT_EQ(data(0, 4, Qt::ToolTipRole).toString(),
              "Das Startgeld steigt in 3 Tagen, am 11.12.2026, auf 70,00 €.");
    EXPECT_EQ(cell(1, 1), "Spät");
    EXPECT_FALSE(data(1, 2, Qt::FontRole).value<QFont>().bold());
    EXPECT_EQ(cell(2, 1), "Unklar"); // the fee without a deadline does not count
    EXPECT_EQ(cell(2, 3), "70,00 €");
    EXPECT_EQ(control<QLabel>(*form, "sg_l_summe")->text(),
              "Summe der heutigen Startgelder: 165,00 € für 3 Läufe");
}

TEST_F(FeesWindowTest, EnterOpensTheRaceAndTheListIsReadAgainAfterwards)
{
    addRaces();
    open();
    form->grid()->setCurrentRow(1);
    qlonglong edited = 0;
    ui.onModal = [&](QDialog &window) {
        const auto &editor = dynamic_cast<const RaceEditor &>(window);
        EXPECT_EQ(editor.mode(), EditorMode::Edit);
        edited = editor.raceNumber();
        // Paid meanwhile: the race leaves the list.
        folder.exec(QStringLiteral("update adressen set ad_bezahlt_jn = 'Ja' where ad_nummer = %1")
                        .arg(edited));
        QTest::keyClick(&window, Qt::Key_Escape);
        return int(QDialog::Rejected);
    };
    QTest::keyClick(form->grid(), Qt::Key_Return);
    EXPECT_EQ(edited, late);
    EXPECT_EQ(ui.modalWindows, QStringList { "Adressen_Form" });
    ASSERT_EQ(form->grid()->model()->rowCount(), 2);
    EXPECT_EQ(cell(1, 1), "Unklar");
    EXPECT_EQ(control<QLabel>(*form, "sg_l_summe")->text(),
              "Summe der heutigen Startgelder: 115,00 € für 2 Läufe");
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.messageTexts().join('\n').toStdString();
}

TEST_F(FeesWindowTest, SchliessenAndEscapeClose)
{
    open();
    EXPECT_EQ(control<QLabel>(*form, "sg_l_summe")->text(),
              "Keine angemeldeten oder vorgemerkten Läufe mit offenem Startgeld.");
    QTest::mouseClick(control<QPushButton>(*form, "db_abbr"), Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    form->show();
    form->grid()->setFocus();
    QTest::keyClick(form->grid(), Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(FeesWindowTest, MenuItemFollowsStatistikAndOpensTheWindow)
{
    start();
    QStringList captions;
    for (const QAction *action : window->menuBar()->actions())
        captions << action->text();
    const qsizetype statistik = captions.indexOf(" &Statistik ");
    ASSERT_GE(statistik, 0);
    EXPECT_EQ(captions.value(statistik + 1), " Startgelder und &Fristen ");
    window->findChild<QAction *>("m_startgelder")->trigger();
    EXPECT_EQ(ui.modalWindows, QStringList { "Startgelder_Form" });
}

} // namespace
