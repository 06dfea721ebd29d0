#pragma once

class QLineEdit;
class QString;

// A text field's length limit holds for what the user types, not for what the program shows:
// a longer stored value is shown and saved whole. Editing such a value may shorten it but
// never lengthen it, until it fits the limit again.
namespace FieldLimit {
// Sets the limit as the field's maximum length and keeps it for later loads.
void setLimit(QLineEdit &field, int limit);
// Shows a value the program read, whole, whatever the limit.
void showWhole(QLineEdit &field, const QString &text);
} // namespace FieldLimit
