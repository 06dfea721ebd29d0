#pragma once

#include "data/Sqlite.h"
#include "model/Race.h"
#include "model/Records.h"

#include <QDate>
#include <QHash>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

// What the race list shows besides its time filter.
enum class RaceSelection {
    Named, // every race with a name
    Registered,
    Reminder, // payment reminder set to a date
    Run,
    Paid,
    Noted
};

struct RaceListFilter
{
    bool future = true; // on or after today
    bool past = false; // before today; both or neither: every date
    // None chosen lists the races with a name, as Named does.
    std::optional<RaceSelection> option;
};

// Races in the order of a list, read as a grid needs them: the numbers of the first screens at
// once and further parts as the rows are reached; a row's fields the first time it is looked at,
// a page at a time, keeping only the pages read last. A list belongs to its store and must not
// outlive it. After the store changed a race, the next part starts again at the top and skips
// the races already listed, so no race goes missing and none shows twice.
class RaceList
{
public:
    int rowsRead() const { return int(m_numbers.size()); }
    bool canReadMore() const { return !m_complete; }
    void readMore() const;
    // Reads every number first.
    int count() const;
    bool isEmpty() const { return !hasRow(0); }
    // True when the list has a row `row`, reading numbers as far as needed.
    bool hasRow(int row) const;

    qlonglong number(int row) const;
    // An empty race (number 0) for a row deleted since its number was read.
    Race race(int row) const;
    // Every race of the list, in its order.
    std::vector<Race> all() const;
    // Every race of the list in its order, its columns exactly as the file holds them (column 0
    // the number, 1.. those of RaceColumns::names()), for writers that copy them: no race is
    // made of them. Reads every number of the list first.
    void readStoredRows(const std::function<void(const Statement &row)> &each) const;

private:
    friend class RaceStore;
    RaceList(SqliteDb &db, std::shared_ptr<const int> writes, std::string numbersSql,
             std::vector<QVariant> values);
    void readNumbers(int wanted) const;
    void loadPage(int row) const;

    SqliteDb *m_db;
    std::shared_ptr<const int> m_writes; // the store's count of changes
    std::string m_numbersSql; // ends in its order; limit and offset are appended
    std::vector<QVariant> m_values;
    mutable std::vector<qlonglong> m_numbers;
    mutable int m_consumed = 0;
    mutable bool m_complete = false;
    mutable int m_writesSeen = 0;
    mutable bool m_skipListed = false;
    mutable QHash<qlonglong, bool> m_listed;
    mutable QHash<int, std::vector<Race>> m_pages; // first row of a page -> its races
    mutable std::deque<int> m_pageOrder; // oldest first
};

// One race as the statistics read it. The texts are the file's UTF-8 bytes (empty for NULL),
// valid only during the call that hands the row over: a long log is added up without turning
// every text of every race into a string.
struct StatisticsRow
{
    qlonglong number = 0;
    std::string_view name;
    std::string_view place;
    std::string_view date;
    std::string_view distance;
    std::string_view finishTime;
    bool registered = false;
    bool noted = false;
    bool run = false;
    bool paid = false;
    // Of a paid race: its distance, registration date and fee table (its other fields are not
    // read); otherwise none.
    const Race *paidRace = nullptr;
};

// The one way to the races and their document links, over one connection to the file. Its
// statements are SQLite's own with bound values; date conditions and orders go through the race
// date index, unless a race date is one only the lenient date reading understands.
class RaceStore
{
public:
    // OneAtATime for a store that only one thread at a time uses: its reads take no lock.
    explicit RaceStore(const QString &databasePath,
                       SqliteDb::Threads threads = SqliteDb::Threads::Shared);

    // The race list: latest race first, races of one day by number.
    RaceList list(const RaceListFilter &filter, const QDate &today);
    // Races marked for the start screen that lie today or later, nearest first.
    RaceList startScreenRaces(const QDate &today);
    // Races whose payment reminder is due by today, latest race first.
    RaceList dueReminders(const QDate &today);

    std::optional<Race> race(qlonglong number);
    // Every race of the file, named or not.
    qint64 raceCount();
    // A new, empty race in the file, as the editor makes one when it opens: its number is
    // assigned at once, so that documents can be linked before the race is saved.
    Race addEmpty();
    // A copy: a new empty race in the file and, in memory, the values of `source` under the new
    // number. The file holds them when the copy is saved.
    Race addCopy(const Race &source);
    // Writes every column of the race by its number. With `asRead`, a race changed in the file
    // since it was read is not overwritten: DbError RowChanged, nothing written.
    void save(const Race &race, const Race *asRead = nullptr);
    void remove(qlonglong number);
    // Adds the races as new ones and the names to the race-name pick list, in one transaction:
    // all of them, or nothing when a write fails. The races get their numbers.
    void addRaces(std::vector<Race> &races, const QStringList &raceNames);
    // Cancelling a new race or a copy removes its row again.
    void cancelNew(qlonglong number) { remove(number); }

    // A race's document links, newest first.
    std::vector<DocumentLink> documents(qlonglong raceNumber);
    // Stores a new link (its number is assigned) and hands back its number.
    qlonglong addDocument(const DocumentLink &link);
    void renameDocument(qlonglong number, const QString &name);
    // The link only; the file stays where it is.
    void removeDocument(qlonglong number);

    enum class Order {
        ByNumber, // the statistics, the calendar file and the take-over
        LatestFirst // the workbook export, in the order of the race list
    };
    // Every race (only those with a name when namedOnly), one at a time. With columns, only
    // those are read and the race's other fields stay NULL, for readers that need a few.
    void readRaces(Order order, bool namedOnly, const std::function<void(const Race &)> &each,
                   const QStringList &columns = {});
    // Every race's columns exactly as the file holds them (columns 1.. of the row are those of
    // RaceColumns::names()), for a reader that copies them unchanged: the workbook export keeps
    // the stored bytes and saves the conversion to and from text of millions of values.
    void readStoredRows(Order order, const std::function<void(const Statement &row)> &each);
    // The named races numbered above `after`, by number, one at a time, with only what the
    // statistics use; at most `limit` of them unless it is negative. Returns how many were read.
    int readStatisticsRows(qlonglong after, int limit,
                           const std::function<void(const StatisticsRow &)> &each);
    // Equal stamps: no race (nor anything else in the file) has changed in between.
    SqliteDb::ChangeStamp changeStamp() { return m_db.changeStamp(); }

    // Races dated today or later that are registered or noted and whose fee is not paid, nearest
    // first, with only the fields a list of their fees needs: name, date, distance and the fee
    // table. One race object serves every row: `each` copies what it keeps.
    void unpaidComingRaces(const QDate &today, const std::function<void(const Race &)> &each);

private:
    // The race date as the lists compare and sort it, and today in the same terms: the indexed
    // key ("yyyymmdd" text) or, where some race date needs the lenient reading, the day number.
    struct RaceDay
    {
        QString expression;
        QVariant today;
    };
    RaceDay raceDayOn(const QDate &today);
    std::string racesStatement(Order order, bool namedOnly, const QStringList &columns);
    // Steps through a statement that selects the number and then `columns`, handing each row
    // over as one race object whose other fields stay as they are.
    static void eachRace(Statement &st, const QStringList &columns,
                         const std::function<void(const Race &)> &each);
    RaceList makeList(const RaceDay &day, const QString &where, const std::vector<QVariant> &values,
                      bool latestFirst);
    void changed() { ++*m_writes; }

    SqliteDb m_db;
    std::shared_ptr<int> m_writes = std::make_shared<int>(0);
};
