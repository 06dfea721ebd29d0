#pragma once

#include <QString>
#include <QVariant>

#include <vector>

// The pick lists the editor offers in its combo boxes. Each is a table of one text column named
// like the list; the countries have a second column with the country's full name.
enum class PickList { Race, Timing, Salutation, Title, Street, Country };

struct PickListTable
{
    const char *table;
    const char *column;
    const char *nameColumn; // nullptr when the list has none
    int maxLength; // of an entry the user adds
};

const PickListTable &pickListTable(PickList list);

// A pick-list entry completes a typed text when it begins with it, case ignored: the entry's
// first text.size() characters in upper case equal the text in upper case. A text no entry
// completes is new to its list.
QString completionKey(const QString &text, qsizetype length);
inline bool completes(const QString &entry, const QString &text)
{
    return completionKey(entry, text.size()) == completionKey(text, text.size());
}

struct PickListEntry
{
    QString text;
    QString name; // countries only: the full name
    qlonglong number = 0; // its row in the table
};

// One place of the postal directory.
struct PostalPlace
{
    qlonglong number = 0;
    QString town;
    QString postcode;
    QString dialCode;
};

namespace PostalColumns {
inline constexpr const char *kTable = "aw_plzort";
inline constexpr const char *kNumber = "pov_nummer";
inline constexpr const char *kTown = "port";
inline constexpr const char *kPostcode = "plz";
inline constexpr const char *kDialCode = "pvw";
} // namespace PostalColumns

// A document linked to a race, by its full path; the file itself is never copied.
struct DocumentLink
{
    qlonglong number = 0;
    // The owning race's number as the link stores it: a text, read as a number.
    QString raceNumber;
    QString path;
    QString name;
};

namespace DocumentColumns {
inline constexpr const char *kTable = "ereignisse_dokumente";
inline constexpr const char *kNumber = "erd_nummer";
inline constexpr const char *kRaceNumber = "ed_nummer";
inline constexpr const char *kPath = "ed_datei";
inline constexpr const char *kName = "ed_dateiname";
// Longest path the table keeps.
inline constexpr int kPathLength = 255;

// The link's columns after its number, in the table's order, and their stored values.
std::vector<QVariant> toStored(const DocumentLink &link);
DocumentLink fromStored(qlonglong number, const std::vector<QVariant> &values);
} // namespace DocumentColumns
