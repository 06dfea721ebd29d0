#pragma once

class QLineEdit;

// A line edit's length limit counts UTF-16 units, and Qt keeps the first half of a character
// that takes two (an emoji, some CJK) when only one place is left. Such a half is dropped at
// once, so that the field never holds, and the database never receives, half a character.
void keepWholeCharacters(QLineEdit *field);
