#pragma once

#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <QVariantMap>

// A temporary program folder holding a fresh database made from db/schema.sql
// (and db/seed.sql on request), with the folders Export/ and Dokumente/.
class TestFolder
{
public:
    enum class Content { Empty, Seeded };
    explicit TestFolder(Content content = Content::Empty);

    QString path() const { return m_dir.path(); }
    QString dbPath() const { return m_dir.path() + QStringLiteral("/Strivo-DB.mdb"); }
    QString file(const QString &name) const { return m_dir.filePath(name); }

    // Adds a race with the given fields straight into the file; returns its number.
    qlonglong addRace(const QVariantMap &fields) const;
    // Runs SQL on the file (for setting up cases).
    void exec(const QString &sql) const;
    long long count(const QString &table) const;
    // The first row a query with one bound value gives, by column name; empty when none.
    QVariantMap firstRow(const QString &sql, const QVariant &value) const;

    static QString sourceDir();

private:
    QTemporaryDir m_dir;
};
