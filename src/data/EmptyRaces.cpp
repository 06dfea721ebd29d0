#include "data/EmptyRaces.h"

#include "data/Sqlite.h"
#include "model/RaceColumns.h"
#include "model/Records.h"

#include <QStringList>

namespace {

// "Every field null": the condition is made from the table itself, so that a column added
// later cannot hold data that this overlooks. Yes/No columns cannot be null; they hold their
// default No in a row nobody saved.
QString emptyRowCondition(SqliteDb &db)
{
    QStringList terms;
    Statement columns(db,
                      "select name, type, pk from pragma_table_info('"
                          + std::string(RaceColumns::kTable) + "')");
    while (columns.step()) {
        if (columns.column(2).toInt() != 0)
            continue;
        const QString name = QLatin1Char('"') + columns.column(0).toString() + QLatin1Char('"');
        if (columns.column(1).toString().compare(QLatin1String("BOOLEAN"), Qt::CaseInsensitive)
            == 0)
            terms << QStringLiteral("ifnull(%1, 0) = 0").arg(name);
        else
            terms << name + QStringLiteral(" is null");
    }
    terms << QStringLiteral("not exists (select 1 from %1 where val(%2) = %3.%4)")
                 .arg(QLatin1String(DocumentColumns::kTable),
                      QLatin1String(DocumentColumns::kRaceNumber),
                      QLatin1String(RaceColumns::kTable), QLatin1String(RaceColumns::kNumber));
    return terms.join(QStringLiteral(" and "));
}

} // namespace

int removeEmptyRaces(SqliteDb &db)
{
    const std::string condition = emptyRowCondition(db).toStdString();
    // Most starts find none and write nothing.
    const std::string table = RaceColumns::kTable;
    if (db.scalar("select count(*) from " + table + " where " + condition).toInt() == 0)
        return 0;
    int removed = 0;
    inTransaction(db, [&] {
        Statement remove(db,
                         "delete from " + std::string(RaceColumns::kTable) + " where " + condition);
        remove.step();
        removed = db.scalar("select changes()").toInt();
    });
    return removed;
}
