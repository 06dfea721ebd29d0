#pragma once

#include "jet/JetTable.h"

#include <memory>

// An Access (Jet 3 or Jet 4) file read through libmdb. Opening checks that the file is one the
// program can read (not another format, not protected by a password, not encrypted, not cut
// short) and throws DbError with a German description otherwise. The file is only read.
class JetFile final : public JetRowSource
{
public:
    explicit JetFile(const QString &path);
    ~JetFile() override;
    JetFile(const JetFile &) = delete;
    JetFile &operator=(const JetFile &) = delete;

    int jetVersion() const; // 3 or 4

    QStringList tableNames() override;
    JetTable readTable(const QString &name) override;

    // Hands each row to `sink` as it is read, with the table's name and columns so far; `head`
    // (when given) gets them too, without the rows.
    using RowSink = std::function<void(const JetTable &head, QVariantList &&row)>;
    void readTable(const QString &name, const RowSink &sink, JetTable *head = nullptr);

private:
    struct Handle; // libmdb's, kept out of this header
    QString m_path;
    std::unique_ptr<Handle> m_handle;
};

// Whether the file begins as an Access (Jet or ACE) file does; used before opening it.
bool looksLikeAccessFile(const QString &path);
