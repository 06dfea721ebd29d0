#include "MainWindowFixture.h"
#include "editor/RaceEditor.h"
#include "racelist/RaceExport.h"
#include "ui/ListGrid.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {
struct CommandsTest : MainWindowFixture
{
    void click(const QString &name)
    {
        auto *button = window->findChild<QPushButton *>(name);
        ASSERT_NE(button, nullptr) << name.toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
    }
    QString headline() const { return window->findChild<QLabel *>("h_l_headline")->text(); }
    ListGrid *grid() const { return window->findChild<ListGrid *>("DBGrid1"); }
};
} // namespace

TEST_F(CommandsTest, EditorCommandsHandOverModeAndRaceAndSkipAnEmptyList)
{
    start();
    ASSERT_EQ(window->currentRaceNumber(), std::nullopt);
    for (const char *command : { "db_neu(1)", "db_neu(2)", "db_neu(3)" })
        click(command);
    EXPECT_TRUE(ui.modalWindows.isEmpty());

    const qlonglong later
        = folder.addRace({ { "ad_lauf", "Später" }, { "ad_lauf_datum", "01.06.2027" } });
    const qlonglong number
        = folder.addRace({ { "ad_lauf", "Stadtlauf" }, { "ad_lauf_datum", "01.05.2027" } });
    window->showList();
    // The commands act on the row the user chose.
    grid()->setCurrentRow(1);
    EXPECT_EQ(window->currentRaceNumber(), number);
    struct Seen
    {
        EditorMode mode;
        qlonglong number;
    };
    QList<Seen> seen;
    ui.onModal = [&](QDialog &window) {
        const auto &editor = dynamic_cast<const RaceEditor &>(window);
        seen.append({ editor.mode(), editor.raceNumber() });
        QTest::keyClick(&window, Qt::Key_Escape);
        return int(QDialog::Rejected);
    };
    for (const char *command : { "db_neu(1)", "db_neu(3)", "db_neu(2)", "db_neu(0)" })
        click(command);
    ASSERT_EQ(seen.size(), 4);
    EXPECT_EQ(ui.modalWindows, QStringList(4, "Adressen_Form"));
    // After each cancel the list stands on its first row again.
    EXPECT_EQ(seen[0].mode, EditorMode::Edit);
    EXPECT_EQ(seen[0].number, number);
    EXPECT_EQ(seen[1].mode, EditorMode::Copy);
    EXPECT_NE(seen[1].number, later); // the copy's own number
    EXPECT_NE(seen[1].number, number);
    EXPECT_EQ(seen[2].mode, EditorMode::Delete);
    EXPECT_EQ(seen[2].number, later);
    EXPECT_EQ(seen[3].mode, EditorMode::New);
    // Cancelled new races and copies leave nothing behind; the list keeps its filter.
    EXPECT_EQ(folder.count("adressen"), 2);
    EXPECT_EQ(headline(), QStringLiteral("Alle zukünftigen Läufe"));
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.messageTexts().join('\n').toStdString();
}

TEST_F(CommandsTest, MenuOpensItsWindows)
{
    start();
    for (const char *name : { "m_auswahl", "m_produkte", "m_info" })
        window->findChild<QAction *>(name)->trigger();
    EXPECT_EQ(ui.modalWindows, (QStringList { "Auswahl_Form", "Produkte_Form", "Info_Form" }));
}

TEST_F(CommandsTest, ExportAsksForANameAndWritesAllRaces)
{
    folder.addRace({ { "ad_lauf", "Gelaufen" },
                     { "ad_lauf_datum", "01.05.2027" },
                     { "ad_gelaufen_jn", "Ja" } });
    folder.addRace({ { "ad_lauf", "Offen" }, { "ad_lauf_datum", "01.06.2027" } });
    start();
    grid()->setCurrentRow(1);

    // Cancel: no message, no file.
    click("db_neu(5)");
    ASSERT_EQ(ui.fileRequests.size(), 1);
    const Ui::FileRequest request = ui.fileRequests[0];
    EXPECT_EQ(request.title, "Speichern unter");
    EXPECT_EQ(request.fileName, "Läufe 26-12-08 14-05-09");
    EXPECT_EQ(request.filter, "Excel 97|*.xls");
    EXPECT_EQ(request.initialDir, folder.path() + "/Export/");
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(grid()->currentRow(), 0);

    // 64 characters are refused with the length message; 63 are exported.
    const QString base = folder.path() + "/Export/";
    const QString tooLong = base + QString(64 - base.size(), u'x');
    const QString longest = base + QString(63 - base.size() - 4, u'y') + ".xls";
    ASSERT_EQ(longest.size(), 63) << "temporary folder path too long for this test";
    ui.fileAnswers.push_back({ true, tooLong, 1 });
    click("db_neu(5)");
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text,
              "Der vollständige Export-Dateiname darf nicht länger als 63 Zeichen sein!\n" + tooLong
                  + "\nist  64 Zeichen lang - Bitte wiederholen");
    EXPECT_FALSE(QFileInfo::exists(tooLong));

    // An empty list blocks the export silently although the table holds races.
    window->findChild<QRadioButton *>("h_o_auswahl(4)")->click();
    ASSERT_EQ(grid()->model()->rowCount(), 0);
    click("db_neu(5)");
    EXPECT_EQ(ui.fileRequests.size(), 2); // empty list: silent
    // A filtered list exports every race.
    window->findChild<QRadioButton *>("h_o_auswahl(3)")->click();
    ASSERT_EQ(grid()->model()->rowCount(), 1);
    ui.fileAnswers.push_back({ true, longest, 1 });
    click("db_neu(5)");
    EXPECT_EQ(ui.messages.last().text, "Der Export wurde erfolgreich beendet");
    EXPECT_TRUE(QFileInfo(longest).size() > 0);
    EXPECT_EQ(grid()->currentRow(), 0);

    // An existing file is never replaced.
    const qint64 size = QFileInfo(longest).size();
    ui.fileAnswers.push_back({ true, longest, 1 });
    click("db_neu(5)");
    EXPECT_TRUE(ui.messages.last().text.endsWith(" 58")) << ui.messages.last().text.toStdString();
    EXPECT_EQ(QFileInfo(longest).size(), size);
}

TEST_F(CommandsTest, ExportToANameWithBracketsSaysHowManyCellsWereCut)
{
    const QString note = QString(40000, u'n');
    folder.addRace(
        { { "ad_lauf", "Lang" }, { "ad_lauf_datum", "01.05.2027" }, { "ad_memo", note } });
    folder.addRace({ { "ad_lauf", "Kurz" }, { "ad_lauf_datum", "01.06.2027" } });
    start();
    const QString path = folder.path() + "/Export/Läufe [2026].xls";
    ASSERT_LE(path.size(), kMaxExportPathLength) << "temporary folder path too long for this test";
    ui.fileAnswers.push_back({ true, path, 1 });
    click("db_neu(5)");
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text,
              "Der Export wurde erfolgreich beendet\n\nIn einer Zelle war der Text länger als "
              "die 32.767 Zeichen, die eine Excel-Zelle fasst, und wurde in der Datei gekürzt. In "
              "der Datenbank bleibt er vollständig erhalten.");
    EXPECT_GT(QFileInfo(path).size(), 0);
    EXPECT_EQ(folder.firstRow("select ad_memo from adressen where ad_lauf = ?", "Lang")["ad_memo"],
              note);
    EXPECT_TRUE(exportDoneMessage(2).contains("In 2 Zellen war"));
}
