#pragma once

#include <QDate>
#include <QString>

#include <string_view>

// A date column as stored: the text "dd.mm.yyyy", kept exactly as read (a damaged date, "Ja" in
// the registration date, a blank or NULL stay what they are), and the date when the text is one.
// A null QString stands for NULL.
class StoredDate
{
public:
    StoredDate() = default;
    explicit StoredDate(const QString &stored)
        : m_stored(stored)
    {
    }
    // The stored form of a date: two-digit day and month, four-digit year.
    static StoredDate fromDate(const QDate &date);

    const QString &stored() const { return m_stored; }
    bool isNull() const { return m_stored.isNull(); }
    // Invalid unless the text is exactly a valid "dd.mm.yyyy" of the years 1 to 9999.
    QDate date() const;
    bool isDate() const { return date().isValid(); }

    bool operator==(const StoredDate &other) const
    {
        return m_stored.isNull() == other.m_stored.isNull() && m_stored == other.m_stored;
    }

private:
    QString m_stored;
};

// The exact "dd.mm.yyyy" rule of StoredDate::date().
QDate dateOfStoredText(const QString &text);
// The same over the stored UTF-8 bytes, for readers that do not make a string of every date.
QDate dateOfStoredText(std::string_view utf8);
