#include "data/FileError.h"

#include "fileio/FileIo.h"

#include <QDir>

int errNoForSystemError(int err)
{
    switch (fileio::failureOf(err)) {
    case fileio::Failure::NoSpace:
    case fileio::Failure::TooLarge:
        return ErrNo::DiskFull;
    case fileio::Failure::Denied:
    case fileio::Failure::ReadOnly:
        return ErrNo::CannotOpenFile;
    case fileio::Failure::Missing:
        return ErrNo::FileNotFound;
    case fileio::Failure::Exists:
        return ErrNo::FileExists;
    case fileio::Failure::NameTooLong:
    case fileio::Failure::Other:
        break;
    }
    return ErrNo::DiskError;
}

DbError fileError(int err, const QString &description)
{
    return DbError(errNoForSystemError(err), description);
}

QString systemErrorReason(int err)
{
    switch (fileio::failureOf(err)) {
    case fileio::Failure::Exists:
        return QStringLiteral("die Datei ist bereits vorhanden");
    case fileio::Failure::Missing:
        return QStringLiteral("die Datei oder ein Ordner auf ihrem Pfad fehlt");
    case fileio::Failure::Denied:
        return QStringLiteral("es fehlt die Schreibberechtigung");
    case fileio::Failure::ReadOnly:
        return QStringLiteral("der Datenträger ist schreibgeschützt");
    case fileio::Failure::NoSpace:
        return QStringLiteral("auf dem Datenträger ist kein Platz frei");
    case fileio::Failure::TooLarge:
        return QStringLiteral("die Datei wäre größer, als das System erlaubt");
    case fileio::Failure::NameTooLong:
        return QStringLiteral("der Pfad ist zu lang");
    case fileio::Failure::Other:
        break;
    }
    return QStringLiteral("Systemfehler %1").arg(err);
}

QString shownPath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}
