// SPDX-License-Identifier: GPL-3.0-or-later
// The room the start-up needs on the disk: never more than three times the database in all
// (database, backup, compaction target), and a start that finds too little changes nothing.
#include "MaintenanceFixture.h"
#include "common/DbError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

qint64 folderBytes(const QString &folder)
{
    qint64 total = 0;
    for (const QFileInfo &info : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden))
        total += info.size();
    return total;
}

// A folder of a few megabytes whose compaction frees nothing more, so that the database,
// the backup and the target are of one size.
struct LargeFolder : RaceFolder
{
    LargeFolder()
    {
        folder.exec(QStringLiteral(
            "with recursive n(i) as (select 1 union all select i + 1 from n where i < 3000) "
            "insert into adressen (ad_lauf, ad_memo) select 'Lauf ' || i, "
            "hex(randomblob(400)) from n"));
        runStartupMaintenance(paths);
        runStartupMaintenance(paths); // the backup is of the compacted file, too
        database = QFileInfo(paths.mainFile).size();
    }
    qint64 database = 0;
};

} // namespace

TEST(StartupSpace, NoMomentNeedsMoreThanThreeTimesTheDatabase)
{
    for (const bool firstStart : { true, false }) {
        SCOPED_TRACE(firstStart ? "first start" : "later start");
        LargeFolder f;
        if (firstStart) {
            QFile::remove(f.paths.backupFile);
            QFile::remove(f.paths.compactFile);
        }
        qint64 peak = 0;
        QString where;
        runStartupMaintenance(f.paths, [&](const char *point) {
            const qint64 used = folderBytes(f.folder.path());
            if (used > peak) {
                peak = used;
                where = QString::fromLatin1(point);
            }
        });
        EXPECT_LE(peak, 3 * f.database) << "at " << where.toStdString() << ": "
                                        << double(peak) / f.database << " times the database";
    }
}

namespace {

// Runs `scenario` in a child process that has a small file system of its own (tmpfs, gone with
// the process) on `mountPoint`; `resize` lets the scenario give it another size. The child's
// report comes back as lines; nothing when no file system can be mounted here.
std::optional<QStringList>
onSmallDisk(const QString &mountPoint,
            const std::function<QStringList(const std::function<bool(qint64)> &resize)> &scenario)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return std::nullopt;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(channel[0]);
        const QByteArray point = QFile::encodeName(mountPoint);
        if (::unshare(CLONE_NEWNS) != 0
            || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            ::_exit(2);
        bool mounted = false;
        const auto resize = [&](qint64 bytes) {
            const std::string size = "size=" + std::to_string(bytes);
            const unsigned long flags = mounted ? MS_REMOUNT : 0;
            mounted = ::mount("tmpfs", point.constData(), "tmpfs", flags, size.c_str()) == 0;
            return mounted;
        };
        QByteArray report;
        try {
            report = scenario(resize).join(u'\n').toUtf8();
        } catch (...) {
            report = "unexpected exception";
        }
        for (qsizetype done = 0; done < report.size();) {
            const ssize_t n = ::write(channel[1], report.constData() + done, report.size() - done);
            if (n <= 0)
                break;
            done += n;
        }
        ::_exit(0);
    }
    ::close(channel[1]);
    QByteArray report;
    char buffer[4096];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, n);
    ::close(channel[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return QString::fromUtf8(report).split(u'\n');
}

// One start in `folder`: "ok", or the error number with whether the message says that the
// database is unchanged; then the names of the files left in the folder.
QString startIn(const QString &folder)
{
    QString outcome = QStringLiteral("ok");
    try {
        runStartupMaintenance(MaintenancePaths::inFolder(folder));
    } catch (const DbError &e) {
        outcome = QString::number(e.number())
            + (e.description().contains(QStringLiteral("bleibt unverändert"))
                   ? QStringLiteral(" unverändert")
                   : QStringLiteral(" ohne Hinweis"));
    }
    return outcome + u' ' + QDir(folder).entryList(QDir::Files | QDir::Hidden).join(u',');
}

bool copyInto(const QString &from, const QString &folder)
{
    return QFile::copy(from, folder + QStringLiteral("/Strivo-DB.mdb"));
}

} // namespace

TEST(StartupSpace, StartsOnADiskWithThreeTimesTheDatabaseAndChangesNothingWithLess)
{
    LargeFolder f;
    const qint64 m = f.database;
    const QString disk = f.folder.file("Laufwerk");
    ASSERT_TRUE(QDir().mkpath(disk));
    const QString files = QStringLiteral("Strivo-DB.mdb,Strivo-DB_compact.mdb,Strivo-DB_Kopie.mdb");
    // Room for the backup but not for the compaction: the backup is a copy of the database.
    const QString withBackup = QStringLiteral("Strivo-DB.mdb,Strivo-DB_Kopie.mdb");
    // A little room for what a file system needs beyond the data.
    const qint64 enough = 3 * m + m / 25, tooLittle = 2 * m + m / 2;

    const auto report = onSmallDisk(disk, [&](const auto &resize) {
        QStringList lines;
        // A new folder, and the next start with all three files there.
        if (!resize(enough) || !copyInto(f.paths.mainFile, disk))
            return QStringList { "no disk" };
        lines << startIn(disk) << startIn(disk);
        // Too little room: refused, nothing left behind; room made, and it starts.
        for (const QString &name : QDir(disk).entryList(QDir::Files))
            QFile::remove(disk + u'/' + name);
        if (!resize(tooLittle) || !copyInto(f.paths.mainFile, disk))
            return QStringList { "no disk" };
        lines << startIn(disk) << startIn(disk);
        const bool same = dumpContent(disk + "/Strivo-DB.mdb") == dumpContent(f.paths.mainFile);
        lines << (same ? "same races" : "races changed");
        if (!resize(enough))
            return QStringList { "no disk" };
        lines << startIn(disk);
        return lines;
    });
    if (!report)
        GTEST_SKIP() << "no small file system can be mounted here (needs root)";
    EXPECT_EQ(*report,
              (QStringList { "ok " + files, "ok " + files, "3026 unverändert " + withBackup,
                             "3026 unverändert " + withBackup, "same races", "ok " + files }));
}
