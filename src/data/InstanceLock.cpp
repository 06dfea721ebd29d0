#include "data/InstanceLock.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Names the descriptor of a lock that the launcher passes on to the program it execs.
constexpr char passedLockVariable[] = "STRIVO_LOCK_FD";

// The folder with every link resolved. The launcher takes the lock before the folder exists,
// so the deepest folder that does exist is resolved and the rest appended: the same key as the
// program's once the folder is there.
QString resolvedFolder(const QString &appPfad)
{
    QString rest;
    QString folder = QDir::cleanPath(QFileInfo(appPfad).absoluteFilePath());
    for (;;) {
        const QString canonical = QFileInfo(folder).canonicalFilePath();
        if (!canonical.isEmpty())
            return QDir::cleanPath(canonical + rest);
        const qsizetype cut = folder.lastIndexOf(u'/');
        if (cut <= 0)
            return QDir::cleanPath(folder + rest);
        rest.prepend(folder.mid(cut));
        folder.truncate(cut);
    }
}

QString lockFileFor(const QString &appPfad)
{
    // The same folder reached by another path (a link, a trailing separator) is the same key.
    const QByteArray key
        = QCryptographicHash::hash(resolvedFolder(appPfad).toUtf8(), QCryptographicHash::Sha256)
              .toHex()
              .left(16);
    return QDir::tempPath() + QStringLiteral("/Strivo-") + QString::fromLatin1(key)
        + QStringLiteral(".lock");
}

// Whether the open file is the one the path names now: a copy that ended removed its lock
// file, and a lock on a removed file guards nothing.
bool isFileAt(int fd, const QByteArray &path)
{
    struct stat open
    {
    }, named {};
    return ::fstat(fd, &open) == 0 && ::lstat(path.constData(), &named) == 0
        && open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

// The locks held now. The program may end through exit() from deep inside a window, which
// skips the destructors of main()'s objects; the lock file is removed then all the same.
std::vector<InstanceLock *> &heldLocks()
{
    static std::vector<InstanceLock *> locks;
    return locks;
}

void releaseHeldLocks()
{
    const std::vector<InstanceLock *> locks = heldLocks();
    for (InstanceLock *lock : locks)
        lock->release();
}

void hold(InstanceLock *lock)
{
    // The list exists before the handler is registered, so it outlives the handler's run.
    std::vector<InstanceLock *> &locks = heldLocks();
    static const bool registered = std::atexit(releaseHeldLocks) == 0;
    Q_UNUSED(registered);
    locks.push_back(lock);
}

void writeOwner(int fd)
{
    const QByteArray pid = QByteArray::number(qint64(::getpid())) + '\n';
    if (::ftruncate(fd, 0) == 0)
        (void)!::pwrite(fd, pid.constData(), size_t(pid.size()), 0);
}

} // namespace

InstanceLock::InstanceLock(const QString &appPfad)
    : m_path(lockFileFor(appPfad))
{
}

InstanceLock::~InstanceLock()
{
    release();
}

bool InstanceLock::tryLock()
{
    if (isLocked() || takeOverPassedLock())
        return true;
    const QByteArray path = QFile::encodeName(m_path);
    // A few rounds at most: each one lost means that a copy ended just then.
    for (int round = 0; round < 16; ++round) {
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        // A temporary folder that cannot take the lock file must not keep the program from
        // starting at all.
        if (fd < 0)
            return true;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int err = errno;
            ::close(fd);
            return err != EWOULDBLOCK;
        }
        if (isFileAt(fd, path)) {
            m_fd = fd;
            m_owner = ::getpid();
            writeOwner(fd);
            hold(this);
            return true;
        }
        ::close(fd);
    }
    return false;
}

bool InstanceLock::takeOverPassedLock()
{
    if (!qEnvironmentVariableIsSet(passedLockVariable))
        return false;
    const QByteArray passed = qgetenv(passedLockVariable);
    // Only once, and never for a program this one starts in turn.
    qunsetenv(passedLockVariable);
    bool ok = false;
    const int fd = passed.toInt(&ok);
    // A descriptor that is not our lock file is not ours to take or to close.
    if (!ok || fd < 0 || !isFileAt(fd, QFile::encodeName(m_path)))
        return false;
    // Locking again through the same open file succeeds only where the launcher held it.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    m_fd = fd;
    m_owner = ::getpid();
    hold(this);
    return true;
}

void InstanceLock::passOnAcrossExec()
{
    if (!isLocked())
        return;
    ::fcntl(m_fd, F_SETFD, 0);
    qputenv(passedLockVariable, QByteArray::number(m_fd));
}

void InstanceLock::release()
{
    if (!isLocked())
        return;
    std::erase(heldLocks(), this);
    // A child forked from the program shares the lock but must not remove the file under it.
    if (m_owner == ::getpid()) {
        // Removed while still locked: a copy that opened the file meanwhile sees that it is
        // gone once it gets the lock, and tries again.
        ::unlink(QFile::encodeName(m_path).constData());
    }
    ::close(m_fd);
    m_fd = -1;
}

QString InstanceLock::alreadyRunningMessage()
{
    return QStringLiteral("Strivo ist bereits geöffnet. Ein zweites Programmfenster würde die "
                          "Datenbank beim Start unter dem laufenden Programm verändern. Bitte das "
                          "bereits geöffnete Programmfenster verwenden; dieser Start wird "
                          "beendet.");
}
