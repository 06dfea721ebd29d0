#include "icalexport/CalendarExport.h"

#include "data/Sqlite.h"
#include "data/WorkbookExport.h"
#include "fileio/FileIo.h"
#include "xls/OutputFile.h"

#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace {

const char kSelect[]
    = "select ad_nummer, ad_lauf, ad_lauf_ort, ad_lauf_datum, ad_start, ad_strecke, ad_zeit, "
      "ad_name_veranst, ad_internet_veranst, ad_memo, ad_strecke_sg, "
      "ad_sg1_datum, ad_sg2_datum, ad_sg3_datum, ad_sg11, ad_sg12, ad_sg13, ad_sg21, ad_sg22, "
      "ad_sg23, ad_sg31, ad_sg32, ad_sg33, ad_alarm_datum, ad_bezahlt_datum, ad_ang_datum, "
      "ad_bank1, ad_blz1, ad_konto1, ad_ang_jn, ad_vorgemerkt_jn, ad_gelaufen_jn, ad_bezahlt_jn, "
      "ad_alarm_jn from adressen order by ad_nummer";

QString countText(int n, const char16_t *one, const char16_t *many)
{
    return QString::number(n) + u' ' + QString::fromUtf16(n == 1 ? one : many);
}

} // namespace

QList<CalendarRace> readRaceRecords(const QString &databasePath)
{
    SqliteDb db(databasePath, SqliteDb::Open::ReadOnly);
    Statement st(db, kSelect);
    QList<CalendarRace> races;
    while (st.step()) {
        int c = 0;
        const auto text = [&] { return st.column(c++).toString(); };
        CalendarRace r;
        r.number = st.column(c++).toLongLong();
        for (QString *field : { &r.name, &r.place, &r.date, &r.start, &r.distance, &r.finishTime,
                                &r.organiser, &r.web, &r.notes, &r.feeDistanceName })
            *field = text();
        for (QString &d : r.feeDates)
            d = text();
        for (auto &deadline : r.fees)
            for (QString &fee : deadline)
                fee = text();
        for (QString *field :
             { &r.alarmDate, &r.paidDate, &r.registrationDate, &r.bank, &r.bankCode, &r.account })
            *field = text();
        r.registered = st.column(c++).toBool();
        r.noted = st.column(c++).toBool();
        // Text flags count only as the exact "Ja".
        for (bool *flag : { &r.run, &r.paid, &r.alarm })
            *flag = text() == QStringLiteral("Ja");
        races << r;
    }
    return races;
}

void replaceFileWith(const QString &target,
                     const std::function<void(const CalendarSink &sink)> &write)
{
    const std::string path = target.toStdString();
    const std::string folder = QFileInfo(target).absolutePath().toStdString();
    try {
        xls::OutputFile out;
        out.setShownPath(path);
        out.createUnique(folder);
        const std::string temporary = out.path();
        try {
            write([&out](const char *data, std::size_t size) { out.write(data, size); });
            out.commit();
            if (std::rename(temporary.c_str(), path.c_str()) != 0)
                throw xls::systemError(errno, path);
        } catch (...) {
            out.close();
            ::unlink(temporary.c_str());
            throw;
        }
        fileio::syncFolder(folder);
    } catch (const xls::Error &e) {
        throw toDbError(e);
    }
}

CalendarPlan exportCalendar(const QString &databasePath, const QString &target,
                            const QDateTime &now)
{
    CalendarPlan plan = planCalendar(readRaceRecords(databasePath), now.date());
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
