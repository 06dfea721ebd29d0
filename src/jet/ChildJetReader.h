#pragma once

#include "jet/JetTable.h"

#include <chrono>

// What the reader process may use before it counts as stuck on a damaged file.
struct ReaderLimits
{
    std::chrono::milliseconds quiet { 60000 }; // without a byte of output
    qint64 addressSpace = qint64(1) << 30;
    qint64 output = qint64(256) << 20;
    int cpuSeconds = 600; // ends a reader that outlives the program
};

// An Access file read by the program's reader `strivo-access-reader` in a process of its own:
// libmdb is not safe against damaged files, and a crash, an endless loop or memory without end
// there must not take the program down. Everything the reader hands back is checked. Errors the
// reader reports (no Access file, password, encrypted, damaged) arrive as they were raised; a
// reader that crashes, hangs, exceeds its limits or answers nonsense gives DbError with a German
// message "Die Access-Datei ist beschädigt und kann nicht gelesen werden …".
class ChildJetReader final : public JetRowSource
{
public:
    // Opening lists the tables, so the checks of the file happen here.
    explicit ChildJetReader(const QString &path, const ReaderLimits &limits = {},
                            const QString &program = accessReaderProgram());

    QStringList tableNames() override;
    JetTable readTable(const QString &name) override;

    // Beside the program (build/bin), else where the package puts it (<prefix>/libexec/strivo);
    // STRIVO_ACCESS_READER names another.
    static QString accessReaderProgram();

private:
    struct Answer
    {
        QByteArray bytes;
        bool finished = false; // the reader ended by itself, after its answer or its error
    };
    Answer run(const QStringList &arguments) const;
    template<typename Decode> auto checked(const Answer &answer, Decode decode) const;

    QString m_path;
    ReaderLimits m_limits;
    QString m_program;
    QStringList m_tables;
};

// The opener the program uses: a ChildJetReader with the usual limits.
std::unique_ptr<JetRowSource> openJetFile(const QString &path);
