#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <vector>

// A database full of the races that lists get wrong: damaged and lenient dates, 29.02., years
// before 1900 and after 2099, empty and NULL names, "ja"/"nein" flags, Yes/No columns holding 2
// or -1, several races on one day, umlauts, and document links in every form of a number.
namespace EdgeCaseRaces {

// With irregularDates, some race dates are ones only the lenient date reading understands
// (" 5.3.2004", "05.03.2004, Freitag"), which turns the lists away from the race date index.
void make(const QString &path, bool irregularDates);

// Makes both databases in `folder`, "regular" and "irregular", and hands each to `use` by name.
void forEachDatabase(const QString &folder,
                     const std::function<void(const QString &name, const QString &path)> &use);

// The days the lists are asked for: an ordinary day and a 29th of February.
std::vector<QDate> todays();

// The race list's controls: both time filters and the option (-1 none chosen, else 0..5).
struct ListCase
{
    bool future;
    bool past;
    int option;
    QString key() const;
};
std::vector<ListCase> listCases();

// The race numbers whose document links are listed.
std::vector<qlonglong> documentOwners();

// One stored value, so that NULL, "" and " " stay apart: NULL, "text" or a number.
QString cell(const QVariant &value);
QString textCell(const QString &text);
QString line(const QStringList &cells);
// The numbers of a list's races in order; "(none)" for an empty list.
QString numberLine(const QList<qlonglong> &numbers);

} // namespace EdgeCaseRaces

#include <map>

namespace EdgeCaseRaces {

// What each read gave, by the name of the read: "<database> <today> list <case>" and so on.
using Results = std::map<QString, QStringList>;

void write(const Results &results, const QString &path);
Results read(const QString &path);

QString flagCell(bool on);

} // namespace EdgeCaseRaces
