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

// One row of the list of fees still to pay, as its cells read.
struct FeeListRow
{
    qlonglong race = 0;
    QString date, name, distance, feeToday, validUntil, after, days;
    bool risesSoon = false;
    QString riseNote; // what the row's tooltip says when it rises soon
    std::optional<QDate> deadline; // of the fee today
    FeeSituation situation;
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

// The list over races already chosen (dated today or later, registered or noted, not paid).
FeeList makeFeeList(const std::vector<Race> &races, const QDate &today);
FeeList readFeeList(RaceStore &store, const QDate &today);

// "Summe der heutigen Startgelder: 245,00 € für 6 Läufe; 2 Startgelder nicht lesbar"
QString feeSumLine(const FeeList &list);
