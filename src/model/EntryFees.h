#pragma once

#include "model/Race.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

// The entry fees of a race as they apply on a given day. Fees are kept as the user typed them;
// they count as euros only when they read as an amount without guessing.

// An entry fee as typed, with its amount when it reads as euros.
struct FeeAmount
{
    QString typed;
    std::optional<qint64> cents;

    bool readable() const { return cents.has_value(); }
    // The same fee: the same amount, or the same text when it is not an amount.
    bool sameAs(const FeeAmount &other) const;
    // "45,00 €", or the fee as typed when it is not an amount.
    QString shown() const;
};

FeeAmount feeAmount(const QString &typed);

// How the fee goes from `now` to `then`: "steigt", "sinkt", or "ändert sich" when either one is
// not an amount.
QString feeChangeVerb(const FeeAmount &now, const FeeAmount &then);

// Reads the ways people type a fee: "45", "45,-", "45,– €", "45,50", "45.50", "EUR 45",
// "45 Euro", "€ 45,00", "1.234,50", "0", "frei" (0). Anything else ("ca. 40", "40/45", "1.234")
// gives none.
std::optional<qint64> parseEuroCents(const QString &typed);

// "45,00 €", "1.234,50 €".
QString formatEuro(qint64 cents);

// The row of the fee table for the race's distance: 0 Marathon, 1 Halb-Marathon, 2 the distance
// named as the table's third one (compared the German way, case and blanks ignored); none when
// no row matches or the distance is empty.
std::optional<int> feeRow(const Race &race);

// Distance names equal the German way: case and blanks ignored ("10 KM" is "10km").
bool sameDistance(const QString &a, const QString &b);

// One deadline of the fee row: the fee applies up to and including `deadline`.
struct FeeStep
{
    int deadlineIndex = 0; // 0..2, the column of the fee table
    QDate deadline;
    FeeAmount fee;
};

// What the race costs on a day: the fee that applies (`today`) and the one after its deadline
// (`next`). `expired` when the row has deadlines but the day lies after all of them.
struct FeeSituation
{
    std::optional<FeeStep> today;
    std::optional<FeeStep> next;
    bool expired = false;

    // The fee goes up after today's deadline (an unreadable fee on either side counts as a rise:
    // only the user can tell).
    bool rises() const;
    // Days from `day` to the first day of the next fee (1 when `day` is the deadline); none when
    // the fee does not rise.
    std::optional<qint64> daysToRise(const QDate &day) const;
};

// A deadline as stored: "dd.mm.yyyy", or the label form "dd.mm.yyyy, Sonntag" the editor shows.
QDate deadlineDate(const StoredDate &stored);

// The fee row's steps that can apply: deadlines that are dates with a filled fee, ordered by date
// (a table typed out of order still rises with time); of two steps on the same date the first
// column counts. Consecutive steps with the same fee merge into the later deadline, since the
// price does not change between them.
std::vector<FeeStep> feeSteps(const Race &race);

// today = the first step whose deadline is on or after `day` (deadlines are inclusive); next =
// the step after it.
FeeSituation feeSituation(const Race &race, const QDate &day);
