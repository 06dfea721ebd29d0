// Faulty starts, each run in a child process: a crash, a full disk, a locked file, a read-only
// folder. Afterwards every race is still there, or the start was refused and nothing changed.
#include "DbError.h"
#include "MaintenanceFixture.h"
#include "Sqlite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Lets the process write files only up to `bytes`, as a nearly full disk would.
std::function<void()> diskFullAfter(qint64 bytes)
{
    return [bytes] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit { rlim_t(bytes), rlim_t(bytes) };
        ::setrlimit(RLIMIT_FSIZE, &limit);
    };
}

MaintenanceHook diskFullAt(const QByteArray &point, qint64 bytes)
{
    return [point, bytes](const char *reached) {
        if (point == reached)
            diskFullAfter(bytes)();
    };
}

// The state after a fault: up to two more starts bring back a sound folder with every race.
void expectRecovered(const RaceFolder &f, const QStringList &content)
{
    EXPECT_EQ(emptyFiles(f.folder.path()), QStringList());
    EXPECT_EQ(integrityOf(f.paths.mainFile), "ok");
    EXPECT_EQ(dumpContent(f.paths.mainFile), content);
    ChildStart next;
    for (int start = 0; start < 2 && !next.succeeded(); ++start)
        next = startInChild(f.paths);
    ASSERT_TRUE(next.succeeded()) << next.description.toStdString();
    EXPECT_EQ(dumpContent(f.paths.mainFile), content);
    EXPECT_EQ(dumpContent(f.paths.backupFile), content);
    EXPECT_EQ(bytesOf(f.paths.compactFile), bytesOf(f.paths.mainFile));
    EXPECT_EQ(integrityOf(f.paths.mainFile), "ok");
    EXPECT_EQ(emptyFiles(f.folder.path()), QStringList());
    EXPECT_EQ(QDir(f.folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 3)
        << QDir(f.folder.path()).entryList(QDir::Files | QDir::Hidden).join(u' ').toStdString();
}

// A folder after a good start, with one race added since, so that the copies are out of date;
// or one that has never been started.
struct UsedFolder : RaceFolder
{
    explicit UsedFolder(bool startedBefore = true)
    {
        if (startedBefore)
            runStartupMaintenance(paths);
        folder.addRace({ { "ad_lauf", "Nachgetragener Lauf" }, { "ad_lauf_datum", "01.05.2028" } });
        content = dumpContent(paths.mainFile);
    }
    QStringList content;
};

} // namespace

TEST(StartupFaults, KilledBeforeOrAfterAnyFileOperation)
{
    QStringList points;
    {
        RaceFolder f;
        runStartupMaintenance(f.paths, [&](const char *point) { points << point; });
    }
    // Repair, copy, delete the old target, compact, copy back: in this order.
    EXPECT_EQ(points.join(u' '),
              "repair:before repair:after backup:before backup:written backup:after "
              "remove-compact:before remove-compact:after compact:before compact:written "
              "compact:after replace-main:before replace-main:written replace-main:after");
    for (const QString &point : points) {
        SCOPED_TRACE(point.toStdString());
        for (const bool firstStart : { true, false }) {
            SCOPED_TRACE(firstStart ? "first start" : "later start");
            UsedFolder f(!firstStart);
            const ChildStart killed = startInChild(f.paths, {}, dieAt(point.toLatin1()));
            EXPECT_FALSE(killed.finished);
            EXPECT_EQ(killed.exitCode, killedExitCode);
            expectRecovered(f, f.content);
        }
    }
}

TEST(StartupFaults, JournalOfAnEditCutShortIsRolledBack)
{
    UsedFolder f;
    const QString journal = f.paths.mainFile + "-journal";
    crashDuringEdit(f.paths.mainFile);
    ASSERT_GT(QFileInfo(journal).size(), 0);
    ASSERT_NE(bytesOf(f.paths.backupFile), bytesOf(f.paths.mainFile));

    const ChildStart start = startInChild(f.paths);
    EXPECT_TRUE(start.succeeded()) << start.description.toStdString();
    EXPECT_FALSE(QFile::exists(journal));
    expectRecovered(f, f.content);
}

TEST(StartupFaults, RacesOnlyInTheWriteAheadLogOfACrashedProgramAreKept)
{
    UsedFolder f(false);
    const pid_t writer = ::fork();
    if (writer == 0) {
        try {
            SqliteDb db(f.paths.mainFile, SqliteDb::Open::ReadWrite);
            db.exec("pragma journal_mode = wal; pragma wal_autocheckpoint = 0; "
                    "insert into adressen (ad_lauf) values ('Nur im Protokoll');");
            ::_exit(0); // no checkpoint: the race is in the -wal file alone
        } catch (...) {
        }
        ::_exit(1);
    }
    int status = 0;
    ::waitpid(writer, &status, 0);
    ASSERT_GT(QFileInfo(f.paths.mainFile + "-wal").size(), 0);

    ASSERT_NO_THROW(runStartupMaintenance(f.paths));
    const QStringList content = dumpContent(f.paths.mainFile);
    EXPECT_TRUE(content.join(u'\n').contains("Nur im Protokoll"));
    EXPECT_EQ(content.size(), f.content.size() + 1);
    EXPECT_FALSE(QFile::exists(f.paths.mainFile + "-wal"));
    // Back in rollback-journal mode, so that no -wal file will stand beside it again.
    EXPECT_EQ(bytesOf(f.paths.mainFile).mid(18, 2), QByteArray("\x01\x01"));
    expectRecovered(f, content);
}

TEST(StartupFaults, DiskFullWhileCopyingOrCompacting)
{
    struct Case
    {
        const char *point;
        qint64 limit;
        bool mainFileRewritten; // the failure comes after the backup was made
    };
    for (const Case &c :
         { Case { "backup:before", 100'000, false }, Case { "compact:before", 60'000, true },
           Case { "replace-main:before", 100'000, true } }) {
        SCOPED_TRACE(c.point);
        UsedFolder f;
        ASSERT_GT(QFileInfo(f.paths.mainFile).size(), 2 * c.limit);
        const QByteArray main = bytesOf(f.paths.mainFile);
        const QByteArray backup = bytesOf(f.paths.backupFile);

        const ChildStart start = startInChild(f.paths, {}, diskFullAt(c.point, c.limit));
        ASSERT_TRUE(start.finished);
        EXPECT_TRUE(start.number == ErrNo::DiskFull || start.number == ErrNo::DiskError)
            << start.number << start.description.toStdString();
        EXPECT_TRUE(start.description.contains("Die Datenbankdatei bleibt unverändert"))
            << start.description.toStdString();
        EXPECT_EQ(bytesOf(f.paths.mainFile), main);
        if (!c.mainFileRewritten)
            EXPECT_EQ(bytesOf(f.paths.backupFile), backup);
        else
            EXPECT_EQ(bytesOf(f.paths.backupFile), main);
        expectRecovered(f, f.content);
    }
}

TEST(StartupFaults, CompactionThatLostItsRacesNeverReplacesTheMainFile)
{
    UsedFolder f;
    const QByteArray main = bytesOf(f.paths.mainFile);
    // What a compaction cut short can leave: a sound database with the tables but no rows.
    const auto emptyTarget = [&](const char *point) {
        if (QByteArray(point) != "compact:written")
            return;
        QFile::remove(f.paths.compactFile);
        SqliteDb db(f.paths.compactFile, SqliteDb::Open::Create);
        QFile schema(TestFolder::sourceDir() + "/db/schema.sql");
        if (schema.open(QIODevice::ReadOnly))
            db.exec(schema.readAll().toStdString());
    };
    const ChildStart start = startInChild(f.paths, {}, emptyTarget);
    ASSERT_TRUE(start.finished);
    EXPECT_EQ(start.number, ErrNo::DatabaseCorrupt);
    EXPECT_TRUE(start.description.contains("Läufe")) << start.description.toStdString();
    EXPECT_EQ(bytesOf(f.paths.mainFile), main);
    EXPECT_FALSE(QFile::exists(f.paths.compactFile));
    expectRecovered(f, f.content);
}

TEST(StartupFaults, FileLockedByAnotherProcess)
{
    UsedFolder f;
    const auto files = filesIn(f.folder.path());
    int ready[2], release[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(release), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        ::close(ready[0]);
        ::close(release[1]);
        try {
            SqliteDb db(f.paths.mainFile, SqliteDb::Open::ReadWrite);
            db.exec("begin exclusive");
            char c = 1;
            (void)!::write(ready[1], &c, 1);
            (void)!::read(release[0], &c, 1);
        } catch (...) {
        }
        ::_exit(0);
    }
    ::close(ready[1]);
    ::close(release[0]);
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);

    const ChildStart start = startInChild(f.paths);
    EXPECT_EQ(start.number, ErrNo::FileInUse) << start.description.toStdString();
    EXPECT_TRUE(start.description.contains("anderen Programm")) << start.description.toStdString();
    EXPECT_EQ(filesIn(f.folder.path()), files);

    ::close(release[1]);
    int status = 0;
    ::waitpid(holder, &status, 0);
    ::close(ready[0]);
    expectRecovered(f, f.content);
}

TEST(StartupFaults, ReadOnlyProgramFolder)
{
    UsedFolder f;
    const QString dir = f.folder.path();
    const auto files = filesIn(dir);
    ASSERT_EQ(::chmod(QFile::encodeName(dir).constData(), 0555), 0);
    for (const QString &name : files.keys())
        ::chmod(QFile::encodeName(dir + u'/' + name).constData(), 0644);
    // Root may write anyway: the start runs as an ordinary user then.
    const auto asOrdinaryUser = [] {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(3);
    };
    const pid_t probe = ::fork();
    if (probe == 0) {
        asOrdinaryUser();
        ::_exit(::access(QFile::encodeName(f.paths.mainFile).constData(), R_OK) == 0 ? 0 : 4);
    }
    int status = 0;
    ::waitpid(probe, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        ::chmod(QFile::encodeName(dir).constData(), 0700);
        GTEST_SKIP() << "no ordinary user who can read the temporary folder";
    }
    for (int start = 0; start < 3; ++start) {
        const ChildStart result = startInChild(f.paths, asOrdinaryUser);
        ASSERT_TRUE(result.finished) << "exit code " << result.exitCode;
        EXPECT_EQ(result.number, ErrNo::CannotOpenFile) << result.description.toStdString();
        EXPECT_TRUE(result.description.contains("schreibgeschützt"))
            << result.description.toStdString();
        EXPECT_EQ(filesIn(dir), files);
    }
    ASSERT_EQ(::chmod(QFile::encodeName(dir).constData(), 0700), 0);
    expectRecovered(f, f.content);
}
