#pragma once

#include <QString>

#include <memory>

class QLockFile;

// Keeps a second copy of the program, started on the same program folder, from working on the
// database under the first one (start-up replaces the file). The lock lives in the temporary
// folder, keyed by the program folder, because the program folder may be read-only.
class InstanceLock
{
public:
    explicit InstanceLock(const QString &appPfad);
    ~InstanceLock();
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    // false: another running copy holds the lock. The lock is kept until destruction.
    bool tryLock();
    bool isLocked() const { return m_locked; }
    QString lockFilePath() const { return m_path; }

    // What the second copy says before it ends.
    static QString alreadyRunningMessage();

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
    bool m_locked = false;
};
