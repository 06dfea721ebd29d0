#include "icalexport/CalendarExport.h"

#include "common/GermanText.h"
#include "data/RaceStore.h"
#include "data/WorkbookExport.h"
#include "fileio/DurableWrite.h"
#include "model/RaceColumns.h"
#include "xls/OutputFile.h"

namespace {

constexpr std::size_t pieceSize = 1 << 20;

// The fields the calendar entries are made of.
const QStringList &calendarColumns()
{
    static const QStringList columns = [] {
        const Race r;
        const Organiser &o = r.organiser;
        QStringList list
            = RaceColumns::holding(
                  r, { &r.name, &r.place, &r.date, &r.start, &r.distance, &r.finishTime, &r.notes })
            + RaceColumns::holding(r, { &o.name, &o.web, &o.bank, &o.bankCode, &o.account })
            + RaceColumns::holding(r,
                                   { &r.registered, &r.registrationDate, &r.noted, &r.run, &r.paid,
                                     &r.paidDate, &r.reminder, &r.reminderDate });
        return list + RaceColumns::feeTable();
    }();
    return columns;
}

} // namespace

void replaceFileWith(const QString &target,
                     const std::function<void(const CalendarSink &sink)> &write)
{
    const std::string path = target.toStdString();
    fileio::DurableWrite file;
    const auto check = [&path](int err) {
        if (err != 0)
            throw toDbError(xls::systemError(err, path));
    };
    if (const int err = file.open(path, fileio::DurableWrite::Temporary::Unique))
        throw toDbError(xls::systemError(err, fileio::folderOf(path)));
    // The entries come a few hundred bytes at a time: they go to the file in larger pieces.
    std::string pending;
    const auto hand = [&] {
        check(file.write(pending.data(), pending.size()));
        pending.clear();
    };
    write([&](const char *data, std::size_t size) {
        pending.append(data, size);
        if (pending.size() >= pieceSize)
            hand();
    });
    hand();
    check(file.commit(fileio::DurableWrite::Naming::Replace));
}

CalendarPlan exportCalendar(const QString &databasePath, const QString &target,
                            const QDateTime &now)
{
    CalendarPlan plan;
    RaceStore store(databasePath);
    store.readRaces(
        RaceStore::Order::ByNumber, false,
        [&](const Race &race) { planRace(plan, race, now.date()); }, calendarColumns());
    replaceFileWith(target,
                    [&](const CalendarSink &sink) { writeCalendar(plan.entries, now, sink); });
    return plan;
}

QString calendarExportMessage(const CalendarPlan &plan)
{
    return countText(int(plan.entries.size()), u"Termin", u"Termine") + QStringLiteral(" für ")
        + countText(plan.races, u"Lauf", u"Läufe") + QStringLiteral(" exportiert; ")
        + countText(plan.skipped, u"Lauf", u"Läufe")
        + QStringLiteral(" ohne gültiges Datum übersprungen.");
}
