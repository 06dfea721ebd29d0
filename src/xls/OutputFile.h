#pragma once

#include "XlsError.h"

#include <cstdint>
#include <string>
#include <vector>

namespace xls {

// A German error for a failed system call on a file or folder (errno value).
Error systemError(int err, const std::string &path);

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
    // As createUnique, but the name is removed at once: the file lives only while open.
    void createAnonymous(const std::string &folder);

    void write(const void *data, std::size_t size);
    void flush();
    std::uint64_t size() const { return m_written; }

    // Reads the whole file from its start in pieces, for copying it elsewhere.
    void copyTo(OutputFile &target);
    // Flushes, forces the data to the disk and closes; errors such as a full disk surface here.
    void commit();
    void close() noexcept;
    const std::string &path() const { return m_path; }
    // The file named in error messages: the one the user asked for, not the temporary one.
    void setShownPath(const std::string &path) { m_shownPath = path; }

private:
    int m_fd = -1;
    std::string m_path;
    std::string m_shownPath;
    std::vector<char> m_buffer;
    std::uint64_t m_written = 0;
};

} // namespace xls
