// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fileio/DurableWrite.h"

#include <QString>

#include <string>

// A new content for `target`, written where nobody sees it and put in the target's place only
// when complete: until commit() the target holds what it held before, and a process killed while
// writing leaves no file behind (where the file system has files without a name; elsewhere a
// hidden temporary name that the next export into the folder clears). Failures throw DbError
// with a German description.
class ReplacingFile
{
public:
    explicit ReplacingFile(const QString &target);
    ReplacingFile(const ReplacingFile &) = delete;
    ReplacingFile &operator=(const ReplacingFile &) = delete;

    // A path that reaches the file being written, for writers that open files themselves.
    const std::string &path() const { return m_path; }
    int fd() const { return m_file.fd(); }

    void write(const char *data, std::size_t size);
    // Flushes the file to the disk and gives it the target's name, replacing what was there.
    void commit();

private:
    [[noreturn]] void fail(int err, const std::string &path) const;

    std::string m_target;
    std::string m_staging; // the name the complete file takes before it replaces the target
    std::string m_path;
    fileio::DurableWrite m_file;
};
