// SPDX-License-Identifier: GPL-3.0-or-later
// Faulty starts, each run in a child process: a crash, a full disk, a locked file, a read-only
// folder. Afterwards every race is still there, or the start was refused and nothing changed.
#include "MaintenanceFixture.h"
#include "common/DbError.h"
#include "data/Sqlite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
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
    // Repair, delete the old target, copy, compact, the target becomes the main file and is
    // copied again: in this order.
    EXPECT_EQ(points.join(u' '),
              "repair:before repair:after remove-compact:before remove-compact:after "
              "backup:before backup:written backup:after compact:before compact:written "
              "compact:after replace-main:before replace-main:renamed copy-target:written "
              "replace-main:after");
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
            db.runScript("pragma journal_mode = wal; pragma wal_autocheckpoint = 0; "
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
        bool backupRewritten; // the failure comes after the backup was made
        bool mainFileReplaced; // by the checked compaction target, before the failure
    };
    for (const Case &c : { Case { "backup:before", 100'000, false, false },
                           Case { "compact:before", 60'000, true, false },
                           Case { "replace-main:before", 100'000, true, true } }) {
        SCOPED_TRACE(c.point);
        UsedFolder f;
        ASSERT_GT(QFileInfo(f.paths.mainFile).size(), 2 * c.limit);
        const QByteArray main = bytesOf(f.paths.mainFile);
        const QByteArray backup = bytesOf(f.paths.backupFile);

        const ChildStart start = startInChild(f.paths, {}, diskFullAt(c.point, c.limit));
        ASSERT_TRUE(start.finished);
        EXPECT_TRUE(start.number == ErrNo::DiskFull || start.number == ErrNo::DiskError)
            << start.number << start.description.toStdString();
        const char *says = c.mainFileReplaced ? "Die Datenbankdatei ist vollständig"
                                              : "Die Datenbankdatei bleibt unverändert";
        EXPECT_TRUE(start.description.contains(QString::fromUtf8(says)))
            << start.description.toStdString();
        if (!c.mainFileReplaced) {
            EXPECT_EQ(bytesOf(f.paths.mainFile), main);
        }
        EXPECT_EQ(bytesOf(f.paths.backupFile), c.backupRewritten ? main : backup);
        EXPECT_FALSE(QFile::exists(f.paths.compactFile + "-journal"));
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
            db.runScript(schema.readAll().toStdString());
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
    if (!ordinaryUserCanRead(f.paths.mainFile)) {
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

TEST(StartupFaults, WriteProtectedMainFileIsReportedAndLeftAlone)
{
    UsedFolder f;
    const QString dir = f.folder.path();
    const QByteArray main = QFile::encodeName(f.paths.mainFile);
    // The user owns the folder and may replace files in it; only the database is protected.
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(QFile::encodeName(dir).constData(), 65534, 65534), 0);
        for (const QString &name : filesIn(dir).keys())
            ASSERT_EQ(::chown(QFile::encodeName(dir + u'/' + name).constData(), 65534, 65534), 0);
    }
    ASSERT_EQ(::chmod(main.constData(), 0444), 0);
    if (!ordinaryUserCanRead(f.paths.mainFile))
        GTEST_SKIP() << "no ordinary user who can read the temporary folder";
    struct stat before
    {
    };
    ASSERT_EQ(::stat(main.constData(), &before), 0);
    const auto files = filesIn(dir);

    for (int start = 0; start < 2; ++start) {
        const ChildStart result = startInChild(f.paths, asOrdinaryUser);
        ASSERT_TRUE(result.finished) << "exit code " << result.exitCode;
        EXPECT_EQ(result.number, ErrNo::CannotOpenFile) << result.description.toStdString();
        EXPECT_TRUE(result.description.contains("schreibgeschützt"))
            << result.description.toStdString();
        EXPECT_TRUE(result.description.contains("nicht gespeichert"))
            << result.description.toStdString();
        EXPECT_EQ(filesIn(dir), files);
        struct stat after
        {
        };
        ASSERT_EQ(::stat(main.constData(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino) << "the file was replaced";
        EXPECT_EQ(after.st_mode & 07777, mode_t(0444));
    }
    // Once the protection is lifted, the start goes on as usual.
    ASSERT_EQ(::chmod(main.constData(), 0644), 0);
    const ChildStart result = startInChild(f.paths, asOrdinaryUser);
    EXPECT_TRUE(result.succeeded()) << result.description.toStdString();
    EXPECT_EQ(dumpContent(f.paths.mainFile), f.content);
}

namespace {

ino_t inodeOf(const QString &path)
{
    struct stat info
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

} // namespace

TEST(StartupFaults, LinkedMainFileIsMaintainedWhereItLivesAndKeepsItsLinks)
{
    // The database lives in another folder (another drive, a synced folder); the program
    // folder holds a symbolic link to it.
    UsedFolder f(false);
    QTemporaryDir elsewhere;
    const QString real = elsewhere.filePath("Läufe.mdb");
    ASSERT_TRUE(QFile::rename(f.paths.mainFile, real));
    ASSERT_TRUE(QFile::link(real, f.paths.mainFile));
    for (int start = 0; start < 2; ++start) {
        ASSERT_NO_THROW(runStartupMaintenance(f.paths));
        EXPECT_EQ(QFileInfo(f.paths.mainFile).symLinkTarget(), real);
        EXPECT_EQ(dumpContent(real), f.content);
        EXPECT_EQ(bytesOf(real), bytesOf(f.paths.compactFile));
        EXPECT_EQ(dumpContent(f.paths.backupFile), f.content);
        EXPECT_EQ(QDir(elsewhere.path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList { "Läufe.mdb" });
    }
    // What is written through the link after the start reaches the real file.
    f.folder.addRace({ { "ad_lauf", "Nach dem Start" } });
    EXPECT_EQ(dumpContent(real).size(), f.content.size() + 1);

    // A link that leads nowhere is reported and kept.
    ASSERT_TRUE(QFile::remove(real));
    EXPECT_THROW(runStartupMaintenance(f.paths), DbError);
    EXPECT_TRUE(QFileInfo(f.paths.mainFile).isSymLink());

    // A main file with a second hard link is not replaced: both names keep one file.
    UsedFolder g(false);
    const QString second = elsewhere.filePath("zweiter Name.mdb");
    ASSERT_EQ(::link(QFile::encodeName(g.paths.mainFile).constData(),
                     QFile::encodeName(second).constData()),
              0);
    ASSERT_NO_THROW(runStartupMaintenance(g.paths));
    EXPECT_EQ(inodeOf(g.paths.mainFile), inodeOf(second));
    EXPECT_EQ(dumpContent(g.paths.mainFile), g.content);
    EXPECT_EQ(dumpContent(g.paths.compactFile), g.content);
    EXPECT_EQ(dumpContent(g.paths.backupFile), g.content);
}

TEST(StartupFaults, TheProgramReportsAFileSizeLimitLikeAFullDisk)
{
    UsedFolder f;
    const QByteArray main = bytesOf(f.paths.mainFile);
    // The program takes the folder it lies in as its program folder.
    const QString program = f.folder.file("Strivo");
    ASSERT_TRUE(QFile::copy(QStringLiteral(STRIVO_PROGRAM), program));
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, QFile::encodeName(f.folder.path()).constData(), IN_DELETE),
              0);

    const pid_t pid = ::fork();
    if (pid == 0) {
        // The backup copy is larger than the limit; the signal has its default action, which
        // ends a process at once.
        const rlimit limit { 100'000, 100'000 };
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::signal(SIGXFSZ, SIG_DFL);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        const QByteArray path = QFile::encodeName(program);
        ::execl(path.constData(), path.constData(), static_cast<char *>(nullptr));
        ::_exit(127);
    }
    // The failed copy is removed; the program then shows its message and waits for the user.
    bool copyRemoved = false;
    int status = 0;
    bool ended = false;
    for (int waited = 0; waited < 60'000 && !ended; waited += 10) {
        alignas(inotify_event) char buffer[4096];
        for (ssize_t n; (n = ::read(watch, buffer, sizeof buffer)) > 0;) {
            for (char *p = buffer; p < buffer + n;) {
                const auto *event = reinterpret_cast<const inotify_event *>(p);
                copyRemoved
                    = copyRemoved || (event->len && QByteArray(event->name).endsWith(".tmp"));
                p += sizeof(inotify_event) + event->len;
            }
        }
        ended = ::waitpid(pid, &status, WNOHANG) == pid;
        if (copyRemoved && waited >= 500) // still running after the failure: done
            break;
        ::usleep(10'000);
    }
    ::close(watch);
    if (!ended) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
    EXPECT_FALSE(ended) << (WIFSIGNALED(status) ? "ended by signal " : "ended with exit code ")
                        << (WIFSIGNALED(status) ? WTERMSIG(status) : WEXITSTATUS(status));
    EXPECT_TRUE(copyRemoved);
    EXPECT_EQ(bytesOf(f.paths.mainFile), main);
    // The old compaction target went before the copy; nothing else is gone or left.
    QStringList left = QDir(f.folder.path()).entryList(QDir::Files | QDir::Hidden);
    left.removeAll("Strivo");
    EXPECT_EQ(left, (QStringList { "Strivo-DB.mdb", "Strivo-DB_Kopie.mdb" }));
}
