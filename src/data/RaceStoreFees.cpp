#include "data/RaceStore.h"

#include "common/DbError.h"
#include "model/RaceColumns.h"

namespace {

// The fields of the list of fees still to pay.
const QStringList &feeColumns()
{
    static const QStringList columns = [] {
        const Race r;
        return RaceColumns::holding(r, { &r.name, &r.date, &r.distance }) + RaceColumns::feeTable();
    }();
    return columns;
}

} // namespace

void RaceStore::unpaidComingRaces(const QDate &today, const std::function<void(const Race &)> &each)
{
    using namespace RaceColumns;
    const RaceDay day = raceDayOn(today);
    // "is not": a NULL payment flag is not paid either.
    const QString sql = QStringLiteral("select %1, %2 from %3 where %4 >= ? and (%5 = 1 or %6 = 1)"
                                       " and %7 is not 'Ja' order by %4, %1")
                            .arg(QLatin1String(kNumber), feeColumns().join(QStringLiteral(", ")),
                                 QLatin1String(kTable), day.expression, QLatin1String(kRegistered),
                                 QLatin1String(kNoted), QLatin1String(kPaid));
    // The rows lie scattered over the file: reading them through a map of it saves a call and a
    // copy per page. Only for this read, so that no other statement meets a mapped file.
    m_db.exec("pragma mmap_size = 1073741824");
    struct Unmap
    {
        SqliteDb &db;
        ~Unmap()
        {
            try {
                db.exec("pragma mmap_size = 0");
            } catch (const DbError &) {
                // A destructor must not throw; the map only stays until the connection closes.
            }
        }
    } unmap { m_db };
    Statement st(m_db, sql.toStdString());
    st.bind(1, day.today);
    eachRace(st, feeColumns(), each);
}
