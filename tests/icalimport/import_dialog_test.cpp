// SPDX-License-Identifier: GPL-3.0-or-later
// The dialog "Läufe aus Kalenderdatei" as the user drives it from the main window's menu.
#include "IcsText.h"
#include "MainWindowFixture.h"
#include "icalimport/CalendarImportCommand.h"
#include "icalimport/CalendarImportDialog.h"
#include "ui/ListGrid.h"

#include <QAction>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {
struct CalendarImportTest : MainWindowFixture
{
    void SetUp() override
    {
        // The user's zone is the system's; these runs live in Berlin.
        oldZone = qgetenv("TZ");
        qputenv("TZ", "Europe/Berlin");
        folder.addRace({ { "ad_lauf", "Köln-Marathon" }, { "ad_lauf_datum", "03.10.2027" } });
        path = folder.file("Vereinskalender.ics");
        writeFile(ics(
            vevent("1", "DTSTART;VALUE=DATE:20271003", "SUMMARY:köln-marathon\n")
            + vevent("2", "DTSTART;TZID=Europe/Berlin:20270501T093000",
                     "SUMMARY:Maibocklauf\nLOCATION:Einbeck\\, Markt\n")
            + vevent("3", "DTSTART;VALUE=DATE:20260301", "SUMMARY:Frühjahrslauf\n")
            + vevent("4", "DTSTART;VALUE=DATE:20270601", "SUMMARY:Abgesagt\nSTATUS:CANCELLED\n")));
        ui.fileAnswers.push_back({ true, path, 1 });
    }
    void TearDown() override
    {
        if (oldZone.isEmpty())
            qunsetenv("TZ");
        else
            qputenv("TZ", oldZone);
    }
    void writeFile(const QByteArray &bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // "ticked | Datum | Zeit | Lauf | Ort | Hinweis" of every row, as the grid's model gives them.
    static QStringList rows(ListGrid &grid)
    {
        const QAbstractItemModel &m = grid.listModel();
        QStringList out;
        for (int r = 0; r < m.rowCount(); ++r) {
            QStringList cells { m.index(r, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked
                                    ? QStringLiteral("[x]")
                                    : QStringLiteral("[ ]") };
            for (int c = 1; c < m.columnCount(); ++c)
                cells << m.index(r, c).data().toString();
            out << cells.join(QStringLiteral(" | "));
        }
        return out;
    }
    QString path;
    QByteArray oldZone;
};
} // namespace

TEST_F(CalendarImportTest, ListsTheEventsTicksOneMoreAndTakesThemOverFromTheMenu)
{
    start();
    QAction *action = window->findChild<QAction *>("m_kalender_uebernehmen");
    ASSERT_TRUE(action);
    EXPECT_EQ(action->text(), QStringLiteral("Läufe aus &Kalenderdatei übernehmen (iCalendar)..."));
    ui.onModal = [&](QDialog &d) {
        auto &dialog = dynamic_cast<CalendarImportDialog &>(d);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Läufe aus Kalenderdatei"));
        ListGrid &grid = *dialog.grid();
        EXPECT_EQ(grid.listModel().headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
                  QStringLiteral("übernehmen"));
        EXPECT_EQ(rows(grid),
                  QStringList({ "[ ] | 01.03.2026, So |  | Frühjahrslauf |  | vergangen",
                                "[x] | 01.05.2027, Sa | 09:30 | Maibocklauf | Einbeck | ",
                                "[ ] | 03.10.2027, So |  | köln-marathon |  | schon vorhanden" }));
        // Only the tick column is checkable, so screen readers announce a tick box there.
        EXPECT_TRUE(grid.listModel().flags(grid.listModel().index(0, 0)) & Qt::ItemIsUserCheckable);
        EXPECT_FALSE(grid.listModel().flags(grid.listModel().index(0, 3))
                     & Qt::ItemIsUserCheckable);
        // The space bar ticks the past race too.
        grid.setFocus();
        grid.setCurrentRow(0);
        QTest::keyClick(&grid, Qt::Key_Space);
        EXPECT_TRUE(rows(grid)[0].startsWith(QStringLiteral("[x]")));
        QTest::mouseClick(dialog.findChild<QPushButton *>("ki_c_uebernehmen"), Qt::LeftButton);
        return dialog.result();
    };
    action->trigger();

    EXPECT_EQ(ui.messageTexts().last(),
              QStringLiteral("2 Läufe wurden als vorgemerkte Läufe übernommen.\nNicht übernommen: "
                             "1 schon vorhanden, 1 abgesagt."));
    EXPECT_EQ(ui.fileRequests[0].filter,
              QStringLiteral("Kalenderdateien|*.ics;*.ical;*.ifb|Alle Dateien|*"));
    EXPECT_FALSE(
        folder.firstRow("select * from adressen where ad_lauf = ?", "Frühjahrslauf").isEmpty());
    // The main list is read again: the new future race is listed.
    ListGrid *list = window->findChild<ListGrid *>("DBGrid1");
    QStringList names;
    for (int r = 0; r < list->listModel().rowCount(); ++r)
        for (int c = 0; c < list->listModel().columnCount(); ++c)
            names << list->listModel().index(r, c).data().toString();
    EXPECT_TRUE(names.contains(QStringLiteral("Maibocklauf"))) << names.join(',').toStdString();
    // Grids without tick boxes stay as they were.
    EXPECT_FALSE(list->listModel().flags(list->listModel().index(0, 0)) & Qt::ItemIsUserCheckable);
}

TEST_F(CalendarImportTest, EscapeAndAbbrechenAddNothing)
{
    const long long races = folder.count("adressen");
    for (const bool escape : { true, false }) {
        ui.fileAnswers.push_back({ true, path, 1 });
        ui.onModal = [&](QDialog &d) {
            if (escape)
                QTest::keyClick(&d, Qt::Key_Escape);
            else
                QTest::mouseClick(d.findChild<QPushButton *>("ki_c_abbrechen"), Qt::LeftButton);
            EXPECT_FALSE(d.isVisible());
            return d.result();
        };
        EXPECT_FALSE(importCalendarCommand(ctx));
    }
    EXPECT_EQ(folder.count("adressen"), races);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(CalendarImportTest, BadFilesGetAMessageAndNoDialog)
{
    const struct
    {
        QByteArray bytes;
        const char *says;
    } cases[] = {
        { "", "Die Datei ist leer." },
        { "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:1\r\nSUMMA",
          "Die Kalenderdatei ist unvollständig: Sie endet mitten im Kalender (END:VCALENDAR "
          "fehlt). Vielleicht wurde sie nicht ganz geladen." },
    };
    ui.fileAnswers.clear();
    for (const auto &c : cases) {
        writeFile(c.bytes);
        ui.fileAnswers.push_back({ true, path, 1 });
        EXPECT_FALSE(importCalendarCommand(ctx));
        EXPECT_EQ(ui.messages.last().text, QString::fromUtf8(c.says));
        EXPECT_EQ(ui.messages.last().icon, Ui::Icon::Warning);
    }
    EXPECT_TRUE(ui.modalWindows.isEmpty());
}

TEST_F(CalendarImportTest, NamesTheSkippedEventsBeforeOfferingTheGoodOnes)
{
    ui.fileAnswers.clear();
    writeFile(ics(vevent("1", "DTSTART;VALUE=DATE:20270501", "SUMMARY:Guter Lauf\n")
                  + vevent("2", "DTSTART:2027", "SUMMARY:Schlechter Lauf\n")));
    ui.fileAnswers.push_back({ true, path, 1 });
    ui.onModal = [&](QDialog &d) {
        QTest::mouseClick(d.findChild<QPushButton *>("ki_c_uebernehmen"), Qt::LeftButton);
        return d.result();
    };
    EXPECT_TRUE(importCalendarCommand(ctx));
    EXPECT_EQ(ui.messageTexts(),
              QStringList({ "1 Termin der Kalenderdatei ist fehlerhaft und wird nicht "
                            "angeboten:\nZeile 9 („Schlechter Lauf“): DTSTART ohne gültiges Datum",
                            "1 Lauf wurde als vorgemerkter Lauf übernommen.\nNicht übernommen: 1 "
                            "fehlerhaft." }));
}
