#pragma once

#include "common/Ui.h"

#include <QString>

// A proposed file name without the characters that a folder name or another system could take
// for a separator or refuse (control characters, / \ : * ? " < > |): each becomes "-".
QString safeFileName(QString name);

// True when `path` may be written: it does not exist yet, or the user has agreed to replace it.
bool mayReplace(Ui &ui, const QString &path);
