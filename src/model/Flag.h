#pragma once

#include <QString>
#include <QVariant>

// The races table keeps yes/no in two ways: Yes/No columns hold 1 and 0, text flags hold "Ja"
// for yes and " " (or "" for the notes flag) for no. A flag remembers what its column held, so
// that a row read and written back unchanged keeps "ja", "nein" or NULL exactly as stored.
class Flag
{
public:
    enum class Kind {
        Boolean, // 1 / 0
        JaBlank, // "Ja" / " "
        JaEmpty // "Ja" / ""
    };

    explicit Flag(Kind kind = Kind::Boolean);
    static Flag fromStored(Kind kind, const QVariant &stored);

    Kind kind() const { return m_kind; }
    bool isSet() const;
    // Writes the column's own form of yes or no.
    void set(bool on);
    const QVariant &stored() const { return m_stored; }

    bool operator==(const Flag &other) const = default;

private:
    Kind m_kind;
    QVariant m_stored;
};

// Only the exact "Ja" counts as yes in a text flag: "ja", "JA", "nein" and NULL are no.
bool isJa(const QVariant &stored);
// A Yes/No column is yes when it holds anything but NULL or a zero.
bool isYes(const QVariant &stored);
