#include "data/RaceStore.h"

#include "common/DbError.h"
#include "data/DocumentLinkIndex.h"
#include "data/RaceDateIndex.h"
#include "model/RaceColumns.h"

#include <limits>

namespace {

// Numbers read when a list is made: a few screens of any grid.
constexpr int kFirstNumbers = 256;
constexpr int kPage = 64;
// About 4,000 races: a few screens of any grid, some megabytes.
constexpr size_t kPagesKept = 64;

QString col(const char *name)
{
    return QLatin1String(name);
}

// "ad_nummer, ad_lauf, ..., ad_memo from adressen": a race's number and its stored values.
std::string raceColumns()
{
    static const std::string columns = [] {
        QString sql = col(RaceColumns::kNumber);
        for (const QString &name : RaceColumns::names())
            sql += QStringLiteral(", ") + name;
        return (sql + QStringLiteral(" from ") + col(RaceColumns::kTable)).toStdString();
    }();
    return columns;
}

Race raceOfRow(const Statement &st)
{
    Race race;
    race.number = st.column(0).toLongLong();
    for (int c = 1; c < st.columnCount(); ++c)
        RaceColumns::setStored(race, c - 1, st.column(c));
    return race;
}

QString selectionCondition(std::optional<RaceSelection> option)
{
    using namespace RaceColumns;
    switch (option.value_or(RaceSelection::Named)) {
    case RaceSelection::Named:
        break;
    case RaceSelection::Registered:
        return col(kRegistered) + QStringLiteral(" = 1");
    case RaceSelection::Reminder:
        return col(kReminder) + QStringLiteral(" = 'Ja' and ") + col(kReminderDate)
            + QStringLiteral(" <> '") + kNoReminderDate + u'\'';
    case RaceSelection::Run:
        return col(kRun) + QStringLiteral(" = 'Ja'");
    case RaceSelection::Paid:
        return col(kPaid) + QStringLiteral(" = 'Ja'");
    case RaceSelection::Noted:
        return col(kNoted) + QStringLiteral(" = 1");
    }
    return col(kName) + QStringLiteral(" <> ''");
}

} // namespace

RaceList::RaceList(SqliteDb &db, std::shared_ptr<const int> writes, std::string numbersSql,
                   std::vector<QVariant> values)
    : m_db(&db)
    , m_writes(std::move(writes))
    , m_numbersSql(std::move(numbersSql))
    , m_values(std::move(values))
    , m_writesSeen(*m_writes)
{
    readNumbers(kFirstNumbers);
}

void RaceList::readMore() const
{
    readNumbers(rowsRead() + 1);
}

int RaceList::count() const
{
    readNumbers(std::numeric_limits<int>::max());
    return rowsRead();
}

bool RaceList::hasRow(int row) const
{
    if (row >= rowsRead())
        readNumbers(row + 1);
    return row >= 0 && row < rowsRead();
}

void RaceList::readNumbers(int wanted) const
{
    while (!m_complete && rowsRead() < wanted) {
        // Parts grow with the list, so reading a whole list costs about twice one run of it.
        const int part = std::max(kFirstNumbers, rowsRead());
        const bool again = *m_writes != m_writesSeen;
        if (again) {
            m_listed.clear();
            for (qlonglong n : m_numbers)
                m_listed.insert(n, true);
            m_skipListed = true;
            m_writesSeen = *m_writes;
        }
        const int offset = again ? 0 : m_consumed;
        const int limit = again ? m_consumed + part : part;
        Statement st(*m_db, m_numbersSql + " limit ? offset ?");
        int bound = 1;
        for (const QVariant &v : m_values)
            st.bind(bound++, v);
        st.bind(bound++, limit);
        st.bind(bound, offset);
        int read = 0;
        while (st.step()) {
            ++read;
            const qlonglong number = st.column(0).toLongLong();
            if (m_skipListed) {
                if (m_listed.contains(number))
                    continue;
                m_listed.insert(number, true);
            }
            m_numbers.push_back(number);
        }
        m_consumed = offset + read;
        m_complete = read < limit;
    }
}

qlonglong RaceList::number(int row) const
{
    if (!hasRow(row))
        throw DbError(ErrNo::NoCurrentRecord, QStringLiteral("Kein aktueller Datensatz."));
    return m_numbers[size_t(row)];
}

Race RaceList::race(int row) const
{
    number(row);
    const int first = row - row % kPage;
    auto page = m_pages.constFind(first);
    if (page == m_pages.cend()) {
        loadPage(first);
        page = m_pages.constFind(first);
    }
    return (*page)[size_t(row - first)];
}

std::vector<Race> RaceList::all() const
{
    std::vector<Race> races;
    races.reserve(size_t(count()));
    for (int row = 0; row < rowsRead(); ++row)
        races.push_back(race(row));
    return races;
}

void RaceList::loadPage(int first) const
{
    const int last = std::min(rowsRead(), first + kPage);
    std::string marks;
    for (int r = first; r < last; ++r)
        marks += r == first ? "?" : ", ?";
    Statement st(*m_db,
                 "select " + raceColumns() + " where " + RaceColumns::kNumber + " in (" + marks
                     + ")");
    QHash<qlonglong, int> where;
    for (int r = first; r < last; ++r) {
        st.bind(r - first + 1, m_numbers[size_t(r)]);
        where.insert(m_numbers[size_t(r)], r - first);
    }
    // A race deleted since its number was read stays empty.
    std::vector<Race> page(size_t(last - first));
    while (st.step())
        page[size_t(where.value(st.column(0).toLongLong()))] = raceOfRow(st);
    m_pages.emplace(first, std::move(page));
    m_pageOrder.push_back(first);
    while (m_pageOrder.size() > kPagesKept) {
        m_pages.remove(m_pageOrder.front());
        m_pageOrder.pop_front();
    }
}

RaceStore::RaceStore(const QString &databasePath, SqliteDb::Threads threads)
    : m_db(databasePath, SqliteDb::Open::ReadWrite, threads)
{
}

RaceStore::RaceDay RaceStore::raceDayOn(const QDate &today)
{
    // One look at the few races without a sortable date decides whether the key may stand in
    // for the lenient reading.
    if (!RaceDateIndex::hasIrregularDates(m_db))
        return { RaceDateIndex::keyExpression(col(RaceColumns::kDate)),
                 today.toString(QStringLiteral("yyyyMMdd")) };
    return { QStringLiteral("day_number(%1)").arg(col(RaceColumns::kDate)),
             qlonglong(today.toJulianDay()) };
}

RaceList RaceStore::makeList(const RaceDay &day, const QString &where,
                             const std::vector<QVariant> &values, bool latestFirst)
{
    const QString sql = QStringLiteral("select %1 from %2 where %3 order by %4%5, %1")
                            .arg(col(RaceColumns::kNumber), col(RaceColumns::kTable), where,
                                 day.expression, latestFirst ? QStringLiteral(" desc") : QString());
    return RaceList(m_db, m_writes, sql.toStdString(), values);
}

RaceList RaceStore::list(const RaceListFilter &filter, const QDate &today)
{
    const RaceDay day = raceDayOn(today);
    QString where = selectionCondition(filter.option);
    std::vector<QVariant> values;
    if (filter.future != filter.past) {
        where
            += QStringLiteral(" and %1 %2 ?")
                   .arg(day.expression, filter.future ? QStringLiteral(">=") : QStringLiteral("<"));
        values.push_back(day.today);
    }
    return makeList(day, where, values, true);
}

RaceList RaceStore::startScreenRaces(const QDate &today)
{
    const RaceDay day = raceDayOn(today);
    return makeList(
        day,
        QStringLiteral("%1 = 1 and %2 >= ?").arg(col(RaceColumns::kOnStartScreen), day.expression),
        { day.today }, false);
}

RaceList RaceStore::dueReminders(const QDate &today)
{
    using namespace RaceColumns;
    // The reminder date is read leniently whatever the race dates are.
    return makeList(raceDayOn(today),
                    QStringLiteral("%1 = 'Ja' and day_number(%2) <= ? and %2 <> '%3'")
                        .arg(col(kReminder), col(kReminderDate), kNoReminderDate),
                    { qlonglong(today.toJulianDay()) }, true);
}

std::optional<Race> RaceStore::race(qlonglong number)
{
    Statement st(m_db, "select " + raceColumns() + " where " + RaceColumns::kNumber + " = ?");
    st.bind(1, number);
    if (!st.step())
        return std::nullopt;
    return raceOfRow(st);
}

qint64 RaceStore::raceCount()
{
    return m_db.scalar(std::string("select count(*) from ") + RaceColumns::kTable).toLongLong();
}

Race RaceStore::addEmpty()
{
    // Columns not named take the table's defaults: NULL, and false for the Yes/No columns.
    m_db.exec(std::string("insert into ") + RaceColumns::kTable + " default values");
    changed();
    Race race;
    race.number = m_db.scalar("select last_insert_rowid()").toLongLong();
    return race;
}

Race RaceStore::addCopy(const Race &source)
{
    Race copy = source;
    copy.number = addEmpty().number;
    return copy;
}

void RaceStore::save(const Race &race, const Race *asRead)
{
    const QStringList &names = RaceColumns::names();
    if (asRead) {
        const std::optional<Race> stored = this->race(race.number);
        if (!stored || RaceColumns::toStored(*stored) != RaceColumns::toStored(*asRead))
            throw DbError(ErrNo::RowChanged,
                          QStringLiteral("Der Datensatz wurde seit dem Lesen von einem anderen "
                                         "Vorgang geändert."));
    }
    QString sets;
    for (const QString &name : names)
        sets += (sets.isEmpty() ? QString() : QStringLiteral(", ")) + name + QStringLiteral(" = ?");
    Statement st(m_db,
                 (QStringLiteral("update %1 set %2 where %3 = ?")
                      .arg(col(RaceColumns::kTable), sets, col(RaceColumns::kNumber)))
                     .toStdString());
    int bound = 1;
    for (const QVariant &value : RaceColumns::toStored(race))
        st.bind(bound++, value);
    st.bind(bound, race.number);
    st.step();
    changed();
}

void RaceStore::remove(qlonglong number)
{
    Statement st(m_db,
                 std::string("delete from ") + RaceColumns::kTable + " where "
                     + RaceColumns::kNumber + " = ?");
    st.bind(1, number);
    st.step();
    changed();
}

std::vector<DocumentLink> RaceStore::documents(qlonglong raceNumber)
{
    using namespace DocumentColumns;
    // Links that store the number plainly are found through their index; the others are read
    // as numbers one by one.
    const QString key = DocumentLinkIndex::keyExpression(col(kRaceNumber));
    Statement st(m_db,
                 QStringLiteral("select %1, %2, %3, %4 from %5 where (%6 = ? or (%6 is null and "
                                "val(%2) = ?)) order by %1 desc")
                     .arg(col(kNumber), col(kRaceNumber), col(kPath), col(kName), col(kTable), key)
                     .toStdString());
    st.bind(1, QString::number(raceNumber));
    st.bind(2, raceNumber);
    std::vector<DocumentLink> links;
    while (st.step())
        links.push_back(DocumentColumns::fromStored(st.column(0).toLongLong(),
                                                    { st.column(1), st.column(2), st.column(3) }));
    return links;
}

qlonglong RaceStore::addDocument(const DocumentLink &link)
{
    using namespace DocumentColumns;
    Statement st(m_db,
                 QStringLiteral("insert into %1 (%2, %3, %4) values (?, ?, ?)")
                     .arg(col(kTable), col(kRaceNumber), col(kPath), col(kName))
                     .toStdString());
    int bound = 1;
    for (const QVariant &value : toStored(link))
        st.bind(bound++, value);
    st.step();
    return m_db.scalar("select last_insert_rowid()").toLongLong();
}

void RaceStore::renameDocument(qlonglong number, const QString &name)
{
    using namespace DocumentColumns;
    Statement st(m_db,
                 QStringLiteral("update %1 set %2 = ? where %3 = ?")
                     .arg(col(kTable), col(kName), col(kNumber))
                     .toStdString());
    st.bind(1, RaceColumns::storedText(name));
    st.bind(2, number);
    st.step();
}

void RaceStore::removeDocument(qlonglong number)
{
    using namespace DocumentColumns;
    Statement st(
        m_db,
        QStringLiteral("delete from %1 where %2 = ?").arg(col(kTable), col(kNumber)).toStdString());
    st.bind(1, number);
    st.step();
}

std::string RaceStore::racesStatement(Order order, bool namedOnly, const QStringList &columns)
{
    QString sql = QStringLiteral("select ") + col(RaceColumns::kNumber);
    for (const QString &name : columns) {
        if (!RaceColumns::names().contains(name))
            throw DbError(ErrNo::NoSuchField,
                          QStringLiteral("Das Feld '%1' ist in dieser Auflistung nicht "
                                         "enthalten.")
                              .arg(name));
        sql += QStringLiteral(", ") + name;
    }
    sql += QStringLiteral(" from ") + col(RaceColumns::kTable);
    if (namedOnly)
        sql += QStringLiteral(" where ") + col(RaceColumns::kName) + QStringLiteral(" <> ''");
    if (order == Order::ByNumber)
        sql += QStringLiteral(" order by ") + col(RaceColumns::kNumber);
    else
        sql += QStringLiteral(" order by ") + raceDayOn(QDate()).expression
            + QStringLiteral(" desc, ") + col(RaceColumns::kNumber);
    return sql.toStdString();
}

void RaceStore::readRaces(Order order, bool namedOnly,
                          const std::function<void(const Race &)> &each, const QStringList &columns)
{
    const QStringList &read = columns.isEmpty() ? RaceColumns::names() : columns;
    Statement st(m_db, racesStatement(order, namedOnly, read));
    eachRace(st, read, each);
}

void RaceStore::eachRace(Statement &st, const QStringList &columns,
                         const std::function<void(const Race &)> &each)
{
    std::vector<qsizetype> where;
    for (const QString &name : columns)
        where.push_back(RaceColumns::names().indexOf(name));
    Race race;
    while (st.step()) {
        race.number = st.column(0).toLongLong();
        for (size_t i = 0; i < where.size(); ++i)
            RaceColumns::setStored(race, where[i], st.column(int(i) + 1));
        each(race);
    }
}

void RaceStore::readStoredRows(Order order, const std::function<void(const Statement &row)> &each)
{
    Statement st(m_db, racesStatement(order, false, RaceColumns::names()));
    while (st.step())
        each(st);
}
