#pragma once

#include "fileio/FileIo.h"

#include <cstddef>
#include <functional>
#include <string>
#include <sys/types.h>

namespace fileio {

// A new file, or a new content for one, written under a temporary name beside its target and
// given the target's name only when it is complete and on the disk: the target holds its old
// content or all of the new one at every moment, and a process killed while writing leaves at
// most a temporary name behind (removeAbandonedTemporaries() clears unique ones). A temporary
// name is never written through a link: it is removed first and made with O_EXCL. Failures are
// errno values, judged by failureOf() like every other here.
class DurableWrite
{
public:
    enum class Temporary {
        Fixed, // the target's name with ".tmp"
        Unique, // a name of this process in the target's folder
        UnnamedOrUnique, // a file without a name where the file system has them, else Unique
    };
    enum class Naming { Replace, KeepExisting };
    enum class Flush {
        Now, // the content and the name reach the disk before commit() returns
        Later, // the caller flushes the target before anything relies on it
    };

    DurableWrite() = default;
    // A file not committed is closed and its temporary name removed.
    ~DurableWrite();
    DurableWrite(const DurableWrite &) = delete;
    DurableWrite &operator=(const DurableWrite &) = delete;

    // Opens the temporary file for `target`; mode 0666 lets the umask decide.
    [[nodiscard]] int open(const std::string &target, Temporary temporary, mode_t mode = 0666);
    // A scratch file in `folder` that never gets a name and is gone once closed.
    [[nodiscard]] int openScratch(const std::string &folder);

    int fd() const { return m_fd.get(); }
    bool isOpen() const { return m_fd.valid(); }
    // Where the content is written until commit(); empty for a file without a name.
    const std::string &temporaryPath() const { return m_temporary; }

    [[nodiscard]] int write(const void *data, std::size_t size);
    // Forces the content written so far to the disk.
    [[nodiscard]] int sync() { return syncFile(m_fd.get()); }

    // Closes the file and gives it the target's name. `beforeNaming` runs between the two.
    [[nodiscard]] int commit(Naming naming, Flush flush = Flush::Now,
                             const std::function<void()> &beforeNaming = {});
    // Closes the file and removes its temporary name.
    void discard() noexcept;

private:
    [[nodiscard]] int openNamed(const std::string &path, mode_t mode);
    [[nodiscard]] int openUnnamed(const std::string &folder, mode_t mode, bool &opened);

    Fd m_fd;
    std::string m_target;
    std::string m_temporary;
};

// Removes the unique temporary names that writers of processes no longer running left in the
// folder.
void removeAbandonedTemporaries(const std::string &folder);

} // namespace fileio
