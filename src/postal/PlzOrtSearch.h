#pragma once

#include <QString>

class QWidget;

// Statements and hand-over of the postal directory, kept apart from the window so that
// their exact wording can be checked on its own.
namespace PlzOrt {

// The whole directory in place order.
QString directoryStatement();

// Rows whose field (port, plz or pvw) begins with the typed text, in place order. The text is
// quoted, so whatever is typed stays a text; an empty text lists the whole directory.
QString searchStatement(const QString &field, const QString &text);

// Writes a chosen row into the race editor's fields, found by their object names under
// editor. "lauf_ort" fills the race's place and completes the contact fields that are still
// empty; every other caller id fills the contact person's place, postcode and direct line.
void writeIntoEditor(QWidget *editor, const QString &aufruf, const QString &port,
                     const QString &plz, const QString &pvw);

} // namespace PlzOrt
