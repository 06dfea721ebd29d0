#pragma once

#include "jet/JetTable.h"

#include <QVariantMap>

// Rows of a race log as the Jet reader delivers them, built by a test or a benchmark: the tables
// of one of our databases with their columns typed as an Access file types them.
class RaceLogSource final : public JetRowSource
{
public:
    // The tables of a new database, without rows.
    RaceLogSource();
    // The tables of the database at `path` with all their rows.
    explicit RaceLogSource(const QString &path);

    QStringList tableNames() override;
    JetTable readTable(const QString &name) override;

    JetTable &table(const QString &name);
    // Adds a row by column name; every other column is null (a Yes/No column false).
    void add(const QString &tableName, const QVariantMap &values);
    void dropTable(const QString &name);
    // Makes every reading of the table fail, as a file that vanished would.
    void failOn(const QString &name) { m_failing = name; }

    // An opener that hands out copies of this source whatever the path.
    JetOpener opener() const;

private:
    QList<JetTable> m_tables;
    QString m_failing;
};

// A file that starts as an Access file does; its content is never read in these tests.
void writeAccessSignature(const QString &path);
