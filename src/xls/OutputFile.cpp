#include "xls/OutputFile.h"

#include "fileio/FileIo.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace xls {

namespace {

constexpr std::size_t bufferSize = 1 << 20;
// Write-back of a file synced in the end starts every few MB, and a copy goes in such pieces.
constexpr std::uint64_t writeBackStep = 4 << 20;

const std::string temporaryPrefix = ".strivo-";
const std::string temporarySuffix = ".tmp";

// A name nobody else uses at the moment: process id, a running number and a time stamp.
std::string candidateName(const std::string &folder, unsigned attempt)
{
    static unsigned counter = 0;
    const auto stamp = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    return folder + "/" + temporaryPrefix + std::to_string(::getpid()) + "-"
        + std::to_string(++counter) + "-" + std::to_string((stamp + attempt) % 1000000007ULL)
        + temporarySuffix;
}

// The process that made a temporary name, or 0 when the name is not one of ours.
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

Error systemError(int err, const std::string &path)
{
    const std::string quoted = "'" + path + "'";
    switch (fileio::failureOf(err)) {
    case fileio::Failure::Exists:
        return Error(ErrorKind::FileExists,
                     "Die Datei " + quoted
                         + " existiert bereits und wird nicht überschrieben. "
                           "Bitte einen anderen Dateinamen wählen.");
    case fileio::Failure::Missing:
        return Error(ErrorKind::FolderMissing, "Der Ordner " + quoted + " existiert nicht.");
    case fileio::Failure::Denied:
        return Error(ErrorKind::AccessDenied,
                     "Keine Berechtigung, in " + quoted + " zu schreiben.");
    case fileio::Failure::ReadOnly:
        return Error(ErrorKind::AccessDenied,
                     "Der Datenträger von " + quoted + " ist schreibgeschützt.");
    case fileio::Failure::NoSpace:
        return Error(ErrorKind::DiskFull,
                     "Nicht genügend Speicherplatz auf dem Datenträger für " + quoted + ".");
    case fileio::Failure::TooLarge:
        return Error(ErrorKind::DiskFull,
                     "Die Datei " + quoted + " wird zu groß für den Datenträger.");
    case fileio::Failure::NameTooLong:
        return Error(ErrorKind::WriteFailed, "Der Dateiname " + quoted + " ist zu lang.");
    case fileio::Failure::Other:
        break;
    }
    return Error(ErrorKind::WriteFailed,
                 "Fehler beim Schreiben von " + quoted + " (Systemfehler " + std::to_string(err)
                     + ").");
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

OutputFile::~OutputFile()
{
    close();
}

void OutputFile::createUnique(const std::string &folder)
{
    // O_EXCL never opens an existing file; mode 0666 lets the umask decide, as for any
    // file the user saves.
    for (unsigned attempt = 0;; ++attempt) {
        std::string name = candidateName(folder, attempt);
        m_fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd >= 0) {
            m_path = std::move(name);
            break;
        }
        if (errno != EEXIST || attempt == 100)
            throw systemError(errno, folder);
    }
    m_buffer.reserve(bufferSize);
}

bool OutputFile::createUnnamed(const std::string &folder)
{
    if (!canLinkUnnamedFiles())
        return false;
    m_fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    if (m_fd < 0) {
        // Older kernels take the flag for O_DIRECTORY; some file systems refuse it.
        if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)
            return false;
        throw systemError(errno, folder);
    }
    m_path.clear();
    m_buffer.reserve(bufferSize);
    return true;
}

void OutputFile::createAnonymous(const std::string &folder)
{
    if (createUnnamed(folder))
        return;
    createUnique(folder);
    ::unlink(m_path.c_str());
    m_path.clear();
}

void OutputFile::write(const void *data, std::size_t size)
{
    const char *bytes = static_cast<const char *>(data);
    if (m_buffer.size() + size > bufferSize)
        flush();
    if (size >= bufferSize) {
        m_buffer.assign(bytes, bytes + size);
        flush();
    } else {
        m_buffer.insert(m_buffer.end(), bytes, bytes + size);
    }
    m_written += size;
}

void OutputFile::flush()
{
    if (const int err = fileio::writeAll(m_fd, m_buffer.data(), m_buffer.size()))
        throw systemError(err, m_shownPath);
    m_flushed += m_buffer.size();
    m_buffer.clear();
    startWriteBack();
}

void OutputFile::startWriteBack()
{
    if (!m_writeBackEarly || m_flushed - m_writeBackFrom < writeBackStep)
        return;
    // Only a start: a failure shows in the final sync, which judges the file.
    ::sync_file_range(m_fd, static_cast<off_t>(m_writeBackFrom),
                      static_cast<off_t>(m_flushed - m_writeBackFrom), SYNC_FILE_RANGE_WRITE);
    m_writeBackFrom = m_flushed;
}

void OutputFile::copyTo(OutputFile &target)
{
    flush();
    target.flush();
    if (::lseek(m_fd, 0, SEEK_SET) < 0)
        throw systemError(errno, m_shownPath);
    // In pieces, so that the target's write-back starts while the rest is copied.
    std::uint64_t left = m_flushed;
    while (left > 0) {
        const ssize_t n = ::copy_file_range(m_fd, nullptr, target.m_fd, nullptr,
                                            std::min<std::uint64_t>(left, writeBackStep), 0);
        if (n > 0) {
            left -= static_cast<std::uint64_t>(n);
            target.m_written += static_cast<std::uint64_t>(n);
            target.m_flushed += static_cast<std::uint64_t>(n);
            target.startWriteBack();
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || errno == EXDEV || errno == ENOSYS || errno == EOPNOTSUPP || errno == EINVAL)
            break; // the rest by reading and writing
        throw systemError(errno, target.m_shownPath);
    }
    std::vector<char> piece(left > 0 ? bufferSize : 0);
    while (left > 0) {
        std::size_t got = 0;
        if (const int err = fileio::readSome(m_fd, piece.data(), piece.size(), got))
            throw systemError(err, m_shownPath);
        if (got == 0)
            break;
        if (const int err = fileio::writeAll(target.m_fd, piece.data(), got))
            throw systemError(err, target.m_shownPath);
        left -= std::min<std::uint64_t>(left, got);
        target.m_written += got;
        target.m_flushed += got;
        target.startWriteBack();
    }
}

void OutputFile::sync()
{
    flush();
    if (const int err = fileio::syncFile(m_fd))
        throw systemError(err, m_shownPath);
}

void OutputFile::linkAs(const std::string &path)
{
    const std::string self = "/proc/self/fd/" + std::to_string(m_fd);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) != 0)
        throw systemError(errno, path);
    m_path = path;
}

void OutputFile::commit()
{
    sync();
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        throw systemError(errno, m_shownPath);
}

void OutputFile::close() noexcept
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

} // namespace xls
