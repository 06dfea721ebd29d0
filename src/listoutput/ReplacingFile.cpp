// SPDX-License-Identifier: GPL-3.0-or-later
#include "listoutput/ReplacingFile.h"

#include "data/WorkbookExport.h"
#include "xls/OutputFile.h"

#include <QFile>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace {
// Shaped like the file layer's own temporary names, so that removeAbandonedTemporaries() knows
// whose it is.
std::string stagingName(const std::string &folder)
{
    static std::atomic<unsigned> counter = 0;
    return folder + "/.strivo-" + std::to_string(::getpid()) + "-liste-" + std::to_string(++counter)
        + ".tmp";
}
} // namespace

ReplacingFile::ReplacingFile(const QString &target)
    : m_target(QFile::encodeName(target).toStdString())
{
    const std::string folder = fileio::folderOf(m_target);
    fileio::removeAbandonedTemporaries(folder);
    m_staging = stagingName(folder);
    if (const int err = m_file.open(m_staging, fileio::DurableWrite::Temporary::UnnamedOrUnique))
        fail(err, folder);
    m_path = m_file.temporaryPath().empty() ? "/proc/self/fd/" + std::to_string(m_file.fd())
                                            : m_file.temporaryPath();
}

void ReplacingFile::fail(int err, const std::string &path) const
{
    throw toDbError(xls::systemError(err, path));
}

void ReplacingFile::write(const char *data, std::size_t size)
{
    if (const int err = m_file.write(data, size))
        fail(err, m_target);
}

void ReplacingFile::commit()
{
    // A name of its own first: a file without a name can be linked to a free name only, and the
    // rename then replaces the target in one step.
    if (const int err = m_file.commit(fileio::DurableWrite::Naming::KeepExisting))
        fail(err, m_target);
    if (std::rename(m_staging.c_str(), m_target.c_str()) != 0) {
        const int err = errno;
        ::unlink(m_staging.c_str());
        fail(err, m_target);
    }
    fileio::syncFolderOf(m_target);
}
