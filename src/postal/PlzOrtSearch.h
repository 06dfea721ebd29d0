#pragma once

#include <QString>

// Statements of the postal directory, kept apart from the window so that
// their exact wording can be checked on its own.
namespace PlzOrt {

// The whole directory in place order.
QString directoryStatement();

// Rows whose field (port, plz or pvw) begins with the typed text, in place order. The text is
// quoted, so whatever is typed stays a text; an empty text lists the whole directory.
QString searchStatement(const QString &field, const QString &text);

} // namespace PlzOrt
