#include "ProgramFixture.h"
#include "racelist/RaceListWindow.h"
#include "ui/Twips.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {
const QDate kToday(2026, 12, 8);

struct MainWindowTest : ::testing::Test, ProgramRun
{
    MainWindowTest()
        : ProgramRun(TestFolder::Content::Seeded, QDateTime(kToday, QTime(9, 30)))
    {
    }
    std::unique_ptr<RaceListWindow> window;

    bool start()
    {
        window = std::make_unique<RaceListWindow>(ctx);
        return window->load();
    }
    template<class T> T *find(const QString &name) const { return window->findChild<T *>(name); }
    QString headline() const { return find<QLabel>("h_l_headline")->text(); }
    QStringList shownRaces() const
    {
        auto *grid = find<QTableView>("DBGrid1");
        QStringList names;
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            names << grid->model()->index(r, 3).data().toString();
        return names;
    }
    // A radio button takes clicks on its circle and caption only.
    void clickOption(int index) const
    {
        auto *option = find<QRadioButton>(QStringLiteral("h_o_auswahl(%1)").arg(index));
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
    }
    int gridHeight() const { return find<QTableView>("DBGrid1")->height(); }
};
} // namespace

TEST_F(MainWindowTest, WithoutDueRemindersStartsWithTheFutureRaces)
{
    folder.addRace({ { "ad_lauf", "Silvesterlauf" }, { "ad_lauf_datum", "31.12.2026" } });
    folder.addRace({ { "ad_lauf", "Herbstlauf" }, { "ad_lauf_datum", "01.10.2026" } });
    folder.addRace({ { "ad_lauf", "Nikolauslauf" },
                     { "ad_lauf_datum", "08.12.2026" },
                     { "ad_alarm_jn", "Ja" },
                     { "ad_alarm_datum", "09.12.2026" } });
    ASSERT_TRUE(start());

    EXPECT_TRUE(ui.messages.isEmpty()) << ui.messageTexts().join('\n').toStdString();
    EXPECT_TRUE(ui.modalWindows.isEmpty()); // no race marked for the start screen
    EXPECT_EQ(headline(), QStringLiteral("Alle zukünftigen Läufe"));
    EXPECT_EQ(shownRaces(), (QStringList { "Silvesterlauf", "Nikolauslauf" }));
    EXPECT_FALSE(window->reminderShown());
    EXPECT_EQ(gridHeight(), tw(6200));
    EXPECT_EQ(ctx.paths.folder, folder.path());
    EXPECT_EQ(ctx.paths.database(), folder.dbPath());
    EXPECT_EQ(ctx.paths.exportFolder(), folder.path() + "/Export/");
    EXPECT_EQ(ctx.paths.documentFolder(), folder.path() + "/Dokumente/");

    auto *grid = find<QTableView>("DBGrid1");
    const QStringList captions { "Datum",      "Tag",      "Zeit",    "Lauf", "Ort",
                                 "angemeldet", "gelaufen", "Strecke", "Zeit" };
    const int widths[] = { 1300, 500, 800, 3300, 2100, 1200, 900, 2000, 1200 };
    ASSERT_EQ(grid->model()->columnCount(), 9);
    for (int c = 0; c < 9; ++c) {
        EXPECT_EQ(grid->model()->headerData(c, Qt::Horizontal).toString(), captions[c]);
        EXPECT_EQ(grid->columnWidth(c), tw(widths[c]));
        EXPECT_FALSE(grid->isColumnHidden(c));
    }
    EXPECT_EQ(grid->palette().color(QPalette::Base), QColor(0, 128, 255));
    EXPECT_EQ(grid->palette().color(QPalette::Text), QColor(Qt::white));
}

TEST_F(MainWindowTest, DueRemindersComeFirstUnderTheirHeadline)
{
    folder.addRace({ { "ad_lauf", "Fällig" },
                     { "ad_lauf_datum", "01.03.2027" },
                     { "ad_alarm_jn", "Ja" },
                     { "ad_alarm_datum", "08.12.2026" } });
    folder.addRace({ { "ad_lauf", "Nie" },
                     { "ad_lauf_datum", "01.04.2027" },
                     { "ad_alarm_jn", "Ja" },
                     { "ad_alarm_datum", "01.01.1900" } });
    folder.addRace({ { "ad_lauf", "Klein ja" },
                     { "ad_lauf_datum", "01.05.2027" },
                     { "ad_alarm_jn", "ja" },
                     { "ad_alarm_datum", "01.12.2026" } });
    ASSERT_TRUE(start());

    EXPECT_EQ(shownRaces(), (QStringList { "Fällig" }));
    EXPECT_TRUE(window->reminderShown());
    EXPECT_EQ(gridHeight(), tw(4000));
    EXPECT_EQ(headline(),
              QStringLiteral("Alle Läufe, für die an eine Bezahlung erinnert werden "
                             "soll. Fristen laufen eventuell ab!"));
    EXPECT_TRUE(find<QCheckBox>("ad_check1(0)")->isChecked());

    // The first filter action leaves the reminder list for good.
    QTest::mouseClick(find<QCheckBox>("ad_check1(1)"), Qt::LeftButton);
    EXPECT_FALSE(window->reminderShown());
    EXPECT_EQ(gridHeight(), tw(6200));
    EXPECT_EQ(headline(), QStringLiteral("Alle Läufe"));
    EXPECT_EQ(shownRaces().size(), 3);
}

TEST_F(MainWindowTest, FilterControlsRebuildListAndHeadline)
{
    folder.addRace({ { "ad_lauf", "Gelaufen" },
                     { "ad_lauf_datum", "01.06.2026" },
                     { "ad_gelaufen_jn", "Ja" } });
    folder.addRace(
        { { "ad_lauf", "Angemeldet" }, { "ad_lauf_datum", "01.06.2027" }, { "ad_ang_jn", true } });
    ASSERT_TRUE(start());
    EXPECT_EQ(shownRaces(), (QStringList { "Angemeldet" }));

    // "bereits gelaufene" ticks "vergangene Läufe" too; both ticked means all dates.
    clickOption(3);
    EXPECT_TRUE(find<QCheckBox>("ad_check1(0)")->isChecked());
    EXPECT_TRUE(find<QCheckBox>("ad_check1(1)")->isChecked());
    EXPECT_EQ(headline(), QStringLiteral("Alle Läufe, die gelaufen wurden"));
    EXPECT_EQ(shownRaces(), (QStringList { "Gelaufen" }));

    QTest::mouseClick(find<QCheckBox>("ad_check1(1)"), Qt::LeftButton);
    EXPECT_EQ(headline(), QStringLiteral("Alle zukünftigen Läufe, die gelaufen wurden"));
    EXPECT_TRUE(shownRaces().isEmpty());

    clickOption(1);
    EXPECT_EQ(headline(),
              QStringLiteral("Alle zukünftigen Läufe, für die eine Anmeldung erfolgt ist"));
    EXPECT_EQ(shownRaces(), (QStringList { "Angemeldet" }));

    // Options 0 and 4 leave the check boxes alone.
    QTest::mouseClick(find<QCheckBox>("ad_check1(0)"), Qt::LeftButton);
    clickOption(0);
    EXPECT_FALSE(find<QCheckBox>("ad_check1(0)")->isChecked());
    EXPECT_EQ(headline(), QStringLiteral("Alle Läufe"));
    EXPECT_EQ(shownRaces(), (QStringList { "Angemeldet", "Gelaufen" }));
    EXPECT_FALSE(find<QCheckBox>("ad_check1(2)")->isVisible());
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(MainWindowTest, StartScreenOpensForMarkedRacesAndCanEndTheProgram)
{
    folder.addRace(
        { { "ad_lauf", "Heute" }, { "ad_lauf_datum", "08.12.2026" }, { "ad_startbild_jn", true } });
    folder.addRace({ { "ad_lauf", "Gestern" },
                     { "ad_lauf_datum", "07.12.2026" },
                     { "ad_startbild_jn", true } });
    QString shownName;
    ui.onModal = [&](QDialog &dialog) {
        shownName = dialog.findChild<QLabel *>("st_l_laufname")->text();
        QTest::mouseClick(dialog.findChild<QWidget *>("Command3"), Qt::LeftButton);
        return dialog.result();
    };
    EXPECT_FALSE(start());
    EXPECT_EQ(ui.modalWindows, QStringList { "Start_Form" });
    EXPECT_EQ(shownName, "Heute");
    EXPECT_TRUE(ui.quitRequested);
}

TEST_F(MainWindowTest, MissingDatabaseIsReportedAndTheWindowOpensEmpty)
{
    QFile::remove(folder.dbPath());
    ASSERT_TRUE(start());
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].text.endsWith(" 3024")) << ui.messages[0].text.toStdString();
    EXPECT_EQ(ui.messages[0].title, "Strivo");
    EXPECT_FALSE(QFile::exists(folder.dbPath()));
    EXPECT_EQ(shownRaces(), QStringList());
}

TEST_F(MainWindowTest, GridKeepsItsColumnsAndColoursWhenAStartUpStepFails)
{
    folder.addRace({ { "ad_lauf", "Stadtlauf" }, { "ad_lauf_datum", "31.12.2026" } });
    // A folder in the place of the compaction target cannot be deleted: the start-up stops there.
    ASSERT_TRUE(QDir(folder.path()).mkpath("Strivo-DB_compact.mdb/belegt"));
    ASSERT_TRUE(start());
    ASSERT_EQ(ui.messages.size(), 1);

    // The list the user then asks for shows under the usual columns, in the usual colours.
    clickOption(0);
    EXPECT_EQ(shownRaces(), QStringList { "Stadtlauf" });
    auto *grid = find<QTableView>("DBGrid1");
    ASSERT_EQ(grid->model()->columnCount(), 9);
    EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), "Datum");
    EXPECT_EQ(grid->model()->headerData(8, Qt::Horizontal).toString(), "Zeit");
    EXPECT_EQ(grid->columnWidth(3), tw(3300));
    EXPECT_EQ(grid->palette().color(QPalette::Base), QColor(0, 128, 255));
    EXPECT_EQ(grid->palette().color(QPalette::Text), QColor(Qt::white));
}
