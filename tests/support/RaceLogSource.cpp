#include "RaceLogSource.h"

#include "TestFolder.h"
#include "common/DbError.h"
#include "data/Sqlite.h"

#include <QFile>
#include <stdexcept>

RaceLogSource::RaceLogSource()
    : RaceLogSource(TestFolder().dbPath())
{
}

RaceLogSource::RaceLogSource(const QString &path)
{
    SqliteDb db(path, SqliteDb::Open::ReadOnly);
    Statement tables(db,
                     "select name from sqlite_master where type = 'table' and name not like "
                     "'sqlite%' order by rowid");
    while (tables.step()) {
        JetTable table;
        table.name = tables.column(0).toString();
        Statement info(db, "select name, type, pk from pragma_table_info(?)");
        info.bind(1, table.name);
        while (info.step()) {
            const QString name = info.column(0).toString();
            const QString type = info.column(1).toString();
            JetType jet = JetType::Text;
            if (info.column(2).toInt() != 0)
                jet = JetType::Integer;
            else if (type == QLatin1String("BOOLEAN"))
                jet = JetType::Bool;
            else if (name == QLatin1String("ad_memo"))
                jet = JetType::Memo;
            table.columns.append({ name, jet });
        }
        Statement rows(db, ("select * from " + table.name).toStdString());
        while (rows.step()) {
            QVariantList row;
            for (int c = 0; c < table.columns.size(); ++c) {
                const QVariant v = rows.column(c);
                row << (table.columns[c].type == JetType::Bool ? QVariant(v.toBool()) : v);
            }
            table.rows.append(row);
        }
        m_tables.append(table);
    }
}

QStringList RaceLogSource::tableNames()
{
    QStringList names;
    for (const JetTable &t : m_tables)
        names << t.name;
    return names;
}

JetTable RaceLogSource::readTable(const QString &name)
{
    if (name.compare(m_failing, Qt::CaseInsensitive) == 0)
        throw DbError(ErrNo::DiskError, QStringLiteral("Die Datei ist verschwunden"));
    return table(name);
}

JetTable &RaceLogSource::table(const QString &name)
{
    for (JetTable &t : m_tables) {
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return t;
    }
    throw std::logic_error("no such table");
}

void RaceLogSource::add(const QString &tableName, const QVariantMap &values)
{
    JetTable &t = table(tableName);
    QVariantList row;
    for (const JetColumn &c : t.columns)
        row << values.value(c.name, c.type == JetType::Bool ? QVariant(false) : QVariant());
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (t.columnIndex(it.key()) < 0)
            throw std::logic_error("no such column");
    }
    t.rows.append(row);
}

void RaceLogSource::dropTable(const QString &name)
{
    m_tables.removeIf([&](const JetTable &t) { return t.name == name; });
}

JetOpener RaceLogSource::opener() const
{
    return [copy = *this](const QString &) -> std::unique_ptr<JetRowSource> {
        return std::make_unique<RaceLogSource>(copy);
    };
}

void writeAccessSignature(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write");
    QByteArray page(4096, '\0');
    page.replace(0, 19, QByteArray("\0\1\0\0Standard Jet DB", 19));
    page[0x14] = 1;
    file.write(page);
}
