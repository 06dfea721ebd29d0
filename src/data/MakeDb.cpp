#include "data/MakeDb.h"

#include "common/DbError.h"
#include "data/Sqlite.h"
#include "fileio/FileIo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <functional>
#include <signal.h>
#include <unistd.h>

namespace {

DbError existsError(const QString &path)
{
    return DbError(ErrNo::FileExists,
                   QStringLiteral("Die Datei '%1' ist bereits vorhanden").arg(path));
}

DbError cannotCreate(const QString &path)
{
    return DbError(ErrNo::CannotOpenFile,
                   QStringLiteral("Die Datei '%1' kann nicht angelegt werden").arg(path));
}

// Gives the finished file its name without ever replacing one that appeared meanwhile. The
// content is on disk before the name, so a power cut never leaves a half file under it.
void publish(const QString &partial, const QString &path)
{
    const std::string from = QFile::encodeName(partial).toStdString();
    const std::string to = QFile::encodeName(path).toStdString();
    fileio::syncPath(from);
    if (const int err = fileio::placeNoReplace(from, to))
        throw err == EEXIST ? existsError(path) : cannotCreate(path);
    fileio::syncFolderOf(to);
}

// The name a new database is written under until it is complete: one of this process's own, so
// that two first starts at once never write into one file.
QString partialNameFor(const QString &path, qint64 pid)
{
    return path + u'.' + QString::number(pid) + QStringLiteral(".neu");
}

// Removes a half-made file, and its journal, that an interrupted earlier attempt left: a stale
// journal would otherwise be rolled into a new file. Only files of processes that have ended
// (and the name of earlier versions) are touched; one still being written is left alone.
void removeStalePartials(const QString &path)
{
    const QFileInfo target(path);
    const QString prefix = target.fileName() + u'.';
    const QDir folder = target.absoluteDir();
    const QStringList names = folder.entryList({ prefix + QStringLiteral("*neu*") },
                                               QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        const QString middle = name.mid(prefix.size()).section(u'.', 0, 0);
        bool isPid = false;
        const qint64 pid = middle.toLongLong(&isPid);
        const bool ended
            = !isPid || (::kill(pid_t(pid), 0) != 0 && errno == ESRCH) || pid == ::getpid();
        if (ended)
            QFile::remove(folder.filePath(name));
    }
}

// Writes a new database under a temporary name with fill(), then publishes it.
void makeNew(const QString &path, const std::function<void(const QString &partial)> &fill)
{
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
        throw existsError(path);
    removeStalePartials(path);
    const QString partial = partialNameFor(path, ::getpid());
    try {
        fill(partial);
        publish(partial, path);
    } catch (const DbError &) {
        QFile::remove(partial);
        QFile::remove(partial + QStringLiteral("-journal"));
        throw;
    }
}

} // namespace

void makeDatabase(const QString &path, const QStringList &sqlFiles)
{
    makeNew(path, [&](const QString &partial) {
        SqliteDb db(partial, SqliteDb::Open::Create);
        db.exec("BEGIN");
        for (const QString &name : sqlFiles) {
            QFile file(name);
            if (!file.open(QIODevice::ReadOnly))
                throw DbError(ErrNo::FileNotFound,
                              QStringLiteral("Die Datei '%1' kann nicht gelesen werden").arg(name));
            db.runScript(file.readAll().toStdString());
        }
        db.exec("COMMIT");
    });
}

void copyDatabase(const QString &source, const QString &path)
{
    makeNew(path, [&](const QString &partial) {
        {
            // Read-write, so that a crash journal beside the source is rolled back first.
            SqliteDb db(source, SqliteDb::Open::ReadWrite);
            if (db.scalar("select count(*) from sqlite_master where type = 'table' and name = "
                          "'adressen'")
                    .toInt()
                != 1)
                throw DbError(
                    ErrNo::UnknownFormat,
                    QStringLiteral("Die Datei '%1' enthält keine Läufe von Strivo").arg(source));
            Statement vacuum(db, "vacuum into ?");
            vacuum.bind(1, partial);
            vacuum.step();
        }
        SqliteDb copy(partial, SqliteDb::Open::ReadOnly);
        if (copy.scalar("pragma integrity_check").toString() != QLatin1String("ok"))
            throw DbError(ErrNo::DatabaseCorrupt,
                          QStringLiteral("Die Kopie von '%1' ist unvollständig").arg(source));
    });
}

QString installedSqlFolder()
{
    const QString installed
        = QCoreApplication::applicationDirPath() + QStringLiteral("/../share/strivo");
    if (QFileInfo::exists(installed + QStringLiteral("/schema.sql")))
        return QDir(installed).canonicalPath();
    return QStringLiteral(STRIVO_SOURCE_DB_DIR);
}

QStringList installedSqlFiles()
{
    const QString folder = installedSqlFolder();
    return { folder + QStringLiteral("/schema.sql"), folder + QStringLiteral("/seed.sql") };
}
