#include "data/StartupMaintenance.h"

#include "common/DbError.h"
#include "data/EmptyRaces.h"
#include "data/FileError.h"
#include "data/Sqlite.h"
#include "fileio/DurableWrite.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Every table the program reads and writes; a file without one of them is not ours.
constexpr std::array requiredTables { "adressen", "ereignisse_dokumente", "aw_anrede",
                                      "aw_titel", "aw_strasse",           "aw_land",
                                      "aw_lauf",  "aw_zeitmessung",       "aw_plzort" };

using RowCounts = std::vector<long long>; // per required table, in the order above

void notify(const MaintenanceHook &hook, const char *point)
{
    if (hook)
        hook(point);
}

// The German reason for an error number, to follow a description of what failed.
QString reason(const DbError &e)
{
    switch (e.number()) {
    case ErrNo::DatabaseNotFound:
    case ErrNo::FileNotFound:
        return QStringLiteral("die Datei wurde nicht gefunden");
    case ErrNo::FileInUse:
        return QStringLiteral("die Datei wird gerade von einem anderen Programm verwendet");
    case ErrNo::DiskFull:
        return QStringLiteral("auf dem Datenträger ist nicht genügend Speicherplatz frei");
    case ErrNo::CannotOpenFile:
        return QStringLiteral("die Datei oder der Programmordner ist schreibgeschützt, oder der "
                              "Zugriff wurde verweigert");
    case ErrNo::DatabaseCorrupt:
        return QStringLiteral("die Datei ist beschädigt");
    case ErrNo::UnknownFormat:
        return QStringLiteral("die Datei ist keine SQLite-Datenbank");
    case ErrNo::DiskError:
        return QStringLiteral("beim Lesen oder Schreiben des Datenträgers ist ein Fehler "
                              "aufgetreten");
    default:
        return e.description();
    }
}

DbError inContext(const DbError &e, const QString &what, const QString &consequence)
{
    return DbError(e.number(),
                   what + QStringLiteral(": ") + reason(e) + QStringLiteral(". ") + consequence);
}

QString mainFileUnchanged()
{
    return QStringLiteral("Die Datenbankdatei bleibt unverändert.");
}

using fileio::Fd;

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

void syncFolderOf(const QString &path)
{
    fileio::syncFolderOf(native(QFileInfo(path).absoluteFilePath()).toStdString());
}

// Throws the data layer's error for a failed file operation (0: none).
void check(int err)
{
    if (err != 0)
        throw fileError(err);
}

using Flush = fileio::DurableWrite::Flush;

// Copies source over target so that target is at every moment either its old or its new,
// complete content. With Flush::Later the caller flushes the target (flushFile) before anything
// relies on it being on the disk.
void copyReplacing(const QString &source, const QString &target, const MaintenanceHook &hook,
                   const char *writtenPoint, Flush flush = Flush::Now)
{
    Fd in(::open(native(source).constData(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0)
        throw fileError(errno);
    struct stat info
    {
    };
    if (::stat(native(target).constData(), &info) != 0 && ::fstat(in.get(), &info) != 0)
        throw fileError(errno);
    fileio::DurableWrite out;
    check(out.open(native(target).toStdString(), fileio::DurableWrite::Temporary::Fixed, 0600));
    check(fileio::copyContent(in.get(), out.fd()));
    ::fchmod(out.fd(), info.st_mode & 07777); // keeps the file's permissions
    check(out.commit(fileio::DurableWrite::Naming::Replace, flush,
                     [&hook, writtenPoint] { notify(hook, writtenPoint); }));
}

// Writes a file's content and its name to the disk; returns the error number (0: none).
int flushFile(const QString &path)
{
    Fd file(::open(native(path).constData(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0)
        return errno;
    if (const int err = fileio::syncFile(file.get()))
        return err;
    if (const int err = file.close())
        return err;
    syncFolderOf(path);
    return 0;
}

struct stat statOf(const QString &path)
{
    struct stat info
    {
    };
    if (::stat(native(path).constData(), &info) != 0)
        throw fileError(errno);
    return info;
}

// Makes the checked compaction target the main file by renaming it: no further copy of the
// database is needed, and the main file is at every moment either the old or the new one. The
// target gets the main file's permissions and owner, and reaches the disk before the rename.
// Returns false where a rename cannot do it (another file system), without changing anything.
bool renameOver(const QString &source, const QString &target)
{
    const struct stat targetInfo = statOf(target);
    if (statOf(source).st_dev != targetInfo.st_dev)
        return false;
    Fd file(::open(native(source).constData(), O_RDWR | O_CLOEXEC));
    if (file.get() < 0)
        throw fileError(errno);
    ::fchmod(file.get(), targetInfo.st_mode & 07777);
    if (::fchown(file.get(), targetInfo.st_uid, targetInfo.st_gid) != 0) {
        // Only an administrator may hand a file to another owner; the mode is what matters.
    }
    check(fileio::syncFile(file.get()));
    check(file.close());
    if (::rename(native(source).constData(), native(target).constData()) != 0) {
        if (errno == EXDEV) // the same device mounted twice
            return false;
        throw fileError(errno);
    }
    syncFolderOf(target);
    return true;
}

// Removes the journal files SQLite may have left beside a database, and with `withFile` the
// database itself.
void removeDatabaseFiles(const QString &path, bool withFile)
{
    for (const char *suffix : { "-journal", "-wal", "-shm", "" }) {
        if (!withFile && !*suffix)
            continue;
        const QByteArray name = native(path + QLatin1String(suffix));
        if (::unlink(name.constData()) != 0 && errno != ENOENT)
            throw fileError(errno);
    }
}

// Clean-up after a failure, which must not hide that failure.
void removeQuietly(const QString &path)
{
    try {
        removeDatabaseFiles(path, true);
    } catch (const DbError &) {
    }
}

enum class FileKind { Missing, Empty, Sqlite, Jet, Unknown };

FileKind classify(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return FileKind::Missing;
    if (!file.open(QIODevice::ReadOnly))
        return FileKind::Sqlite; // unreadable: let SQLite report why
    const QByteArray head = file.read(32);
    if (head.isEmpty())
        return FileKind::Empty;
    if (head.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        return FileKind::Sqlite;
    // Access files begin with a version word and the engine's name.
    const QByteArray engine = head.mid(4, 15);
    if (head.startsWith(QByteArrayLiteral("\x00\x01\x00\x00"))
        && (engine == "Standard Jet DB" || engine == "Standard ACE DB"))
        return FileKind::Jet;
    return FileKind::Unknown;
}

bool hasJournal(const QString &path)
{
    return QFileInfo(path + QStringLiteral("-journal")).size() > 0;
}

// The result of checking an opened database: what is wrong with it, or its row counts.
struct Check
{
    int number = 0; // error number when something is wrong
    QString problem;
    RowCounts counts;
    bool sound() const { return problem.isEmpty(); }
};

// Where the file was just written, its pages are still in the system's cache, and reading them
// in place (a map) rather than copying each one saves a good part of the check. A file read
// from the disk is read through SQLite's cache: a read error under a map would end the program
// instead of being reported.
enum class Pages { FromDisk, JustWritten };

Check checkDatabase(SqliteDb &db, Pages pages)
{
    if (pages == Pages::JustWritten)
        db.exec("pragma mmap_size = 1073741824");
    Check result;
    {
        // quick_check leaves out only the comparison of indexes with their tables; the
        // program's indexes hold no data of their own, SQLite derives them from the rows.
        Statement check(db, "pragma quick_check(1)");
        if (!check.step() || check.column(0).toString() != QLatin1String("ok")) {
            result.number = ErrNo::DatabaseCorrupt;
            result.problem = QStringLiteral("die Prüfung der Datenbank hat Fehler gefunden");
            return result;
        }
    }
    QStringList present;
    {
        Statement tables(db, "select name from sqlite_master where type = 'table'");
        while (tables.step())
            present << tables.column(0).toString();
    }
    QStringList missing;
    for (const char *table : requiredTables) {
        if (!present.contains(QLatin1String(table)))
            missing << QLatin1String(table);
    }
    if (!missing.isEmpty()) {
        result.number = ErrNo::UnknownFormat;
        result.problem
            = QStringLiteral("es fehlen die Tabellen %1").arg(missing.join(QStringLiteral(", ")));
        return result;
    }
    for (const char *table : requiredTables)
        result.counts.push_back(
            db.scalar(std::string("select count(*) from ") + table).toLongLong());
    return result;
}

// Step "repair": SQLite rolls back a journal left by a crash when the file is first read;
// the file is then checked. A damaged file cannot be rebuilt here and is reported instead.
RowCounts repairMainFile(const QString &path)
{
    const QString file = shownPath(path);
    const QString what
        = QStringLiteral("Die Datenbankdatei '%1' kann nicht geprüft werden").arg(file);
    const QString untouched = QStringLiteral("Die Datei bleibt unverändert.");
    // A journal beside the file may hold its true first page; only SQLite may judge then.
    const FileKind kind = hasJournal(path) ? FileKind::Sqlite : classify(path);
    switch (kind) {
    case FileKind::Missing:
        throw DbError(ErrNo::DatabaseNotFound,
                      QStringLiteral("Die Datenbankdatei '%1' wurde nicht gefunden.").arg(file));
    case FileKind::Empty:
        throw DbError(ErrNo::DatabaseCorrupt,
                      QStringLiteral("Die Datenbankdatei '%1' ist leer (0 Bytes) und enthält keine "
                                     "Daten. %2")
                          .arg(file, untouched));
    case FileKind::Jet:
        throw DbError(ErrNo::UnknownFormat,
                      QStringLiteral("Die Datei '%1' ist eine Access-Datenbank (Jet) im alten "
                                     "Format und keine SQLite-Datenbank; dieses Programm kann sie "
                                     "nicht lesen. %2")
                          .arg(file, untouched));
    case FileKind::Unknown:
        throw DbError(ErrNo::UnknownFormat,
                      QStringLiteral("Die Datei '%1' ist keine SQLite-Datenbank (unbekanntes "
                                     "Datenbankformat). %2")
                          .arg(file, untouched));
    case FileKind::Sqlite:
        break;
    }
    // SQLite would open a write-protected file read-only without a word, and the compacted
    // copy would then replace it; the user would learn of it only when a save fails.
    if (Fd probe(::open(native(path).constData(), O_RDWR | O_CLOEXEC));
        probe.get() < 0 && (errno == EACCES || errno == EPERM || errno == EROFS))
        throw DbError(ErrNo::CannotOpenFile,
                      QStringLiteral("Die Datenbankdatei '%1' ist schreibgeschützt: Änderungen "
                                     "können nicht gespeichert werden. Bitte den Schreibschutz "
                                     "aufheben. %2")
                          .arg(file, untouched));
    Check check;
    try {
        SqliteDb db(path, SqliteDb::Open::ReadWrite);
        db.scalar("select count(*) from sqlite_master"); // first read: rolls back a journal
        if (db.scalar("pragma journal_mode")
                .toString()
                .compare(QLatin1String("wal"), Qt::CaseInsensitive)
            == 0)
            db.exec("pragma journal_mode = delete"); // the copies below must see every change
        check = checkDatabase(db, Pages::FromDisk);
        if (check.sound())
            check.counts.front() -= removeEmptyRaces(db);
    } catch (const DbError &e) {
        throw inContext(e, what, untouched);
    }
    if (!check.sound())
        throw DbError(check.number,
                      QStringLiteral("Die Datenbankdatei '%1' ist beschädigt oder unvollständig: "
                                     "%2. Sie kann nicht repariert werden. %3")
                          .arg(file, check.problem, untouched));
    return check.counts;
}

DbError backupError(const DbError &e, const QString &backupFile)
{
    return inContext(e,
                     QStringLiteral("Die Sicherungskopie '%1' kann nicht geschrieben werden")
                         .arg(shownPath(backupFile)),
                     mainFileUnchanged());
}

// Returns the flush of the backup, which waits for the disk while the compaction works; the
// backup must be on the disk only before the main file is replaced (finishBackup). Until then
// the main file is untouched, so a power cut in between can cost nothing but this copy of it.
std::future<int> makeBackup(const QString &mainFile, const QString &backupFile,
                            const MaintenanceHook &hook)
{
    try {
        // Journal files of an earlier copy would be played back into the new one.
        removeDatabaseFiles(backupFile, false);
        copyReplacing(mainFile, backupFile, hook, "backup:written", Flush::Later);
    } catch (const DbError &e) {
        throw backupError(e, backupFile);
    }
    return std::async(std::launch::async, flushFile, backupFile);
}

void finishBackup(std::future<int> &flushed, const QString &backupFile)
{
    if (const int err = flushed.get())
        throw backupError(fileError(err), backupFile);
}

void removeOldTarget(const QString &compactFile)
{
    try {
        removeDatabaseFiles(compactFile, true);
    } catch (const DbError &e) {
        throw inContext(e,
                        QStringLiteral("Die alte Datei '%1' kann nicht gelöscht werden")
                            .arg(shownPath(compactFile)),
                        mainFileUnchanged());
    }
}

void compact(const MaintenancePaths &paths, const RowCounts &expected, const MaintenanceHook &hook)
{
    const QString target = shownPath(paths.compactFile);
    Check check;
    try {
        {
            SqliteDb source(paths.backupFile, SqliteDb::Open::ReadOnly);
            // The target needs no sync of its own: only its checked copy replaces the main file.
            source.exec("pragma synchronous = off");
            // With a small page cache the compaction hands its pages on as it goes instead of
            // first gathering megabytes of them: about a seventh less time.
            source.exec("pragma cache_size = -100");
            Statement vacuum(source, "vacuum into ?");
            vacuum.bind(1, paths.compactFile);
            vacuum.step();
        }
        notify(hook, "compact:written");
        // The target must reach the disk before it may replace the main file; the flush waits
        // for the disk, the check for the processor, so they run side by side.
        std::future<int> flushed = std::async(std::launch::async, flushFile, paths.compactFile);
        {
            // A compaction cut short (a full disk) can leave an empty database that looks sound.
            SqliteDb result(paths.compactFile, SqliteDb::Open::ReadOnly);
            check = checkDatabase(result, Pages::JustWritten);
        }
        if (const int err = flushed.get())
            throw fileError(err);
        if (check.sound() && check.counts.front() != expected.front())
            check.problem = QStringLiteral("sie enthält %1 statt %2 Läufe")
                                .arg(check.counts.front())
                                .arg(expected.front());
        else if (check.sound() && check.counts != expected)
            check.problem = QStringLiteral("es fehlen Datensätze");
    } catch (const DbError &e) {
        removeQuietly(paths.compactFile);
        throw inContext(e,
                        QStringLiteral("Die Datenbank kann nicht in die Datei '%1' komprimiert "
                                       "werden")
                            .arg(target),
                        mainFileUnchanged());
    }
    if (!check.sound()) {
        removeQuietly(paths.compactFile);
        throw DbError(ErrNo::DatabaseCorrupt,
                      QStringLiteral("Die komprimierte Datei '%1' ist unvollständig: %2. %3")
                          .arg(target, check.problem, mainFileUnchanged()));
    }
}

// The new main file comes from the compaction target. Where the target can simply be renamed,
// it is, and a copy of the new main file becomes the target again afterwards; so no moment needs
// room for more than the main file, the backup and the target.
void replaceMainFile(const MaintenancePaths &paths, const QString &mainFile,
                     const MaintenanceHook &hook)
{
    const QString what
        = QStringLiteral("Die komprimierte Datenbank kann nicht nach '%1' kopiert werden")
              .arg(shownPath(mainFile));
    bool renamed = false;
    try {
        // Another name of the same file would keep the old content and silently go stale.
        if (statOf(mainFile).st_nlink > 1)
            return;
        renamed = renameOver(paths.compactFile, mainFile);
        if (!renamed)
            copyReplacing(paths.compactFile, mainFile, hook, "replace-main:written");
    } catch (const DbError &e) {
        throw inContext(e, what, mainFileUnchanged());
    }
    if (!renamed)
        return;
    notify(hook, "replace-main:renamed");
    try {
        copyReplacing(mainFile, paths.compactFile, hook, "copy-target:written");
    } catch (const DbError &e) {
        throw inContext(e,
                        QStringLiteral("Die Datei '%1' kann nicht geschrieben werden")
                            .arg(shownPath(paths.compactFile)),
                        QStringLiteral("Die Datenbankdatei ist vollständig und komprimiert."));
    }
}

// The names the maintenance deletes or writes, beside the main file.
QStringList namesWorkedOn(const MaintenancePaths &paths, const QString &mainFile)
{
    QStringList names;
    for (const QString &copy : { paths.backupFile, paths.compactFile }) {
        for (const char *suffix : { "", ".tmp", "-journal", "-wal", "-shm" })
            names << copy + QLatin1String(suffix);
    }
    return names << mainFile + QStringLiteral(".tmp");
}

// A main file that is also the backup or the compaction target (one of them a link to the
// other, or two hard links of one file) would be deleted or overwritten by the very steps
// that are to keep it safe: nothing is done then.
void refuseSharedFile(const MaintenancePaths &paths, const QString &mainFile)
{
    const std::string main = native(mainFile).toStdString();
    for (const QString &name : namesWorkedOn(paths, mainFile)) {
        if (!fileio::sameFile(main, native(name).toStdString()))
            continue;
        throw DbError(ErrNo::CannotOpenFile,
                      QStringLiteral("Die Datenbankdatei '%1' und '%2' sind dieselbe Datei (über "
                                     "eine Verknüpfung oder einen zweiten Dateinamen). Die "
                                     "Wartung beim Start legt unter '%2' eine eigene Datei an "
                                     "und würde dabei die Datenbank löschen oder überschreiben; "
                                     "sie wird deshalb nicht ausgeführt. Bitte die Datenbank "
                                     "unter '%1' als eigene Datei ablegen. %3")
                          .arg(shownPath(paths.mainFile), shownPath(name), mainFileUnchanged()));
    }
}

// The file the main file's name leads to: maintenance works on the file a link points to and
// keeps the link.
QString resolvedMainFile(const QString &mainFile)
{
    const QString target = QFileInfo(mainFile).canonicalFilePath();
    return target.isEmpty() ? mainFile : target;
}

} // namespace

MaintenancePaths MaintenancePaths::inFolder(const QString &folder)
{
    return { folder + QStringLiteral("/Strivo-DB.mdb"),
             folder + QStringLiteral("/Strivo-DB_Kopie.mdb"),
             folder + QStringLiteral("/Strivo-DB_compact.mdb") };
}

void runStartupMaintenance(const MaintenancePaths &paths, const MaintenanceHook &hook)
{
    const QString mainFile = resolvedMainFile(paths.mainFile);
    refuseSharedFile(paths, mainFile);
    notify(hook, "repair:before");
    const RowCounts counts = repairMainFile(mainFile);
    notify(hook, "repair:after");

    // The old target goes first, so that it never takes room beside the new backup.
    notify(hook, "remove-compact:before");
    removeOldTarget(paths.compactFile);
    notify(hook, "remove-compact:after");

    notify(hook, "backup:before");
    std::future<int> backupFlushed = makeBackup(mainFile, paths.backupFile, hook);
    notify(hook, "backup:after");

    notify(hook, "compact:before");
    compact(paths, counts, hook);
    notify(hook, "compact:after");

    finishBackup(backupFlushed, paths.backupFile);
    notify(hook, "replace-main:before");
    replaceMainFile(paths, mainFile, hook);
    notify(hook, "replace-main:after");
}

void EarlyMaintenance::begin(const MaintenancePaths &paths)
{
    if (m_running.valid() || classify(resolvedMainFile(paths.mainFile)) != FileKind::Sqlite)
        return;
    m_paths = paths;
    m_running = std::async(std::launch::async, [paths] { runStartupMaintenance(paths); });
}

void EarlyMaintenance::finish(const MaintenancePaths &paths)
{
    if (m_running.valid()) {
        std::future<void> running = std::move(m_running);
        if (m_paths == paths) {
            running.get();
            return;
        }
        running.wait(); // other files: that run's outcome is not asked for
    }
    runStartupMaintenance(paths);
}

EarlyMaintenance::~EarlyMaintenance()
{
    if (m_running.valid())
        m_running.wait();
}
