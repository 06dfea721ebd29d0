#pragma once

#include "xls/XlsError.h"

#include <cstdint>
#include <string>
#include <vector>

namespace xls {

// A German error for a failed system call on a file or folder (errno value).
Error systemError(int err, const std::string &path);

// Removes temporary workbooks that exports of processes no longer running left in the folder
// (on file systems without unnamed files, a killed export leaves its named one).
void removeAbandonedTemporaries(const std::string &folder);

// A buffered POSIX file descriptor that turns every failure into an xls::Error.
class OutputFile
{
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    // A new file with a unique name in the folder; path() tells which.
    void createUnique(const std::string &folder);
    // A file without a name in the folder, which lives only while open; false where the file
    // system cannot make one (nothing is opened then). linkAs() names it when it is complete,
    // so that a process killed before leaves nothing behind.
    bool createUnnamed(const std::string &folder);
    // As createUnnamed, or else a unique name that is removed at once.
    void createAnonymous(const std::string &folder);

    // Hands every flushed part to the disk at once, so that the final sync finds little left to
    // write. Only for files that are synced in the end: it costs disk work for the others.
    void writeBackEarly() { m_writeBackEarly = true; }

    void write(const void *data, std::size_t size);
    void flush();
    std::uint64_t size() const { return m_written; }

    // Appends the whole file to target, in the kernel where the file system can.
    void copyTo(OutputFile &target);
    // Flushes and forces the data to the disk; errors such as a full disk surface here.
    void sync();
    // Gives an unnamed file its name; never replaces a file (ErrorKind::FileExists).
    void linkAs(const std::string &path);
    // sync() and close, reporting a failure to close.
    void commit();
    void close() noexcept;
    const std::string &path() const { return m_path; }
    // The file named in error messages: the one the user asked for, not the temporary one.
    void setShownPath(const std::string &path) { m_shownPath = path; }

private:
    void startWriteBack();

    int m_fd = -1;
    std::string m_path;
    std::string m_shownPath;
    std::vector<char> m_buffer;
    std::uint64_t m_written = 0;
    std::uint64_t m_flushed = 0; // handed to the system
    std::uint64_t m_writeBackFrom = 0; // where write-back has not been started yet
    bool m_writeBackEarly = false;
};

} // namespace xls
