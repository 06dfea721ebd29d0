#include "TestFolder.h"

#include "data/MakeDb.h"
#include "data/Sqlite.h"

#include <QDir>
#include <stdexcept>

QString TestFolder::sourceDir()
{
    return QStringLiteral(STRIVO_SOURCE_DIR);
}

TestFolder::TestFolder(Content content)
{
    if (!m_dir.isValid())
        throw std::runtime_error("no temporary folder");
    QStringList scripts { sourceDir() + QStringLiteral("/db/schema.sql") };
    if (content == Content::Seeded)
        scripts << sourceDir() + QStringLiteral("/db/seed.sql");
    makeDatabase(dbPath(), scripts);
    QDir(path()).mkdir(QStringLiteral("Export"));
    QDir(path()).mkdir(QStringLiteral("Dokumente"));
}

qlonglong TestFolder::addRace(const QVariantMap &fields) const
{
    SqliteDb db(dbPath(), SqliteDb::Open::ReadWrite);
    QStringList names, marks;
    for (auto it = fields.begin(); it != fields.end(); ++it) {
        names << it.key();
        marks << QStringLiteral("?");
    }
    const QString sql = names.isEmpty() ? QStringLiteral("insert into adressen default values")
                                        : QStringLiteral("insert into adressen (%1) values (%2)")
                                              .arg(names.join(u','), marks.join(u','));
    Statement st(db, sql.toStdString());
    int i = 1;
    for (const QVariant &v : fields)
        st.bind(i++, v);
    st.step();
    return db.scalar("select last_insert_rowid()").toLongLong();
}

void TestFolder::exec(const QString &sql) const
{
    SqliteDb db(dbPath(), SqliteDb::Open::ReadWrite);
    db.runScript(sql.toStdString());
}

long long TestFolder::count(const QString &table) const
{
    SqliteDb db(dbPath(), SqliteDb::Open::ReadOnly);
    return db.scalar(("select count(*) from " + table).toStdString()).toLongLong();
}

QVariantMap TestFolder::firstRow(const QString &sql, const QVariant &value) const
{
    SqliteDb db(dbPath(), SqliteDb::Open::ReadOnly);
    Statement st(db, sql.toStdString());
    st.bind(1, value);
    QVariantMap values;
    if (st.step())
        for (int c = 0; c < st.columnCount(); ++c)
            values.insert(st.columnName(c), st.column(c));
    return values;
}
