#include "xls/OutputFile.h"

#include "fileio/FileIo.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace xls {

namespace {

constexpr std::size_t bufferSize = 1 << 20;
// Write-back of a file synced in the end starts every few MB, and a copy goes in such pieces.
constexpr std::uint64_t writeBackStep = 4 << 20;

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

OutputFile::~OutputFile()
{
    close();
}

void OutputFile::createFor(const std::string &target)
{
    if (const int err = m_file.open(target, fileio::DurableWrite::Temporary::UnnamedOrUnique))
        throw systemError(err, fileio::folderOf(target));
    m_buffer.reserve(bufferSize);
}

void OutputFile::createScratch(const std::string &folder)
{
    if (const int err = m_file.openScratch(folder))
        throw systemError(err, folder);
    m_buffer.reserve(bufferSize);
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
    if (const int err = m_file.write(m_buffer.data(), m_buffer.size()))
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
    ::sync_file_range(m_file.fd(), static_cast<off_t>(m_writeBackFrom),
                      static_cast<off_t>(m_flushed - m_writeBackFrom), SYNC_FILE_RANGE_WRITE);
    m_writeBackFrom = m_flushed;
}

void OutputFile::copyTo(OutputFile &target)
{
    flush();
    target.flush();
    if (::lseek(m_file.fd(), 0, SEEK_SET) < 0)
        throw systemError(errno, m_shownPath);
    // In pieces, so that the target's write-back starts while the rest is copied.
    std::uint64_t left = m_flushed;
    while (left > 0) {
        const ssize_t n = ::copy_file_range(m_file.fd(), nullptr, target.m_file.fd(), nullptr,
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
        if (const int err = fileio::readSome(m_file.fd(), piece.data(), piece.size(), got))
            throw systemError(err, m_shownPath);
        if (got == 0)
            break;
        if (const int err = target.m_file.write(piece.data(), got))
            throw systemError(err, target.m_shownPath);
        left -= std::min<std::uint64_t>(left, got);
        target.m_written += got;
        target.m_flushed += got;
        target.startWriteBack();
    }
}

void OutputFile::commit()
{
    flush();
    if (const int err = m_file.commit(fileio::DurableWrite::Naming::KeepExisting))
        throw systemError(err, m_shownPath);
}

void OutputFile::close() noexcept
{
    m_file.discard();
}

} // namespace xls
