#include "data/PlaceNameIndex.h"

#include "data/Sqlite.h"

namespace PlaceNameIndex {

namespace {
const char *const kIndexName = "aw_plzort_anfang";
const char *const kTable = "aw_plzort";
const char *const kColumn = "port";
} // namespace

QString keyExpression(const QString &column)
{
    return QStringLiteral("hex(substr(cast(%1 as blob), 1, 1))").arg(column);
}

QString leadByteCondition(const QString &column, const std::bitset<256> &bytes)
{
    if (bytes.all())
        return {};
    // One list of keys: each is looked up once, and no row can come twice (as from ranges
    // joined by "or", which SQLite would have to tell apart row by row).
    QStringList keys = { QStringLiteral("''") };
    for (int b = 0; b < 256; ++b)
        if (bytes[size_t(b)])
            keys << QStringLiteral("'%1'").arg(b, 2, 16, QLatin1Char('0')).toUpper();
    return keyExpression(column) + QStringLiteral(" in (") + keys.join(QStringLiteral(", ")) + u')';
}

QStringList indexedColumns(SqliteDb &db, const QString &table)
{
    if (table.compare(QLatin1String(kTable), Qt::CaseInsensitive) != 0)
        return {};
    {
        Statement index(db, "select 1 from sqlite_master where type = 'index' and name = ?");
        index.bind(1, QString::fromLatin1(kIndexName));
        if (!index.step())
            return {};
    }
    Statement info(db, std::string("pragma table_info(") + kTable + ")");
    while (info.step()) {
        if (info.column(1).toString().compare(QLatin1String(kColumn), Qt::CaseInsensitive) != 0)
            continue;
        // Text affinity by SQLite's rule for a declared type (INT first, then CHAR, CLOB or
        // TEXT): a number stored there becomes a text, so its first byte is the one left() sees.
        const QString type = info.column(2).toString().toUpper();
        if (!type.contains(QLatin1String("INT"))
            && (type.contains(QLatin1String("CHAR")) || type.contains(QLatin1String("CLOB"))
                || type.contains(QLatin1String("TEXT"))))
            return { QString::fromLatin1(kColumn) };
    }
    return {};
}

void ensure(SqliteDb &db)
{
    const std::string name = kIndexName;
    const std::string column = kColumn;
    const std::string key = keyExpression(QString::fromStdString(column)).toStdString();
    // The name rides along, so a search never visits the table. Partial (every name that is
    // there): SQLite reads it only for a condition on the key, so every other statement on the
    // directory keeps the plan it had, and with it the order of names that sort alike.
    createIndexOnce(db, name,
                    "create index " + name + " on " + kTable + "(" + key + ", " + column
                        + ") where " + key + " is not null");
}

} // namespace PlaceNameIndex
