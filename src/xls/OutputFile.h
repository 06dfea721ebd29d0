#pragma once

#include "fileio/DurableWrite.h"
#include "xls/XlsError.h"

#include <cstdint>
#include <string>
#include <vector>

namespace xls {

// A German error for a failed system call on a file or folder (errno value).
Error systemError(int err, const std::string &path);

// A buffered file written durably (fileio::DurableWrite) that turns every failure into an
// xls::Error.
class OutputFile
{
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    // The file that becomes `target` on commit(); it never replaces a file. Where the file
    // system allows, it has no name until then, so that a process killed before leaves nothing.
    void createFor(const std::string &target);
    // A scratch file in the folder that never gets a name and is gone once closed.
    void createScratch(const std::string &folder);

    // Hands every flushed part to the disk at once, so that the final sync finds little left to
    // write. Only for files that are synced in the end: it costs disk work for the others.
    void writeBackEarly() { m_writeBackEarly = true; }

    void write(const void *data, std::size_t size);
    void flush();
    std::uint64_t size() const { return m_written; }

    // Appends the whole file to target, in the kernel where the file system can.
    void copyTo(OutputFile &target);
    // Flushes, forces the data to the disk (errors such as a full disk surface here) and gives
    // the file its name; never replaces a file (ErrorKind::FileExists).
    void commit();
    void close() noexcept;
    // The file named in error messages: the one the user asked for, not the temporary one.
    void setShownPath(const std::string &path) { m_shownPath = path; }

private:
    void startWriteBack();

    fileio::DurableWrite m_file;
    std::string m_shownPath;
    std::vector<char> m_buffer;
    std::uint64_t m_written = 0;
    std::uint64_t m_flushed = 0; // handed to the system
    std::uint64_t m_writeBackFrom = 0; // where write-back has not been started yet
    bool m_writeBackEarly = false;
};

} // namespace xls
