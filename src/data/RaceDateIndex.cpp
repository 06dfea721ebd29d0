#include "data/RaceDateIndex.h"

#include "data/Sqlite.h"
#include "model/RaceColumns.h"

namespace RaceDateIndex {

namespace {
const char *const kIndexName = "adressen_laufdatum";
}

QString keyExpression(const QString &column)
{
    const QString iso
        = QStringLiteral("substr(%1,7,4)||'-'||substr(%1,4,2)||'-'||substr(%1,1,2)").arg(column);
    // date() with a modifier rolls 31.02. over into March, so a date is valid only when it comes
    // back unchanged; the year 0000 exists for SQLite but not for the program's date functions.
    return QStringLiteral("(case when %1 glob '[0-9][0-9].[0-9][0-9].[0-9][0-9][0-9][0-9]' "
                          "and substr(%1,7,4)<>'0000' and date(%2,'+0 days')=%2 "
                          "then substr(%1,7,4)||substr(%1,4,2)||substr(%1,1,2) end)")
        .arg(column, iso);
}

QString keyLiteral(const QDate &date)
{
    return u'\'' + date.toString(QStringLiteral("yyyyMMdd")) + u'\'';
}

void ensure(SqliteDb &db)
{
    // Latest first and, within a day, by number: the order of the lists, so that they never
    // sort. The columns the list filters read ride along, so that a list never visits the
    // table for the rows it leaves out.
    using namespace RaceColumns;
    const QStringList covered { kNumber, kName,     kRegistered,   kNoted,        kRun,
                                kPaid,   kReminder, kReminderDate, kOnStartScreen };
    const std::string create = "create index " + std::string(kIndexName) + " on " + kTable + "("
        + keyExpression(QLatin1String(kDate)).toStdString() + " desc, "
        + covered.join(QStringLiteral(", ")).toStdString() + ")";
    createIndexOnce(db, kIndexName, create);
}

bool hasIrregularDates(SqliteDb &db)
{
    using namespace RaceColumns;
    return !db.scalar("select 1 from " + std::string(kTable) + " where "
                      + keyExpression(QLatin1String(kDate)).toStdString()
                      + " is null and day_number(" + kDate + ") is not null limit 1")
                .isNull();
}

} // namespace RaceDateIndex
