#include "data/UserFolder.h"

#include "common/DbError.h"
#include "data/FileError.h"
#include "data/MakeDb.h"
#include "fileio/FileIo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString databaseName = QStringLiteral("Strivo-DB.mdb");

DbError folderError(const QString &folder, const QString &reason)
{
    return DbError(ErrNo::CannotOpenFile,
                   QStringLiteral("Der Ordner für die Läufe '%1' kann nicht angelegt werden: %2.")
                       .arg(shownPath(folder), reason));
}

// Like mkdir -p, but every folder it makes is private to the user (the XDG rules ask for 0700).
// Adds the folders it made to `made`, outermost first.
void makePath(const QString &folder, QStringList &made)
{
    const QStringList parts = QDir::cleanPath(folder).split(u'/', Qt::SkipEmptyParts);
    QString path;
    for (const QString &part : parts) {
        path += u'/' + part;
        const QFileInfo info(path);
        if (info.isDir())
            continue;
        if (info.exists() || info.isSymLink())
            throw folderError(
                folder, QStringLiteral("'%1' ist eine Datei, kein Ordner").arg(shownPath(path)));
        if (::mkdir(QFile::encodeName(path).constData(), 0700) == 0)
            made << path;
        else if (errno != EEXIST)
            throw folderError(folder, systemErrorReason(errno));
    }
}

void makePath(const QString &folder)
{
    QStringList made;
    makePath(folder, made);
}

void makeFolder(const QString &folder, const QString &name, QStringList &made)
{
    const QString path = folder + u'/' + name;
    if (QFileInfo(path).isDir())
        return;
    if (::mkdir(QFile::encodeName(path).constData(), 0700) != 0)
        throw DbError(ErrNo::CannotOpenFile,
                      QStringLiteral("Der Ordner '%1' kann nicht angelegt werden: %2.")
                          .arg(shownPath(path),
                               QFileInfo::exists(path) ? QStringLiteral("dort liegt eine Datei")
                                                       : systemErrorReason(errno)));
    made << path;
}

// Removes the folders a failed first start made, innermost first; only empty ones go.
void removeMade(const QStringList &made)
{
    for (auto it = made.crbegin(); it != made.crend(); ++it)
        ::rmdir(QFile::encodeName(*it).constData());
}

// A database file of 0 bytes holds nothing (a first start cut short before its content was
// written): a new one takes its place. Not with a journal beside it, which may hold pages that
// rolling back would bring back.
bool isEmptyDatabase(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && !info.isSymLink() && info.size() == 0
        && !QFileInfo::exists(path + QStringLiteral("-journal"));
}

void makeDatabaseIn(const QString &database)
{
    try {
        if (isEmptyDatabase(database))
            QFile::remove(database);
        if (!QFileInfo::exists(database) && !QFileInfo(database).isSymLink())
            makeDatabase(database, installedSqlFiles());
    } catch (const DbError &e) {
        throw DbError(e.number(),
                      QStringLiteral("Die Datenbank '%1' kann nicht angelegt werden: %2.")
                          .arg(shownPath(database), e.description()));
    }
}

// The first of name_alt.mdb, name_alt2.mdb, ... that is not taken.
QString freeOldName(const QString &oldFile)
{
    const QFileInfo info(oldFile);
    const QString stem
        = info.absolutePath() + u'/' + info.completeBaseName() + QStringLiteral("_alt");
    QString candidate = stem + QStringLiteral(".mdb");
    for (int n = 2; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++n)
        candidate = stem + QString::number(n) + QStringLiteral(".mdb");
    return candidate;
}

} // namespace

QString userDataFolderFrom(const QString &xdgDataHome, const QString &home)
{
    if (QDir::isAbsolutePath(xdgDataHome))
        return QDir::cleanPath(xdgDataHome + QStringLiteral("/Strivo"));
    if (QDir::isAbsolutePath(home))
        return QDir::cleanPath(home + QStringLiteral("/.local/share/Strivo"));
    return {};
}

QString userDataFolder()
{
    return userDataFolderFrom(qEnvironmentVariable("XDG_DATA_HOME"), qEnvironmentVariable("HOME"));
}

bool isPortableFolder(const QString &folder)
{
    return QFileInfo::exists(folder + u'/' + databaseName);
}

QString programFolderFor(const QString &programDir)
{
    if (isPortableFolder(programDir))
        return programDir;
    const QString folder = userDataFolder();
    return folder.isEmpty() ? programDir : folder;
}

QString missingDatabaseMessage(const QString &folder)
{
    const QString database = folder + u'/' + databaseName;
    if (QFileInfo::exists(database))
        return {};
    const QString start = QStringLiteral("Bitte Strivo mit dem Befehl strivo oder über den "
                                         "Menüeintrag starten: ");
    if (!QFileInfo(folder).isDir())
        return QStringLiteral("Der Ordner für die Läufe '%1' ist noch nicht angelegt, daher gibt "
                              "es keine Datenbank. ")
                   .arg(shownPath(folder))
            + start
            + QStringLiteral("beim ersten Start legt strivo den Ordner mit einer neuen "
                             "Datenbank an.");
    return QStringLiteral("Die Datenbankdatei '%1' wurde nicht gefunden. ").arg(shownPath(database))
        + start
        + QStringLiteral("strivo legt eine neue, leere Datenbank an. Eine Sicherung kann zuvor "
                         "unter dem Namen %1 in den Ordner zurückkopiert werden.")
              .arg(databaseName);
}

void prepareUserFolder(const QString &folder)
{
    QStringList made;
    try {
        makePath(folder, made);
        // The start-up copies and compacts the database in this folder: without write access
        // every start would fail after the window opens.
        if (::access(QFile::encodeName(folder).constData(), W_OK | X_OK) != 0)
            throw DbError(ErrNo::CannotOpenFile,
                          QStringLiteral("In den Ordner für die Läufe '%1' kann nicht "
                                         "geschrieben werden: %2.")
                              .arg(shownPath(folder), systemErrorReason(errno)));
        // The folders first: the database, once made, is what a later start must find.
        makeFolder(folder, QStringLiteral("Export"), made);
        makeFolder(folder, QStringLiteral("Dokumente"), made);
        makeDatabaseIn(folder + u'/' + databaseName);
    } catch (const DbError &) {
        removeMade(made);
        throw;
    }
}

QString takeOverDatabase(const QString &givenFile, const QString &folder)
{
    const QString oldFile = QFileInfo(givenFile).absoluteFilePath();
    if (!QFileInfo::exists(oldFile))
        return {};
    makePath(folder);
    const QString target = folder + u'/' + databaseName;
    const QString kept = freeOldName(oldFile);
    const bool taken = !QFileInfo::exists(target) && !QFileInfo(target).isSymLink();
    if (taken) {
        try {
            copyDatabase(oldFile, target);
        } catch (const DbError &e) {
            throw DbError(e.number(),
                          QStringLiteral("Die Datenbank '%1' kann nicht nach '%2' übernommen "
                                         "werden: %3. Sie bleibt unverändert.")
                              .arg(shownPath(oldFile), shownPath(folder), e.description()));
        }
    }
    if (::rename(QFile::encodeName(oldFile).constData(), QFile::encodeName(kept).constData()) != 0)
        throw DbError(ErrNo::CannotOpenFile,
                      QStringLiteral("Die alte Datenbank '%1' kann nicht in '%2' umbenannt "
                                     "werden: %3.")
                          .arg(shownPath(oldFile), shownPath(kept), systemErrorReason(errno)));
    if (taken)
        return QStringLiteral("Die Läufe aus '%1' liegen jetzt in '%2'. Die alte Datei bleibt "
                              "unverändert als '%3' erhalten.")
            .arg(shownPath(oldFile), shownPath(target), shownPath(kept));
    return QStringLiteral("Die Datenbank '%1' wurde nicht übernommen, weil '%2' schon eine "
                          "Datenbank enthält. Die alte Datei bleibt unverändert als '%3' "
                          "erhalten.")
        .arg(shownPath(oldFile), shownPath(folder), shownPath(kept));
}
