// SPDX-License-Identifier: GPL-3.0-or-later
// SQLite's result codes in German words: what users read in the error box.
#include "data/Sqlite.h"

#include <QRegularExpression>
#include <sqlite3.h>

#include <array>
#include <utility>

namespace {

struct Meaning
{
    int code; // an extended code, or a primary one for every code of its family
    int number; // the program's error number
    const char *text; // UTF-8
};

// Extended codes first: the first entry whose code matches exactly, else its family's entry.
constexpr std::array meanings {
    Meaning { SQLITE_IOERR_READ, ErrNo::DiskError, "Fehler beim Lesen des Datenträgers" },
    Meaning { SQLITE_IOERR_SHORT_READ, ErrNo::DiskError,
              "Die Datenbankdatei ist kürzer als erwartet" },
    Meaning { SQLITE_IOERR_WRITE, ErrNo::DiskError, "Fehler beim Schreiben auf den Datenträger" },
    Meaning { SQLITE_IOERR_FSYNC, ErrNo::DiskError, "Fehler beim Schreiben auf den Datenträger" },
    Meaning { SQLITE_IOERR_TRUNCATE, ErrNo::DiskError,
              "Fehler beim Schreiben auf den Datenträger" },
    Meaning { SQLITE_IOERR_NOMEM, ErrNo::OutOfMemory, "Nicht genügend Arbeitsspeicher" },
    Meaning { SQLITE_IOERR_LOCK, ErrNo::FileInUse,
              "Die Datenbankdatei kann nicht gesperrt werden" },
    Meaning { SQLITE_IOERR_DELETE, ErrNo::DiskError,
              "Eine Hilfsdatei der Datenbank kann nicht gelöscht werden" },
    Meaning { SQLITE_READONLY_DBMOVED, ErrNo::CannotOpenFile,
              "Die Datenbankdatei wurde während des Betriebs verschoben oder gelöscht" },
    Meaning { SQLITE_CANTOPEN_ISDIR, ErrNo::CannotOpenFile,
              "Die Datenbankdatei kann nicht geöffnet werden: unter ihrem Namen liegt ein Ordner" },
    Meaning { SQLITE_CONSTRAINT_UNIQUE, ErrNo::RuleViolated,
              "Der Wert ist bereits vorhanden und darf nur einmal vorkommen" },
    Meaning { SQLITE_CONSTRAINT_PRIMARYKEY, ErrNo::RuleViolated,
              "Der Wert ist bereits vorhanden und darf nur einmal vorkommen" },
    Meaning { SQLITE_CONSTRAINT_NOTNULL, ErrNo::RuleViolated, "Ein Pflichtfeld ist leer" },
    Meaning { SQLITE_CANTOPEN, ErrNo::CannotOpenFile,
              "Die Datenbankdatei kann nicht geöffnet werden" },
    Meaning { SQLITE_NOTADB, ErrNo::UnknownFormat,
              "Die Datei ist keine Datenbank dieses Programms (unbekanntes Datenbankformat)" },
    Meaning { SQLITE_CORRUPT, ErrNo::DatabaseCorrupt, "Die Datenbankdatei ist beschädigt" },
    Meaning { SQLITE_BUSY, ErrNo::FileInUse,
              "Die Datenbankdatei wird gerade von einem anderen Programm verwendet" },
    Meaning { SQLITE_LOCKED, ErrNo::FileInUse,
              "Die Datenbankdatei wird gerade von einem anderen Programm verwendet" },
    Meaning { SQLITE_FULL, ErrNo::DiskFull, "Nicht genügend Speicherplatz auf dem Datenträger" },
    Meaning { SQLITE_READONLY, ErrNo::CannotOpenFile,
              "Die Datenbankdatei ist schreibgeschützt oder der Zugriff wurde verweigert" },
    Meaning { SQLITE_PERM, ErrNo::CannotOpenFile,
              "Die Datenbankdatei ist schreibgeschützt oder der Zugriff wurde verweigert" },
    Meaning { SQLITE_AUTH, ErrNo::CannotOpenFile,
              "Die Datenbankdatei ist schreibgeschützt oder der Zugriff wurde verweigert" },
    Meaning { SQLITE_IOERR, ErrNo::DiskError, "Fehler beim Lesen oder Schreiben des Datenträgers" },
    Meaning { SQLITE_NOMEM, ErrNo::OutOfMemory, "Nicht genügend Arbeitsspeicher" },
    Meaning { SQLITE_CONSTRAINT, ErrNo::RuleViolated,
              "Die Änderung verletzt eine Regel der Datenbank" },
    Meaning { SQLITE_TOOBIG, ErrNo::SqlError, "Ein Wert ist zu groß für die Datenbank" },
    Meaning { SQLITE_MISMATCH, ErrNo::TypeMismatch, "Ein Wert hat den falschen Datentyp" },
    Meaning { SQLITE_INTERRUPT, ErrNo::SqlError, "Die Datenbankanweisung wurde abgebrochen" },
    Meaning { SQLITE_ABORT, ErrNo::SqlError, "Die Datenbankanweisung wurde abgebrochen" },
    Meaning { SQLITE_SCHEMA, ErrNo::SqlError,
              "Der Aufbau der Datenbank hat sich während der Anweisung geändert" },
    Meaning { SQLITE_RANGE, ErrNo::SqlError, "Ein Parameter der Datenbankanweisung fehlt" },
    Meaning { SQLITE_NOLFS, ErrNo::DiskError,
              "Das System kann so große Dateien nicht verarbeiten" },
};

const Meaning &meaningOf(int rc)
{
    static const Meaning fallback { SQLITE_ERROR, ErrNo::SqlError,
                                    "Fehler bei der Ausführung der Datenbankanweisung" };
    for (const Meaning &m : meanings)
        if (m.code == rc)
            return m;
    for (const Meaning &m : meanings)
        if (m.code == (rc & 0xff))
            return m;
    return fallback;
}

// The English messages that name something worth showing, and how to say them in German. Any
// other engine text is left out: the code says what happened.
QString namesIn(const QString &engineMessage)
{
    static const std::pair<QRegularExpression, QString> forms[] = {
        { QRegularExpression(QStringLiteral("^no such table: (.+)$")),
          QStringLiteral("die Tabelle '%1' fehlt") },
        { QRegularExpression(QStringLiteral("^no such column: (.+)$")),
          QStringLiteral("das Feld '%1' gibt es nicht") },
        { QRegularExpression(QStringLiteral("^no such function: (.+)$")),
          QStringLiteral("die Funktion '%1' gibt es nicht") },
        { QRegularExpression(QStringLiteral("^ambiguous column name: (.+)$")),
          QStringLiteral("der Feldname '%1' ist nicht eindeutig") },
        { QRegularExpression(QStringLiteral("^table (\\S+) already exists$")),
          QStringLiteral("die Tabelle '%1' ist bereits vorhanden") },
        { QRegularExpression(QStringLiteral("^near \"(.*)\": syntax error$")),
          QStringLiteral("Syntaxfehler bei '%1'") },
        { QRegularExpression(QStringLiteral("^integer overflow$")),
          QStringLiteral("eine Zahl ist zu groß (Überlauf)") },
        { QRegularExpression(QStringLiteral("^[A-Z ]+ constraint failed: (.+)$")),
          QStringLiteral("Feld %1") },
    };
    for (const auto &[form, german] : forms) {
        const QRegularExpressionMatch match = form.match(engineMessage);
        if (match.hasMatch())
            return match.lastCapturedIndex() >= 1 ? german.arg(match.captured(1)) : german;
    }
    return {};
}

} // namespace

DbError sqliteError(int rc, const QString &engineMessage)
{
    const Meaning &meaning = meaningOf(rc);
    QString description = QString::fromUtf8(meaning.text);
    if (const QString names = namesIn(engineMessage); !names.isEmpty())
        description += QStringLiteral(": ") + names;
    description += QStringLiteral(" (SQLite-Fehler %1)").arg(rc);
    return DbError(meaning.number, description);
}
