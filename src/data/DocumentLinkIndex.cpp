#include "data/DocumentLinkIndex.h"

#include "data/Sqlite.h"

namespace DocumentLinkIndex {

QString keyExpression(const QString &column)
{
    // Up to 15 digits val() reads exactly, so equal keys and equal numbers are the same thing.
    return QStringLiteral("(case when %1 glob '[1-9]*' and not %1 glob '*[^0-9]*' and "
                          "length(%1) <= 15 then %1 end)")
        .arg(column);
}

QString numberCondition(const QString &column, const QString &number)
{
    const QString key = keyExpression(column);
    return QStringLiteral("(%1 = '%3' or (%1 is null and val(%2) = %3))").arg(key, column, number);
}

void ensure(SqliteDb &db)
{
    const std::string name = "ereignisse_dokumente_nummer";
    createIndexOnce(db, name,
                    "create index " + name + " on ereignisse_dokumente("
                        + keyExpression(QStringLiteral("ed_nummer")).toStdString() + ")");
}

} // namespace DocumentLinkIndex
