#include "fileio/DurableWrite.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace fileio {

namespace {

const std::string temporaryPrefix = ".strivo-";
const std::string temporarySuffix = ".tmp";

// A name nobody else uses at the moment: process id, a running number and a time stamp.
std::string uniqueName(const std::string &folder, unsigned attempt)
{
    static unsigned counter = 0;
    const auto stamp = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    return folder + "/" + temporaryPrefix + std::to_string(::getpid()) + "-"
        + std::to_string(++counter) + "-" + std::to_string((stamp + attempt) % 1000000007ULL)
        + temporarySuffix;
}

// The process that made a unique name, or 0 when the name is not one of ours.
pid_t ownerOf(const std::string &name)
{
    if (name.size() <= temporaryPrefix.size() + temporarySuffix.size()
        || name.compare(0, temporaryPrefix.size(), temporaryPrefix) != 0
        || name.compare(name.size() - temporarySuffix.size(), temporarySuffix.size(),
                        temporarySuffix)
            != 0)
        return 0;
    pid_t pid = 0;
    std::size_t i = temporaryPrefix.size();
    for (; i < name.size() && name[i] >= '0' && name[i] <= '9' && pid < 100'000'000; ++i)
        pid = pid * 10 + (name[i] - '0');
    return i < name.size() && name[i] == '-' ? pid : 0;
}

// Naming an unnamed file goes through its entry in /proc, which may be missing.
bool canLinkUnnamedFiles()
{
    return ::access("/proc/self/fd", X_OK) == 0;
}

} // namespace

DurableWrite::~DurableWrite()
{
    discard();
}

int DurableWrite::openNamed(const std::string &path, mode_t mode)
{
    // O_EXCL never opens an existing file, nor follows a link.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0)
        return errno;
    m_fd.reset(fd);
    m_temporary = path;
    return 0;
}

int DurableWrite::openUnnamed(const std::string &folder, mode_t mode, bool &opened)
{
    opened = false;
    if (!canLinkUnnamedFiles())
        return 0;
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, mode);
    if (fd < 0) {
        // Older kernels take the flag for O_DIRECTORY; some file systems refuse it.
        if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)
            return 0;
        return errno;
    }
    m_fd.reset(fd);
    m_temporary.clear();
    opened = true;
    return 0;
}

int DurableWrite::open(const std::string &target, Temporary temporary, mode_t mode)
{
    discard();
    m_target = target;
    const std::string folder = folderOf(target);
    if (temporary == Temporary::Fixed) {
        // A leftover under the name may be a link: writing through it could reach any file.
        const std::string name = target + temporarySuffix;
        if (::unlink(name.c_str()) != 0 && errno != ENOENT)
            return errno;
        return openNamed(name, mode);
    }
    if (temporary == Temporary::UnnamedOrUnique) {
        bool opened = false;
        if (const int err = openUnnamed(folder, mode, opened); err != 0 || opened)
            return err;
    }
    for (unsigned attempt = 0;; ++attempt) {
        const int err = openNamed(uniqueName(folder, attempt), mode);
        if (err != EEXIST || attempt == 100)
            return err;
    }
}

int DurableWrite::openScratch(const std::string &folder)
{
    bool opened = false;
    if (const int err = openUnnamed(folder, 0666, opened); err != 0 || opened) {
        m_target.clear();
        return err;
    }
    if (const int err = open(folder + "/", Temporary::Unique))
        return err;
    ::unlink(m_temporary.c_str());
    m_temporary.clear();
    m_target.clear();
    return 0;
}

int DurableWrite::write(const void *data, std::size_t size)
{
    return writeAll(m_fd.get(), data, size);
}

int DurableWrite::commit(Naming naming, Flush flush, const std::function<void()> &beforeNaming)
{
    if (flush == Flush::Now) {
        if (const int err = sync())
            return err;
    }
    if (m_temporary.empty()) {
        // A file without a name gets one through its /proc entry; a link never replaces a file.
        if (beforeNaming)
            beforeNaming();
        const std::string self = "/proc/self/fd/" + std::to_string(m_fd.get());
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, m_target.c_str(), AT_SYMLINK_FOLLOW) != 0)
            return errno;
        m_fd.reset(); // the content is named and, with Flush::Now, on the disk already
    } else {
        if (const int err = m_fd.close())
            return err;
        if (beforeNaming)
            beforeNaming();
        const int err = naming == Naming::Replace
            ? (std::rename(m_temporary.c_str(), m_target.c_str()) == 0 ? 0 : errno)
            : placeNoReplace(m_temporary, m_target);
        if (err != 0)
            return err;
        m_temporary.clear();
    }
    if (flush == Flush::Now)
        syncFolderOf(m_target);
    return 0;
}

void DurableWrite::discard() noexcept
{
    m_fd.reset();
    if (!m_temporary.empty())
        ::unlink(m_temporary.c_str());
    m_temporary.clear();
}

void removeAbandonedTemporaries(const std::string &folder)
{
    DIR *dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent *entry = ::readdir(dir)) {
        const pid_t owner = ownerOf(entry->d_name);
        if (owner > 0 && owner != ::getpid() && ::kill(owner, 0) != 0 && errno == ESRCH)
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

} // namespace fileio
