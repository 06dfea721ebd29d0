// SPDX-License-Identifier: GPL-3.0-or-later
// strivo-access-reader FILE          the names of the file's tables
// strivo-access-reader FILE TABLE    one table: its columns and rows
//
// Reads an Access (Jet) file with libmdb in a process of its own and writes what it read to
// standard output in the frames of jet/JetWire.h. The program starts it with limits on time and
// memory, because libmdb is not safe against damaged files.
#include "common/DbError.h"
#include "jet/JetFile.h"
#include "jet/JetWire.h"

#include <QFile>

#include <cerrno>
#include <unistd.h>

namespace {

// Frames go out in pieces of this size, so that the program sees progress on a long table.
constexpr qsizetype kChunk = qsizetype(64) * 1024;

class Output
{
public:
    // Standard output is kept for the frames; whatever libmdb prints goes to standard error.
    Output()
        : m_fd(::dup(STDOUT_FILENO))
    {
        ::dup2(STDERR_FILENO, STDOUT_FILENO);
    }

    void add(const QByteArray &frame)
    {
        m_pending += frame;
        if (m_pending.size() >= kChunk)
            flush();
    }

    void flush()
    {
        qsizetype done = 0;
        while (done < m_pending.size()) {
            const ssize_t n
                = ::write(m_fd, m_pending.constData() + done, size_t(m_pending.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                ::_exit(1); // the program has gone
            done += n;
        }
        m_pending.clear();
    }

private:
    int m_fd;
    QByteArray m_pending;
};

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2 && argc != 3)
        return 1;
    Output out;
    try {
        JetFile file(QFile::decodeName(argv[1]));
        if (argc == 2) {
            out.add(jetwire::tablesFrame(file.tableNames()));
        } else {
            JetTable head;
            qsizetype rows = 0;
            bool headSent = false;
            const auto send = [&](const JetTable &table, QVariantList &&row) {
                if (!headSent)
                    out.add(jetwire::headFrame(table));
                headSent = true;
                out.add(jetwire::rowFrame(row));
                ++rows;
            };
            file.readTable(QFile::decodeName(argv[2]), send, &head);
            if (!headSent)
                out.add(jetwire::headFrame(head));
            out.add(jetwire::endFrame(rows));
        }
    } catch (const DbError &e) {
        out.add(jetwire::errorFrame(e));
        out.flush();
        return jetwire::kErrorExit;
    }
    out.flush();
    return 0;
}
