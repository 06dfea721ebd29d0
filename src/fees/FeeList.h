#pragma once

#include "model/EntryFees.h"
#include "model/Race.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

class RaceStore;

// A price rise this close (in days) makes a row of the fee list stand out.
inline constexpr qint64 kSoonDays = 14;

enum class FeeColumn { Date, Race, Distance, FeeToday, ValidUntil, After, Days };

// One race of the list of fees still to pay. Its texts are made when they are shown: a grid
// shows a few dozen rows of thousands.
struct FeeListRow
{
    qlonglong race = 0;
    QString date, name, distance; // as stored
    FeeSituation situation;
    std::optional<qint64> daysToRise;

    bool risesSoon() const { return daysToRise && *daysToRise <= kSoonDays; }
    QString text(FeeColumn column) const;
    // What the row's tooltip says when the fee rises soon.
    QString riseNote() const;
};

// The races that still have to be paid for, ordered by the deadline of their fee today (those
// without last), and the sum of the fees that apply today.
struct FeeList
{
    std::vector<FeeListRow> rows;
    qint64 sumCents = 0;
    int summed = 0; // rows whose fee today is in the sum
    int unreadable = 0; // rows whose fee today is not an amount
};

// The list over races already chosen (dated today or later, registered or noted, not paid):
// add each race, then put the rows in order.
void addToFeeList(FeeList &list, const Race &race, const QDate &today);
void orderFeeList(FeeList &list);
FeeList makeFeeList(const std::vector<Race> &races, const QDate &today);
FeeList readFeeList(RaceStore &store, const QDate &today);

// "Summe der heutigen Startgelder: 245,00 € für 6 Läufe; 2 Startgelder nicht lesbar"
QString feeSumLine(const FeeList &list);
