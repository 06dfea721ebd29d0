#include "jet/AccessTakeover.h"

#include "common/DbError.h"
#include "data/FileError.h"
#include "data/MakeDb.h"
#include "fileio/FileIo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

bool sameFile(const QString &a, const QString &b)
{
    return fileio::sameFile(native(a).toStdString(), native(b).toStdString());
}

void syncFolder(const QString &folder)
{
    fileio::syncFolder(native(folder).toStdString());
}

DbError fileError(const QString &what)
{
    const int err = errno;
    return ::fileError(err, what + QStringLiteral(": ") + systemErrorReason(err));
}

// A second name for the Access file, so that it is never without one; where the file system
// has no hard links, a flushed copy.
void keepUnder(const QString &file, const QString &name)
{
    if (sameFile(file, name))
        return;
    if (::link(native(file).constData(), native(name).constData()) == 0)
        return;
    if (errno != EPERM && errno != ENOTSUP && errno != EXDEV && errno != EMLINK)
        throw fileError(QStringLiteral("Die Access-Datei kann nicht als '%1' gesichert werden")
                            .arg(QDir::toNativeSeparators(name)));
    const QString partial = name + QStringLiteral(".tmp");
    QFile::remove(partial);
    if (!QFile::copy(file, partial) || QFileInfo(partial).size() != QFileInfo(file).size()) {
        QFile::remove(partial);
        throw DbError(ErrNo::DiskError,
                      QStringLiteral("Die Access-Datei kann nicht als '%1' gesichert werden.")
                          .arg(QDir::toNativeSeparators(name)));
    }
    fileio::syncPath(native(partial).toStdString());
    if (::link(native(partial).constData(), native(name).constData()) != 0) {
        QFile::remove(partial);
        throw fileError(QStringLiteral("Die Access-Datei kann nicht als '%1' gesichert werden")
                            .arg(QDir::toNativeSeparators(name)));
    }
    QFile::remove(partial);
}

void removeDatabase(const QString &path)
{
    for (const char *suffix : { "", "-journal", ".neu", ".neu-journal" })
        QFile::remove(path + QLatin1String(suffix));
}

} // namespace

QString accessFileName(const QString &file)
{
    const QString folder = QFileInfo(file).absolutePath();
    for (int n = 1;; ++n) {
        QString name = folder
            + (n == 1 ? QStringLiteral("/Strivo-DB_Access.mdb")
                      : QStringLiteral("/Strivo-DB_Access_%1.mdb").arg(n));
        if (!QFileInfo::exists(name) || sameFile(file, name))
            return name;
    }
}

TakeoverResult takeOverAccessFile(const QString &mainFile, const QStringList &sqlFiles,
                                  const JetOpener &open, const TakeoverHook &hook)
{
    const auto notify = [&](const char *point) {
        if (hook)
            hook(point);
    };
    const QString folder = QFileInfo(mainFile).absolutePath();
    // A leftover of an interrupted takeover is ours to replace.
    const QString fresh = folder + QStringLiteral("/Strivo-DB_Uebernahme.mdb");
    TakeoverResult result;
    // Read completely before anything is made: a file that cannot be read leaves no trace.
    const RaceLog log(*open(mainFile));
    removeDatabase(fresh);
    try {
        makeDatabase(fresh, sqlFiles);
        notify("made");
        result.import = importRaces(log, fresh);
    } catch (...) {
        removeDatabase(fresh);
        throw;
    }
    notify("imported");
    result.accessFile = accessFileName(mainFile);
    keepUnder(mainFile, result.accessFile);
    syncFolder(folder);
    notify("linked");
    if (::rename(native(fresh).constData(), native(mainFile).constData()) != 0) {
        const DbError error = fileError(QStringLiteral("Die neue Datenbank kann nicht an die "
                                                       "Stelle der Access-Datei treten"));
        removeDatabase(fresh);
        throw error;
    }
    syncFolder(folder);
    notify("renamed");
    return result;
}
