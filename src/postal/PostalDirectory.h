#pragma once

#include <QString>

class AppContext;
class QWidget;

// Opens the postal directory modally for the race editor. aufruf says which of the editor's
// fields a chosen row fills: "lauf_ort" (the race's place) or "ort" (the contact person).
void openPostalDirectory(AppContext &ctx, QWidget *editor, const QString &aufruf);
