// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/DbError.h"

#include <QString>

// The errors of writing one record of a list, and the check before a record is overwritten.

// A text as read and as stored now are the same value (an empty text is not NULL).
inline bool sameStoredText(const QString &a, const QString &b)
{
    return a.isNull() == b.isNull() && a == b;
}

inline DbError rowChangedError()
{
    return DbError(ErrNo::RowChanged,
                   QStringLiteral("Der Datensatz wurde seit dem Lesen von einem anderen Vorgang "
                                  "geändert."));
}

inline DbError recordDeletedError()
{
    return DbError(ErrNo::RecordDeleted, QStringLiteral("Der Datensatz ist gelöscht."));
}

inline DbError noCurrentRecordError()
{
    return DbError(ErrNo::NoCurrentRecord, QStringLiteral("Kein aktueller Datensatz."));
}

inline DbError updateWithoutEditError()
{
    return DbError(ErrNo::UpdateWithoutEdit,
                   QStringLiteral("Aktualisieren ohne Hinzufügen oder Bearbeiten."));
}
