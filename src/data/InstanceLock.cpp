#include "InstanceLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

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

} // namespace

InstanceLock::InstanceLock(const QString &appPfad)
    : m_path(lockFileFor(appPfad))
    , m_lock(std::make_unique<QLockFile>(m_path))
{
    // A running copy holds its lock for hours; only a lock whose process has ended is stale.
    m_lock->setStaleLockTime(0);
}

InstanceLock::~InstanceLock() = default;

bool InstanceLock::tryLock()
{
    if (m_locked)
        return true;
    if (m_lock->tryLock(0)) {
        m_locked = true;
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
