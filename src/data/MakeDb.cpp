#include "MakeDb.h"

#include "DbError.h"
#include "Sqlite.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

void makeDatabase(const QString &path, const QStringList &sqlFiles)
{
    if (QFile::exists(path))
        throw DbError(ErrNo::FileExists,
                      QStringLiteral("Die Datei '%1' ist bereits vorhanden").arg(path));
    const QString partial = path + QStringLiteral(".neu");
    QFile::remove(partial);
    {
        SqliteDb db(partial, SqliteDb::Open::Create);
        db.exec("BEGIN");
        for (const QString &name : sqlFiles) {
            QFile file(name);
            if (!file.open(QIODevice::ReadOnly))
                throw DbError(ErrNo::FileNotFound,
                              QStringLiteral("Die Datei '%1' kann nicht gelesen werden").arg(name));
            db.exec(file.readAll().toStdString());
        }
        db.exec("COMMIT");
    }
    if (!QFile::rename(partial, path))
        throw DbError(ErrNo::CannotOpenFile,
                      QStringLiteral("Die Datei '%1' kann nicht angelegt werden").arg(path));
}

QString installedSqlFolder()
{
    const QString installed =
            QCoreApplication::applicationDirPath() + QStringLiteral("/../share/strivo");
    if (QFileInfo::exists(installed + QStringLiteral("/schema.sql")))
        return QDir(installed).canonicalPath();
    return QStringLiteral(STRIVO_SOURCE_DB_DIR);
}

QStringList installedSqlFiles()
{
    const QString folder = installedSqlFolder();
    return {folder + QStringLiteral("/schema.sql"), folder + QStringLiteral("/seed.sql")};
}
