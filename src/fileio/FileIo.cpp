#include "fileio/FileIo.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fileio {

Failure failureOf(int err)
{
    switch (err) {
    case EEXIST:
        return Failure::Exists;
    case ENOENT:
    case ENOTDIR:
        return Failure::Missing;
    case EACCES:
    case EPERM:
        return Failure::Denied;
    case EROFS:
        return Failure::ReadOnly;
    case ENOSPC:
    case EDQUOT:
        return Failure::NoSpace;
    case EFBIG:
        return Failure::TooLarge;
    case ENAMETOOLONG:
        return Failure::NameTooLong;
    default:
        return Failure::Other;
    }
}

Fd::~Fd()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void Fd::reset(int fd)
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd;
}

int Fd::close()
{
    const int fd = m_fd;
    m_fd = -1;
    return ::close(fd) == 0 ? 0 : errno;
}

int writeAllVia(const WriteCall &write, const void *data, std::size_t size)
{
    const char *p = static_cast<const char *>(data);
    while (size > 0) {
        const ssize_t n = write(p, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return ENOSPC;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return 0;
}

int writeAll(int fd, const void *data, std::size_t size)
{
    return writeAllVia([fd](const char *p, std::size_t n) { return ::write(fd, p, n); }, data,
                       size);
}

int readSome(int fd, void *data, std::size_t size, std::size_t &got)
{
    for (;;) {
        const ssize_t n = ::read(fd, data, size);
        if (n >= 0) {
            got = static_cast<std::size_t>(n);
            return 0;
        }
        if (errno != EINTR)
            return errno;
    }
}

int copyContent(int in, int out)
{
    for (;;) {
        const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0);
        if (n > 0)
            continue;
        if (n == 0)
            return 0;
        if (errno == EINTR)
            continue;
        if (errno == EXDEV || errno == ENOSYS || errno == EOPNOTSUPP || errno == EINVAL)
            break;
        return errno;
    }
    std::vector<char> buffer(1 << 20);
    for (;;) {
        std::size_t got = 0;
        if (const int err = readSome(in, buffer.data(), buffer.size(), got))
            return err;
        if (got == 0)
            return 0;
        if (const int err = writeAll(out, buffer.data(), got))
            return err;
    }
}

int syncFile(int fd)
{
    return ::fsync(fd) == 0 ? 0 : errno;
}

namespace {

bool syncOpened(const std::string &path, int flags)
{
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | flags));
    return fd.valid() && syncFile(fd.get()) == 0;
}

} // namespace

bool syncFolder(const std::string &folder)
{
    return syncOpened(folder, O_DIRECTORY);
}

std::string folderOf(const std::string &path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool syncFolderOf(const std::string &path)
{
    return syncFolder(folderOf(path));
}

bool syncPath(const std::string &path)
{
    return syncOpened(path, 0);
}

int placeNoReplace(const std::string &from, const std::string &to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return errno;
    // A hard link fails just as safely on a name in use.
    if (::link(from.c_str(), to.c_str()) != 0)
        return errno;
    ::unlink(from.c_str());
    return 0;
}

bool sameFile(const std::string &a, const std::string &b)
{
    struct stat first
    {
    }, second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0
        && first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

} // namespace fileio
