#include "data/RaceStore.h"

#include "model/RaceColumns.h"

namespace {

// The statement's columns after the number, in this order.
enum Column { Name = 1, Place, Date, Distance, FinishTime, Registered, Noted, Run, Paid, FeesFrom };

struct StatisticsStatement
{
    std::string sql;
    std::vector<qsizetype> feeColumns; // indexes in RaceColumns::names() from FeesFrom on
};

const StatisticsStatement &statisticsStatement()
{
    static const StatisticsStatement statement = [] {
        const Race r;
        // Each field alone, so that the columns come in the order of the enum above.
        QStringList columns;
        const std::initializer_list<const void *> fields {
            &r.name,       &r.place, &r.date, &r.distance, &r.finishTime,
            &r.registered, &r.noted, &r.run,  &r.paid
        };
        for (const void *field : fields)
            columns << RaceColumns::holding(r, { field });
        const QStringList fees = RaceColumns::holding(r, { &r.distance, &r.registrationDate })
            + RaceColumns::feeTable();
        StatisticsStatement s;
        for (const QString &name : fees)
            s.feeColumns.push_back(RaceColumns::names().indexOf(name));
        s.sql = QStringLiteral("select %1, %2 from %3 where %4 <> '' and %1 > ?1 order by %1 "
                               "limit ?2")
                    .arg(QLatin1String(RaceColumns::kNumber), (columns + fees).join(u", "),
                         QLatin1String(RaceColumns::kTable), QLatin1String(RaceColumns::kName))
                    .toStdString();
        return s;
    }();
    return statement;
}

// The flags as Flag::isSet() reads them, without making a QVariant of the common values.
bool yes(const Statement &row, int column)
{
    switch (row.columnType(column)) {
    case Statement::Type::Null:
        return false;
    case Statement::Type::Integer:
        return row.column(column).toLongLong() != 0;
    default:
        return isYes(row.column(column));
    }
}

bool ja(const Statement &row, int column)
{
    const Statement::Type type = row.columnType(column);
    return (type == Statement::Type::Text || type == Statement::Type::Blob)
        && row.columnUtf8(column) == "Ja";
}

} // namespace

int RaceStore::readStatisticsRows(qlonglong after, int limit,
                                  const std::function<void(const StatisticsRow &)> &each)
{
    const StatisticsStatement &statement = statisticsStatement();
    Statement st(m_db, statement.sql);
    st.bind(1, after);
    st.bind(2, limit);
    Race paidRace;
    int read = 0;
    while (st.step()) {
        ++read;
        StatisticsRow row;
        row.number = st.column(0).toLongLong();
        row.name = st.columnUtf8(Name);
        row.place = st.columnUtf8(Place);
        row.date = st.columnUtf8(Date);
        row.distance = st.columnUtf8(Distance);
        row.finishTime = st.columnUtf8(FinishTime);
        row.registered = yes(st, Registered);
        row.noted = yes(st, Noted);
        row.run = ja(st, Run);
        row.paid = ja(st, Paid);
        if (row.paid) {
            paidRace.number = row.number;
            for (size_t i = 0; i < statement.feeColumns.size(); ++i)
                RaceColumns::setStored(paidRace, statement.feeColumns[i],
                                       st.column(FeesFrom + int(i)));
            paidRace.paid.set(true);
            row.paidRace = &paidRace;
        }
        each(row);
    }
    return read;
}
