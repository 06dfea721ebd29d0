// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up takeover of an Access file brought along as the database, and the menu command.
#include "ProgramFixture.h"
#include "RaceLogSource.h"
#include "TestFolder.h"
#include "accessimport/AccessImport.h"
#include "common/DbError.h"
#include "context/AppContext.h"
#include "data/PickListStore.h"
#include "data/Sqlite.h"
#include "jet/AccessTakeover.h"
#include "racelist/RaceListWindow.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QStringList sourceSqlFiles()
{
    return { TestFolder::sourceDir() + "/db/schema.sql", TestFolder::sourceDir() + "/db/seed.sql" };
}

long long races(const QString &db)
{
    SqliteDb file(db, SqliteDb::Open::ReadOnly);
    return file.scalar("select count(*) from adressen").toLongLong();
}

struct TakeoverTest : ::testing::Test
{
    QTemporaryDir folder;
    QString mainFile = folder.path() + "/Strivo-DB.mdb";
    QByteArray access;
    RaceLogSource source;
    FakeUi ui;
    FixedClock clock { QDateTime(QDate(2026, 12, 8), QTime(9, 30)) };
    AppContext ctx { ui, clock, folder.path() };

    void SetUp() override
    {
        writeAccessSignature(mainFile);
        access = bytesOf(mainFile);
        source.add("adressen", { { "ad_nummer", 3 }, { "ad_lauf", "Rennsteiglauf" } });
        source.add("adressen", { { "ad_nummer", 4 }, { "ad_lauf", "Brockenlauf" } });
        source.add("aw_lauf", { { "lauf", "Rennsteiglauf" } });
    }
};

} // namespace

TEST_F(TakeoverTest, YesMakesANewDatabaseBesideTheUnchangedAccessFile)
{
    ui.answers = { Ui::Answer::Yes };
    offerAccessTakeover(ctx, source.opener());

    ASSERT_GE(ui.messages.size(), 2) << ui.messageTexts().join('\n').toStdString();
    const FakeUi::Message &question = ui.messages[0];
    EXPECT_EQ(question.icon, Ui::Icon::Question);
    EXPECT_EQ(question.buttons, Ui::Buttons::YesNo);
    EXPECT_TRUE(question.text.endsWith(" ?"));
    EXPECT_TRUE(question.text.contains("Strivo-DB_Access.mdb"));
    EXPECT_TRUE(ui.messages[1].text.contains("2 Läufe neu hinzugefügt"));
    EXPECT_EQ(ui.messages[1].icon, Ui::Icon::Information);

    EXPECT_EQ(bytesOf(folder.path() + "/Strivo-DB_Access.mdb"), access);
    EXPECT_EQ(races(mainFile), 2);
    TestFolder fresh(TestFolder::Content::Seeded); // the starter content is there too
    EXPECT_EQ(SqliteDb(mainFile, SqliteDb::Open::ReadOnly)
                  .scalar("select count(*) from aw_plzort")
                  .toLongLong(),
              fresh.count("aw_plzort"));
    EXPECT_EQ(filesIn(folder.path()), (QStringList { "Strivo-DB.mdb", "Strivo-DB_Access.mdb" }));
}

TEST_F(TakeoverTest, AnAccessNameInUseIsKeptAndTheFileGetsANumber)
{
    QFile other(folder.path() + "/Strivo-DB_Access.mdb");
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("eine andere Datei");
    other.close();

    const TakeoverResult result = takeOverAccessFile(mainFile, sourceSqlFiles(), source.opener());

    EXPECT_EQ(result.accessFile, folder.path() + "/Strivo-DB_Access_2.mdb");
    EXPECT_EQ(bytesOf(folder.path() + "/Strivo-DB_Access.mdb"), "eine andere Datei");
    EXPECT_EQ(bytesOf(result.accessFile), access);
}

TEST_F(TakeoverTest, NoLeavesEverythingAsItWas)
{
    ui.answers = { Ui::Answer::No };
    offerAccessTakeover(ctx, source.opener());
    EXPECT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(bytesOf(mainFile), access);
    EXPECT_EQ(filesIn(folder.path()), QStringList { "Strivo-DB.mdb" });
}

TEST_F(TakeoverTest, AFileThatCannotBeTakenOverChangesNothing)
{
    source.dropTable("adressen");
    EXPECT_THROW(takeOverAccessFile(mainFile, sourceSqlFiles(), source.opener()), DbError);
    EXPECT_EQ(bytesOf(mainFile), access);
    EXPECT_EQ(filesIn(folder.path()), QStringList { "Strivo-DB.mdb" });
}

// The process ends at each step; what is left is the Access file under its old name, or the
// complete new database beside the renamed Access file; a further start finishes the work.
TEST_F(TakeoverTest, AnInterruptionAtAnyStepLeavesOneOfTheTwoSoundStates)
{
    for (const char *point : { "made", "imported", "linked", "renamed" }) {
        SCOPED_TRACE(point);
        QDir(folder.path()).removeRecursively();
        QDir().mkpath(folder.path());
        writeAccessSignature(mainFile);
        const pid_t child = ::fork();
        if (child == 0) {
            takeOverAccessFile(mainFile, sourceSqlFiles(), source.opener(), [&](const char *p) {
                if (QByteArray(p) == point)
                    ::_exit(0);
            });
            ::_exit(1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        if (bytesOf(mainFile) == access) {
            EXPECT_NE(QByteArray(point), "renamed");
            const TakeoverResult again
                = takeOverAccessFile(mainFile, sourceSqlFiles(), source.opener());
            EXPECT_EQ(again.accessFile, folder.path() + "/Strivo-DB_Access.mdb");
        }
        EXPECT_EQ(races(mainFile), 2);
        EXPECT_EQ(bytesOf(folder.path() + "/Strivo-DB_Access.mdb"), access);
        EXPECT_EQ(filesIn(folder.path()),
                  (QStringList { "Strivo-DB.mdb", "Strivo-DB_Access.mdb" }));
    }
}

namespace {
struct AccessMenu : ProgramTest
{
    RaceListWindow window { ctx };

    void SetUp() override { ASSERT_TRUE(window.load()); }
};
} // namespace

TEST_F(AccessMenu, TakesRacesOverIntoTheOpenDatabaseAndSaysWhat)
{
    RaceLogSource source;
    source.add(
        "adressen",
        { { "ad_nummer", 1 }, { "ad_lauf", "Rennsteiglauf" }, { "ad_lauf_datum", "20.05.2027" } });
    source.add("aw_strasse", { { "strasse", "Hauptstraße" } });
    Ui::FileAnswer chosen;
    chosen.accepted = true;
    chosen.fileName = folder.file("alt.mdb");
    ui.fileAnswers = { chosen, chosen };

    EXPECT_TRUE(importAccessFile(ctx, source.opener()));
    EXPECT_FALSE(importAccessFile(ctx, source.opener())); // the same file again adds nothing

    ASSERT_EQ(ui.fileRequests.size(), 2);
    EXPECT_EQ(ui.fileRequests[0].filter, "Access-Datenbank|*.mdb");
    ASSERT_EQ(ui.messages.size(), 2);
    EXPECT_TRUE(ui.messages[0].text.contains("1 Läufe neu hinzugefügt"));
    EXPECT_TRUE(ui.messages[1].text.contains("1 Läufe waren bereits vorhanden"));
    EXPECT_EQ(folder.count("adressen"), 1);
    // The next editor offers the street taken over.
    QStringList streets;
    for (const PickListEntry &entry : PickListStore(folder.dbPath()).entries(PickList::Street))
        streets << entry.text;
    EXPECT_TRUE(streets.contains(QStringLiteral("Hauptstraße"))) << streets.join('|').toStdString();
    EXPECT_FALSE(ui.busyNow);
}

TEST_F(AccessMenu, TheMenuItemRefusesAFileThatIsNoAccessFile)
{
    const QByteArray before = bytesOf(folder.dbPath());
    Ui::FileAnswer chosen;
    chosen.accepted = true;
    chosen.fileName = folder.dbPath(); // our own database is no Access file
    ui.fileAnswers = { chosen };

    auto *item = window.findChild<QAction *>("m_access_uebernehmen");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QStringLiteral("Läufe aus Access-Datei übernehmen..."));
    item->trigger();

    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].text.contains("keine Access-Datenbank"));
    EXPECT_EQ(bytesOf(folder.dbPath()), before);
}
