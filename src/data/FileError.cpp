#include "data/FileError.h"

#include "fileio/FileIo.h"

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
