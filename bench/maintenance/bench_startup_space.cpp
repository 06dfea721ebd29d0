// SPDX-License-Identifier: GPL-3.0-or-later
// Free disk space the start-up maintenance needs, as a multiple of the database's size: the
// program folder lies on a small file system (tmpfs, in a mount namespace of its own, so that
// nothing stays mounted), whose size is narrowed down until a start just succeeds.
//
//   build/bench/bench_startup_space [races]     (default 20000; needs root or user namespaces)
//
// "fresh folder": only the database is there. "later start": the folder after a good start
// (database, backup, compaction target). A failed start must leave the database as it was and
// no other file than the backup and the target.
#include "RaceGenerator.h"
#include "common/DbError.h"
#include "data/StartupMaintenance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <sched.h>
#include <string>
#include <sys/mount.h>
#include <unistd.h>

namespace {

using Files = std::map<QString, QByteArray>;

Files filesIn(const QString &folder)
{
    Files files;
    for (const QFileInfo &info : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden)) {
        QFile file(info.filePath());
        if (file.open(QIODevice::ReadOnly))
            files[info.fileName()] = file.readAll();
    }
    return files;
}

qint64 bytesOf(const Files &files)
{
    qint64 total = 0;
    for (const auto &[name, bytes] : files)
        total += bytes.size();
    return total;
}

bool writeMap(const char *file, const std::string &text)
{
    const int fd = ::open(file, O_WRONLY | O_CLOEXEC);
    const bool ok = fd >= 0 && ::write(fd, text.data(), text.size()) == ssize_t(text.size());
    if (fd >= 0)
        ::close(fd);
    return ok;
}

// A mount namespace of our own, so that the small file systems vanish with the process.
bool privateMounts()
{
    const uid_t uid = ::geteuid();
    const gid_t gid = ::getegid();
    if (::unshare(CLONE_NEWNS) != 0) {
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
            return false;
        writeMap("/proc/self/setgroups", "deny");
        if (!writeMap("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1")
            || !writeMap("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1"))
            return false;
    }
    return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

struct Trial
{
    bool started = false;
    int number = 0;
    bool leftovers = false; // a changed database, or a temporary file or journal left
};

// One start with the folder holding `state`, on a file system of `size` bytes.
Trial tryStart(const QString &mountPoint, const Files &state, qint64 size)
{
    Trial trial;
    const std::string options = "size=" + std::to_string(size);
    if (::mount("tmpfs", QFile::encodeName(mountPoint).constData(), "tmpfs", 0, options.c_str())
        != 0) {
        std::perror("mount");
        std::exit(2);
    }
    for (const auto &[name, bytes] : state) {
        QFile file(mountPoint + u'/' + name);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()
            || !file.flush()) {
            std::fprintf(stderr, "file system of %lld bytes too small for the folder\n",
                         static_cast<long long>(size));
            std::exit(2);
        }
    }
    const MaintenancePaths paths = MaintenancePaths::inFolder(mountPoint);
    try {
        runStartupMaintenance(paths);
        trial.started = true;
    } catch (const DbError &e) {
        trial.number = e.number();
        for (const auto &[name, bytes] : filesIn(mountPoint))
            trial.leftovers = trial.leftovers
                || (name != QStringLiteral("Strivo-DB.mdb")
                    && name != QStringLiteral("Strivo-DB_Kopie.mdb")
                    && name != QStringLiteral("Strivo-DB_compact.mdb"));
        trial.leftovers = trial.leftovers
            || filesIn(mountPoint).at(QStringLiteral("Strivo-DB.mdb"))
                != state.at(QStringLiteral("Strivo-DB.mdb"));
    }
    ::umount2(QFile::encodeName(mountPoint).constData(), MNT_DETACH);
    return trial;
}

// The smallest file system (to 1/100 of the database) on which a start from `state` succeeds.
void narrowDown(const char *what, const QString &mountPoint, const Files &state)
{
    const qint64 database = state.at(QStringLiteral("Strivo-DB.mdb")).size();
    const qint64 used = bytesOf(state);
    qint64 low = used, high = used + 4 * database; // fails at low, succeeds at high
    bool leftovers = false;
    int failure = 0;
    if (!tryStart(mountPoint, state, high).started) {
        std::printf("%s: no start even with %.1fx the database free\n", what, 4.0);
        return;
    }
    while (high - low > database / 100) {
        const qint64 middle = (low + high) / 2;
        const Trial trial = tryStart(mountPoint, state, middle);
        if (trial.started) {
            high = middle;
        } else {
            low = middle;
            failure = trial.number;
            leftovers = leftovers || trial.leftovers;
        }
    }
    std::printf("%s: in use %.2fx, a start needs %.2fx free (%.2fx in all); short of it: "
                "error %d, %s\n",
                what, double(used) / database, double(high - used) / database,
                double(high) / database, failure,
                leftovers ? "FILES LEFT BEHIND" : "nothing left behind");
}

} // namespace

int main(int argc, char **argv)
{
    const int races = argc > 1 ? std::atoi(argv[1]) : 20'000;
    QTemporaryDir work;
    const QString mountPoint = work.filePath(QStringLiteral("fs"));
    QDir().mkpath(mountPoint);
    const QString source = work.filePath(QStringLiteral("Strivo-DB.mdb"));
    benchgen::makeRaceDatabase(source, races);
    if (!privateMounts()) {
        std::fprintf(stderr,
                     "cannot mount a small file system here (needs root or user "
                     "namespaces)\n");
        return 2;
    }
    const Files fresh = filesIn(work.path());
    std::printf("%d races, database %.1f MB\n", races, bytesOf(fresh) / 1e6);
    narrowDown("fresh folder", mountPoint, fresh);

    // The folder after a good start, with the races it had.
    QTemporaryDir started;
    QFile::copy(source, started.filePath(QStringLiteral("Strivo-DB.mdb")));
    runStartupMaintenance(MaintenancePaths::inFolder(started.path()));
    narrowDown("later start ", mountPoint, filesIn(started.path()));
    return 0;
}
