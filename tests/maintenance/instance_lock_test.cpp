#include "data/InstanceLock.h"
#include "ui/QtUi.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A first copy of the program, in another process, holding the lock for a folder.
class RunningCopy
{
public:
    explicit RunningCopy(const QString &folder)
    {
        int ready[2];
        if (::pipe(ready) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            InstanceLock lock(folder);
            const char c = lock.tryLock() ? 1 : 0;
            (void)!::write(ready[1], &c, 1);
            for (;;)
                ::pause();
        }
        ::close(ready[1]);
        char c = 0;
        m_locked = ::read(ready[0], &c, 1) == 1 && c == 1;
        ::close(ready[0]);
    }
    ~RunningCopy() { crash(); }
    bool locked() const { return m_locked; }
    // Ends without any clean-up, as a crash or a power cut would.
    void crash()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
            m_pid = -1;
        }
    }

private:
    pid_t m_pid = -1;
    bool m_locked = false;
};

} // namespace

TEST(InstanceLock, SecondCopyOnTheSameFolderIsRefusedUntilTheFirstEnds)
{
    QTemporaryDir folder, otherFolder, links;
    const QString link = links.filePath("Programm");
    ASSERT_TRUE(QFile::link(folder.path(), link));

    RunningCopy first(folder.path());
    ASSERT_TRUE(first.locked());
    EXPECT_FALSE(InstanceLock(folder.path()).tryLock());
    EXPECT_FALSE(InstanceLock(folder.path() + "/").tryLock()) << "same folder, other spelling";
    EXPECT_FALSE(InstanceLock(link).tryLock()) << "same folder through a link";
    EXPECT_TRUE(InstanceLock(otherFolder.path()).tryLock()) << "copies in other folders may run";

    // A copy that has run for hours still holds its lock.
    QFile lockFile(InstanceLock(folder.path()).lockFilePath());
    ASSERT_TRUE(lockFile.open(QIODevice::ReadWrite));
    ASSERT_TRUE(lockFile.setFileTime(QDateTime::currentDateTime().addSecs(-5 * 3600),
                                     QFileDevice::FileModificationTime));
    lockFile.close();
    EXPECT_FALSE(InstanceLock(folder.path()).tryLock());

    // A copy that crashed does not keep the program from starting again.
    first.crash();
    InstanceLock next(folder.path());
    EXPECT_TRUE(next.tryLock());
    EXPECT_TRUE(next.isLocked());
    RunningCopy third(folder.path());
    EXPECT_FALSE(third.locked());
}

TEST(InstanceLock, LockLivesOutsideTheProgramFolder)
{
    QTemporaryDir folder;
    {
        InstanceLock lock(folder.path());
        ASSERT_TRUE(lock.tryLock());
        EXPECT_TRUE(lock.lockFilePath().startsWith(QDir::tempPath() + "/Strivo-"));
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }
    EXPECT_TRUE(InstanceLock(folder.path()).tryLock()) << "released when the program ends";
}

TEST(InstanceLock, QuittingFromAWindowReleasesTheLock)
{
    QTemporaryDir folder;
    const QString lockFile = InstanceLock(folder.path()).lockFilePath();
    const pid_t program = ::fork();
    if (program == 0) {
        // As the program holds it: a local of main(), left through the quit command.
        InstanceLock lock(folder.path());
        if (!lock.tryLock())
            ::_exit(3);
        QtUi ui;
        ui.quitProgram();
        ::_exit(4);
    }
    int status = 0;
    ::waitpid(program, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_FALSE(QFile::exists(lockFile));
    EXPECT_TRUE(InstanceLock(folder.path()).tryLock());
}

TEST(InstanceLock, AFolderNotMadeYetHasTheKeyItWillHave)
{
    // The launcher locks the user's folder before making it; the program locks it made.
    QTemporaryDir base;
    ASSERT_TRUE(QDir().mkpath(base.filePath("echt")));
    ASSERT_TRUE(QFile::link(base.filePath("echt"), base.filePath("verweis")));
    const QString made = base.filePath("echt/daten/Strivo");
    for (const QString &before :
         { base.filePath("verweis/daten/Strivo"), base.filePath("verweis/daten/Strivo/"),
           base.filePath("echt/daten/../daten/Strivo") }) {
        SCOPED_TRACE(before.toStdString());
        const QString key = InstanceLock(before).lockFilePath();
        ASSERT_TRUE(QDir().mkpath(made));
        EXPECT_EQ(InstanceLock(made).lockFilePath(), key);
        ASSERT_TRUE(QDir(base.filePath("echt/daten")).removeRecursively());
    }
}

TEST(InstanceLock, APassedLockIsOnlyTakenWhereItIsOneOfOurs)
{
    QTemporaryDir folder;
    // Whatever the variable names, the lock is taken as usual and no descriptor is closed.
    for (const char *passed : { "", "kein", "0", "2", "987" }) {
        SCOPED_TRACE(passed);
        qputenv("STRIVO_LOCK_FD", passed);
        InstanceLock lock(folder.path());
        EXPECT_TRUE(lock.tryLock());
        EXPECT_TRUE(lock.isLocked());
        EXPECT_TRUE(QFile::exists(lock.lockFilePath()));
        EXPECT_NE(::fcntl(0, F_GETFD), -1) << "standard input was closed";
        EXPECT_NE(::fcntl(2, F_GETFD), -1) << "standard error was closed";
        EXPECT_FALSE(qEnvironmentVariableIsSet("STRIVO_LOCK_FD")) << "taken once";
    }
    qunsetenv("STRIVO_LOCK_FD");
}
