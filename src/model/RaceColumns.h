#pragma once

#include "model/Race.h"

#include <QStringList>
#include <QVariant>

#include <initializer_list>
#include <vector>

// The one place that knows the races table: its name, its columns and how each holds its value.
namespace RaceColumns {

inline constexpr const char *kTable = "adressen";
inline constexpr const char *kNumber = "ad_nummer";
// The columns the lists filter and sort by.
inline constexpr const char *kName = "ad_lauf";
inline constexpr const char *kDate = "ad_lauf_datum";
inline constexpr const char *kRegistered = "ad_ang_jn";
inline constexpr const char *kNoted = "ad_vorgemerkt_jn";
inline constexpr const char *kRun = "ad_gelaufen_jn";
inline constexpr const char *kReminder = "ad_alarm_jn";
inline constexpr const char *kReminderDate = "ad_alarm_datum";
inline constexpr const char *kPaid = "ad_bezahlt_jn";
inline constexpr const char *kOnStartScreen = "ad_startbild_jn";

// Every column after the number, in the table's order (which is also the export's).
const QStringList &names();

// The stored value of each column of names(), in that order: NULL for a null text, the flag's
// own form for a flag, the date's text for a date.
std::vector<QVariant> toStored(const Race &race);
// A race from its number and the stored values of the columns of names(); missing values are
// NULL.
Race fromStored(qlonglong number, const std::vector<QVariant> &values);

// The columns that hold the given fields of `race` (addresses of its members), in the table's
// order, for readers that need a few fields: they name the fields, never a column.
QStringList holding(const Race &race, std::initializer_list<const void *> fields);
// The columns of the entry-fee table: the third distance's name, the deadlines and the fees.
QStringList feeTable();

// What a column stores, for readers that bring values of another kind into it.
enum class Kind {
    Text, // any text; the text flags ("Ja" / " ") too
    Date, // a date as "dd.mm.yyyy" text
    Time, // a time of day as "hh:mm" text
    YesNo // 1 / 0
};
// The kind of each column of names(), in that order.
const std::vector<Kind> &kinds();

// Sets one column of a race (by its index in names()) from its stored value.
void setStored(Race &race, qsizetype column, const QVariant &value);

// A text column's value as read: NULL gives a null QString, any other value its text (never
// null, so that "" and NULL stay apart).
QString textOf(const QVariant &stored);
// The stored value of a text: NULL for a null QString.
QVariant storedText(const QString &text);

} // namespace RaceColumns
