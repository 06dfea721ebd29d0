#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <sys/types.h>

// Writing files so that they survive a crash or a power cut. Every function that can fail returns
// 0 or the errno value of the failure; each layer turns that into its own error through
// failureOf(), so that all of them judge a system error alike.
namespace fileio {

// What a failed system call means for the user.
enum class Failure {
    Exists, // the name is taken
    Missing, // the file or a folder on its path does not exist
    Denied, // no permission
    ReadOnly, // the medium is write-protected
    NoSpace, // the disk (or the user's quota) is full
    TooLarge, // the file would grow beyond what the system allows
    NameTooLong,
    Other
};

Failure failureOf(int err);

// A file descriptor that closes itself.
class Fd
{
public:
    explicit Fd(int fd = -1)
        : m_fd(fd)
    {
    }
    ~Fd();
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // Takes `fd` over, closing the one held before.
    void reset(int fd = -1);
    // Closing reports late write errors (for example a full disk on network file systems).
    [[nodiscard]] int close();

private:
    int m_fd;
};

// Writes all bytes, continuing after short writes and interruptions. A write that makes no
// progress for a nonzero count means the disk is full (ENOSPC), never a reason to try forever.
[[nodiscard]] int writeAll(int fd, const void *data, std::size_t size);

// The loop of writeAll over any write call (returning bytes written, or -1 with errno set).
using WriteCall = std::function<ssize_t(const char *data, std::size_t size)>;
[[nodiscard]] int writeAllVia(const WriteCall &write, const void *data, std::size_t size);

// Reads up to size bytes, continuing after interruptions; `got` is 0 at the end of the file.
[[nodiscard]] int readSome(int fd, void *data, std::size_t size, std::size_t &got);

// Copies everything from `in` (at its position) to `out`: in the kernel where the file system
// can, otherwise by reading and writing.
[[nodiscard]] int copyContent(int in, int out);

// Forces the file's data to the disk; errors such as a full disk may only surface here.
[[nodiscard]] int syncFile(int fd);

// The folder part of a path ("." for a bare name).
std::string folderOf(const std::string &path);

// Makes new and removed names in a folder durable. Best effort: some file systems refuse to
// sync folders, and the files themselves are complete either way.
bool syncFolder(const std::string &folder);
// The same for the folder that holds a file.
bool syncFolderOf(const std::string &path);
// Forces a file named by its path to the disk; best effort.
bool syncPath(const std::string &path);

// Whether two names lead to one file (through a link, or as two hard links); false when either
// is missing.
bool sameFile(const std::string &a, const std::string &b);

// Gives the file `from` the name `to` without ever replacing a file of that name, even one that
// appears meanwhile (EEXIST then). File systems without an atomic no-replace rename get a hard
// link and the old name removed.
[[nodiscard]] int placeNoReplace(const std::string &from, const std::string &to);

} // namespace fileio
