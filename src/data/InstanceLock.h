#pragma once

#include <QString>

#include <sys/types.h>

// Keeps a second copy of the program, started on the same program folder, from working on the
// database under the first one (start-up replaces the file), and a second launcher from making
// the first database under the first one. The lock lives in the temporary folder, keyed by the
// program folder, because the program folder may be read-only. It is a lock the system drops
// when its process ends, however it ends; the file itself is removed on a normal end.
class InstanceLock
{
public:
    explicit InstanceLock(const QString &appPfad);
    ~InstanceLock();
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    // false: another running copy holds the lock. The lock is kept until destruction. A lock
    // that the launcher passed on for this folder is taken over.
    bool tryLock();
    bool isLocked() const { return m_fd >= 0; }
    QString lockFilePath() const { return m_path; }

    // For the launcher, just before it execs the program: the held lock stays held across the
    // exec, and the program's tryLock() takes it over, so no other launcher can come between.
    void passOnAcrossExec();

    // Removes the lock file and lets go of the lock.
    void release();

    // What the second copy says before it ends.
    static QString alreadyRunningMessage();

private:
    bool takeOverPassedLock();

    QString m_path;
    int m_fd = -1;
    pid_t m_owner = 0;
};
