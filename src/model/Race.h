#pragma once

#include "model/Flag.h"
#include "model/StoredDate.h"

#include <QString>
#include <QTime>

#include <array>
#include <optional>

// The organiser of a race, with the bank account the entry fee goes to.
struct Organiser
{
    QString name;
    QString phone;
    QString fax;
    QString email;
    QString web;
    QString bank;
    QString bankCode;
    QString account;
};

// The contact person at the organiser.
struct ContactPerson
{
    QString surname;
    QString firstName;
    QString salutation;
    QString title;
    QString town;
    QString street;
    QString poBoxPostcode;
    QString postcode;
    QString poBox;
    QString country;
    QString directPhone;
    QString mobile;
    QString email;
};

// Entry fees: three deadlines ("bis zum") by three distances (Marathon, Halb-Marathon and the
// distance named in thirdDistance). fees[deadline][distance], both counted from 0.
struct FeeTable
{
    QString thirdDistance;
    std::array<StoredDate, 3> deadlines;
    std::array<std::array<QString, 3>, 3> fees;
};

// One race as the races table stores it. Texts are as stored; a null QString is a NULL column
// (a row the editor has only just added holds NULL everywhere), so that writing back a race read
// from the file changes nothing the user did not change.
struct Race
{
    qlonglong number = 0; // 0 until the file has assigned one

    QString name;
    QString place;
    StoredDate date;
    QString weekday; // first two letters of the German weekday of `date`
    QString distance; // "Marathon", "Halb-Marathon", a free text, or " "
    QString start; // "hh:mm"
    QString finishTime;
    QString timing;

    Flag registered { Flag::Kind::Boolean };
    StoredDate registrationDate; // also "Ja" (registered without a date) or " "
    Flag noted { Flag::Kind::Boolean };
    Flag run { Flag::Kind::JaBlank };

    FeeTable fees;

    Flag reminder { Flag::Kind::JaBlank };
    StoredDate reminderDate; // "01.01.1900" when there is none
    Flag paid { Flag::Kind::JaBlank };
    StoredDate paidDate;

    Flag onStartScreen { Flag::Kind::Boolean };
    QString picture; // full path of the start screen's picture

    Organiser organiser;
    ContactPerson contact;

    Flag hasNotes { Flag::Kind::JaEmpty };
    QString notes;

    // The start time when `start` is a valid "hh:mm".
    std::optional<QTime> startTime() const;
    // Registered without a registration date: the date column holds "Ja".
    bool registeredWithoutDate() const;
    // The reminder date, unless it is the stored "no date" or no date at all.
    std::optional<QDate> reminderDay() const;
};

// The reminder date's stored form for "no date".
extern const QString kNoReminderDate;
