#include "CalendarReader.h"
#include "MainWindowFixture.h"
#include "icalexport/CalendarExportCommand.h"
#include "ui/QtUi.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <unistd.h>

namespace {
struct CalendarCommandTest : MainWindowFixture
{
    void SetUp() override
    {
        Race race;
        race.name = QStringLiteral("Stadtlauf");
        race.date = StoredDate::fromDate(QDate(2027, 5, 1));
        addRace(race);
        start();
        ui.messages.clear();
    }
    void choose(const QString &path) { ui.fileAnswers.push_back({ true, path, 1 }); }
    QStringList exportFolder() const
    {
        QStringList names
            = QDir(folder.file("Export")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        names.sort();
        return names;
    }
    QAction *menuItem() const { return window->findChild<QAction *>("m_termine"); }
};

QChar accessKey(const QString &text)
{
    const qsizetype at = text.indexOf(u'&');
    return at >= 0 && at + 1 < text.size() ? text.at(at + 1).toLower() : QChar();
}
} // namespace

TEST_F(CalendarCommandTest, MenuItemStandsAboveQuitWithItsOwnAccessKey)
{
    auto *datei = window->findChild<QMenu *>("m_datei");
    ASSERT_NE(datei, nullptr);
    const QList<QAction *> items = datei->actions();
    ASSERT_GE(items.size(), 2);
    const qsizetype at = items.indexOf(menuItem());
    ASSERT_GE(at, 0);
    EXPECT_EQ(items.at(at + 1)->objectName(), "m_ende");
    EXPECT_EQ(menuItem()->text(), "&Termine exportieren (iCalendar)...");
    // No other menu entry, menu title or button of the window uses the same key.
    QList<QString> texts;
    for (QAction *a : window->menuBar()->actions())
        texts << a->text();
    for (QAction *a : items)
        texts << a->text();
    for (QAbstractButton *b : window->findChildren<QAbstractButton *>())
        texts << b->text();
    EXPECT_EQ(texts.count(menuItem()->text()), 1);
    for (const QString &t : texts) {
        if (t != menuItem()->text()) {
            EXPECT_NE(accessKey(t), QChar(u't')) << t.toStdString();
        }
    }
}

TEST_F(CalendarCommandTest, SaveDialogReplacesTheFileAndReportsTheCounts)
{
    QFile old(folder.file("Export/Termine.ics"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("alt");
    old.close();
    choose(folder.file("Export/Termine")); // typed without extension
    menuItem()->trigger();

    ASSERT_EQ(ui.fileRequests.size(), 1);
    const Ui::FileRequest &request = ui.fileRequests.first();
    EXPECT_EQ(request.title, "Speichern unter");
    EXPECT_EQ(request.initialDir, ctx.paths.exportFolder());
    EXPECT_EQ(request.fileName, "Strivo-Termine.ics");
    EXPECT_EQ(request.filter, "iCalendar|*.ics");
    EXPECT_TRUE(request.confirmOverwrite);
    EXPECT_EQ(request.defaultSuffix, "ics");

    EXPECT_EQ(exportFolder(), QStringList { "Termine.ics" }); // replaced, no temporary left
    EXPECT_EQ(readCalendar(folder.file("Export/Termine.ics")).events.size(), 1);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages.first().text,
              "1 Termin für 1 Lauf exportiert; 0 Läufe ohne gültiges Datum übersprungen.");
    EXPECT_EQ(ui.messages.first().icon, Ui::Icon::Information);
    EXPECT_FALSE(ui.busyNow);

    ui.messages.clear();
    menuItem()->trigger(); // cancelled
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(exportFolder(), QStringList { "Termine.ics" });
}

TEST_F(CalendarCommandTest, AFolderThatCannotTakeTheFileGivesTheErrorBoxAndLeavesNoFile)
{
    struct Case
    {
        const char *what;
        QString path;
    };
    QList<Case> cases { { "missing folder", folder.file("Export/fehlt/Termine.ics") } };
    // A folder of that name where the file should go: the rename into place fails.
    ASSERT_TRUE(QDir(folder.file("Export")).mkdir("Ordner.ics"));
    cases.append({ "name taken by a folder", folder.file("Export/Ordner.ics") });
    const QString locked = folder.file("Export/gesperrt");
    ASSERT_TRUE(QDir().mkdir(locked));
    ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    if (::geteuid() != 0) // the superuser writes everywhere
        cases.append({ "read-only folder", locked + "/Termine.ics" });

    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ui.messages.clear();
        choose(c.path);
        menuItem()->trigger();
        ASSERT_EQ(ui.messages.size(), 1);
        const FakeUi::Message &box = ui.messages.first();
        EXPECT_EQ(box.title, "Strivo");
        EXPECT_TRUE(box.text.contains(QStringLiteral("Termine.ics"))
                    || box.text.contains(QStringLiteral("Ordner.ics"))
                    || box.text.contains(QStringLiteral("fehlt")))
            << box.text.toStdString();
        // The standard error box: description, a blank and the error number.
        EXPECT_TRUE(QRegularExpression(QStringLiteral("[^ ] \\d+$")).match(box.text).hasMatch());
        EXPECT_FALSE(ui.busyNow);
    }
    QFile::setPermissions(locked,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(exportFolder(), QStringList({ "Ordner.ics", "gesperrt" }));
    EXPECT_TRUE(QDir(folder.file("Export/Ordner.ics")).isEmpty());
    EXPECT_TRUE(QDir(locked).isEmpty());
}

TEST(CalendarSaveDialog, TheRealDialogAsksBeforeReplacingAndAddsTheExtension)
{
    QtUi qtUi;
    QTemporaryDir dir;
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen = true;
        EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(dialog->defaultSuffix(), "ics");
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(dialog->nameFilters(), QStringList { "iCalendar (*.ics)" });
        EXPECT_EQ(QDir(dialog->directory()).absolutePath(), QDir(dir.path()).absolutePath());
        dialog->reject();
    });
    const Ui::FileAnswer answer = qtUi.saveFile(calendarSaveRequest(dir.path()));
    EXPECT_TRUE(seen);
    EXPECT_FALSE(answer.accepted);
}
