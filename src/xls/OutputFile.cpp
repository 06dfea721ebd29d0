#include "OutputFile.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <unistd.h>

namespace xls {

namespace {

constexpr std::size_t bufferSize = 1 << 20;

// A name nobody else uses at the moment: process id, a running number and a time stamp.
std::string candidateName(const std::string &folder, unsigned attempt)
{
    static unsigned counter = 0;
    const auto stamp = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    return folder + "/.strivo-" + std::to_string(::getpid()) + "-" + std::to_string(++counter) + "-"
        + std::to_string((stamp + attempt) % 1000000007ULL) + ".tmp";
}

} // namespace

Error systemError(int err, const std::string &path)
{
    const std::string quoted = "'" + path + "'";
    switch (err) {
    case EEXIST:
        return Error(ErrorKind::FileExists,
                     "Die Datei " + quoted
                         + " existiert bereits und wird nicht überschrieben. "
                           "Bitte einen anderen Dateinamen wählen.");
    case ENOENT:
    case ENOTDIR:
        return Error(ErrorKind::FolderMissing, "Der Ordner " + quoted + " existiert nicht.");
    case EACCES:
    case EPERM:
        return Error(ErrorKind::AccessDenied,
                     "Keine Berechtigung, in " + quoted + " zu schreiben.");
    case EROFS:
        return Error(ErrorKind::AccessDenied,
                     "Der Datenträger von " + quoted + " ist schreibgeschützt.");
    case ENOSPC:
    case EDQUOT:
        return Error(ErrorKind::DiskFull,
                     "Nicht genügend Speicherplatz auf dem Datenträger für " + quoted + ".");
    case EFBIG:
        return Error(ErrorKind::DiskFull,
                     "Die Datei " + quoted + " wird zu groß für den Datenträger.");
    case ENAMETOOLONG:
        return Error(ErrorKind::WriteFailed, "Der Dateiname " + quoted + " ist zu lang.");
    default:
        return Error(ErrorKind::WriteFailed,
                     "Fehler beim Schreiben von " + quoted + " (Systemfehler " + std::to_string(err)
                         + ").");
    }
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

void OutputFile::createAnonymous(const std::string &folder)
{
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
    const char *p = m_buffer.data();
    std::size_t left = m_buffer.size();
    while (left > 0) {
        const ssize_t n = ::write(m_fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw systemError(errno, m_shownPath);
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    m_buffer.clear();
}

void OutputFile::copyTo(OutputFile &target)
{
    flush();
    if (::lseek(m_fd, 0, SEEK_SET) < 0)
        throw systemError(errno, m_shownPath);
    std::vector<char> piece(bufferSize);
    for (;;) {
        const ssize_t n = ::read(m_fd, piece.data(), piece.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw systemError(errno, m_shownPath);
        }
        if (n == 0)
            break;
        target.write(piece.data(), static_cast<std::size_t>(n));
    }
}

void OutputFile::commit()
{
    flush();
    if (::fsync(m_fd) != 0)
        throw systemError(errno, m_shownPath);
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
