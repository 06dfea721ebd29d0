#include "data/InstanceLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#include <cstdlib>
#include <vector>

namespace {

QString lockFileFor(const QString &appPfad)
{
    // The same folder reached by another path (a link, a trailing separator) is the same key.
    QString folder = QFileInfo(appPfad).canonicalFilePath();
    if (folder.isEmpty())
        folder = QDir::cleanPath(QFileInfo(appPfad).absoluteFilePath());
    const QByteArray key
        = QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return QDir::tempPath() + QStringLiteral("/Strivo-") + QString::fromLatin1(key)
        + QStringLiteral(".lock");
}

// The locks held now. The program may end through exit() from deep inside a window, which
// skips the destructors of main()'s objects; the lock file is removed then all the same.
std::vector<QLockFile *> &heldLocks()
{
    static std::vector<QLockFile *> locks;
    return locks;
}

void releaseHeldLocks()
{
    for (QLockFile *lock : heldLocks())
        lock->unlock();
    heldLocks().clear();
}

void hold(QLockFile *lock)
{
    // The list exists before the handler is registered, so it outlives the handler's run.
    std::vector<QLockFile *> &locks = heldLocks();
    static const bool registered = std::atexit(releaseHeldLocks) == 0;
    Q_UNUSED(registered);
    locks.push_back(lock);
}

void release(QLockFile *lock)
{
    std::erase(heldLocks(), lock);
}

} // namespace

InstanceLock::InstanceLock(const QString &appPfad)
    : m_path(lockFileFor(appPfad))
    , m_lock(std::make_unique<QLockFile>(m_path))
{
    // A running copy holds its lock for hours; only a lock whose process has ended is stale.
    m_lock->setStaleLockTime(0);
}

InstanceLock::~InstanceLock()
{
    if (m_locked)
        release(m_lock.get());
}

bool InstanceLock::tryLock()
{
    if (m_locked)
        return true;
    if (m_lock->tryLock(0)) {
        m_locked = true;
        hold(m_lock.get());
        return true;
    }
    // Only a lock held by a running copy stops the start; a temporary folder that cannot take
    // the lock file must not keep the program from starting at all.
    return m_lock->error() != QLockFile::LockFailedError;
}

QString InstanceLock::alreadyRunningMessage()
{
    return QStringLiteral("Strivo ist bereits geöffnet. Ein zweites Programmfenster würde die "
                          "Datenbank beim Start unter dem laufenden Programm verändern. Bitte das "
                          "bereits geöffnete Programmfenster verwenden; dieser Start wird "
                          "beendet.");
}
