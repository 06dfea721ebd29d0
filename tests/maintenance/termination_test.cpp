// SPDX-License-Identifier: GPL-3.0-or-later
// A logout, a kill or Ctrl+C ends the program as its "Beenden" command does: nothing lost, the
// lock released, whether it came while the program waited or while it worked.
#include "MaintenanceFixture.h"
#include "data/InstanceLock.h"
#include "data/RaceStore.h"
#include "data/Sqlite.h"
#include "ui/TerminationSignals.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// The real program, started on a folder of its own (it then works on the database beside it).
class Program
{
public:
    explicit Program(const QString &folder)
        : m_lockFile(InstanceLock(folder).lockFilePath())
    {
        const QString program = folder + QStringLiteral("/Strivo");
        QFile::copy(QStringLiteral(STRIVO_PROGRAM), program);
        m_pid = ::fork();
        if (m_pid == 0) {
            ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
            const QByteArray path = QFile::encodeName(program);
            ::execl(path.constData(), path.constData(), static_cast<char *>(nullptr));
            ::_exit(127);
        }
    }
    ~Program()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }

    QString lockFile() const { return m_lockFile; }

    // Whether the program holds its lock: the lock file names it.
    bool waitForLock()
    {
        for (int waited = 0; waited < 20'000; waited += 10) {
            QFile file(m_lockFile);
            if (file.open(QIODevice::ReadOnly)
                && file.readLine().trimmed() == QByteArray::number(m_pid))
                return true;
            ::usleep(10'000);
        }
        return false;
    }

    // How the program ended: "exit N", "signal N" or "still running".
    std::string endAfter(int signal)
    {
        ::kill(m_pid, signal);
        int status = 0;
        for (int waited = 0; waited < 30'000; waited += 10) {
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                return WIFEXITED(status) ? "exit " + std::to_string(WEXITSTATUS(status))
                                         : "signal " + std::to_string(WTERMSIG(status));
            }
            ::usleep(10'000);
        }
        return "still running";
    }

private:
    QString m_lockFile;
    pid_t m_pid = -1;
};

} // namespace

TEST(Termination, TheProgramEndsOnASignalAsByItsQuitCommand)
{
    struct Case
    {
        int signal;
        bool duringStart; // sent as soon as the lock is taken, while the start-up copies
    };
    for (const Case c : { Case { SIGTERM, false }, Case { SIGHUP, false }, Case { SIGINT, false },
                          Case { SIGTERM, true } }) {
        SCOPED_TRACE("signal " + std::to_string(c.signal)
                     + (c.duringStart ? " during the start" : " while idle"));
        RaceFolder f;
        const QStringList content = dumpContent(f.paths.mainFile);
        Program program(f.folder.path());
        ASSERT_TRUE(program.waitForLock());
        if (!c.duringStart) {
            for (int waited = 0; waited < 20'000 && !QFileInfo::exists(f.paths.backupFile);
                 waited += 10)
                ::usleep(10'000);
            ::usleep(300'000);
        }
        EXPECT_EQ(program.endAfter(c.signal), "exit 0");
        EXPECT_FALSE(QFileInfo::exists(program.lockFile())) << "the lock file is left behind";
        EXPECT_EQ(integrityOf(f.paths.mainFile), "ok");
        EXPECT_EQ(dumpContent(f.paths.mainFile), content);
        EXPECT_TRUE(InstanceLock(f.folder.path()).tryLock());
    }
}

TEST(Termination, ASignalDuringASaveIsHandledOnceTheSaveIsDone)
{
    TestFolder folder;
    RaceStore races(folder.dbPath());
    Race race = races.addEmpty();

    int handled = 0;
    QVariant nameWhenHandled;
    const TerminationSignals ending([&](int signal) {
        ++handled;
        EXPECT_EQ(signal, SIGTERM);
        nameWhenHandled
            = folder
                  .firstRow(QStringLiteral("select * from adressen where ad_nummer = ?"),
                            race.number)
                  .value(QStringLiteral("ad_lauf"));
    });
    ASSERT_TRUE(ending.isActive());

    // Another program holds the file for a moment, so that the save waits, and the signal comes
    // in the middle of it.
    SqliteDb other(folder.dbPath(), SqliteDb::Open::ReadWrite);
    other.exec("begin immediate");
    std::atomic<bool> sent = false;
    std::thread desktop([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        ::kill(::getpid(), SIGTERM);
        sent = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        other.exec("rollback");
    });
    race.name = QStringLiteral("Stadtlauf");
    EXPECT_NO_THROW(races.save(race));
    EXPECT_TRUE(sent) << "the signal came while the save waited";
    desktop.join();
    EXPECT_EQ(handled, 0) << "not in the middle of the save";

    QCoreApplication::processEvents();
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(nameWhenHandled, QStringLiteral("Stadtlauf"))
        << "the race was saved completely before the program ends";
    // A second signal while ending changes nothing.
    ::kill(::getpid(), SIGTERM);
    QCoreApplication::processEvents();
    EXPECT_EQ(handled, 1);
}
