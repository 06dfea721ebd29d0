#pragma once

#include "common/DbError.h"

#include <QDir>

// The numbers of the errors taking races over from an Access file raises, as Jet numbers them.
namespace JetErr {
constexpr int Password = 3031; // not a valid password
constexpr int Encrypted = 3031;
constexpr int TableMissing = 3078;
constexpr int ColumnMismatch = 3265;
constexpr int TypeMismatch = 3464;

inline DbError damaged(const QString &path, const QString &why)
{
    return DbError(ErrNo::DatabaseCorrupt,
                   QStringLiteral("Die Access-Datei ist beschädigt und kann nicht gelesen werden: "
                                  "'%1' (%2). Es wurde nichts übernommen.")
                       .arg(QDir::toNativeSeparators(path), why));
}
} // namespace JetErr
