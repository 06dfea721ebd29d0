#pragma once

#include "common/Ui.h"

class AppContext;

// The save dialog of the calendar export, like the Excel export's: Export/ folder, proposing
// "Strivo-Termine.ics".
Ui::FileRequest calendarSaveRequest(const QString &exportFolder);

// "Termine exportieren (iCalendar)...": asks for the file, writes it and reports the counts.
// Failures show the standard error box and leave the chosen file as it was.
void exportCalendarCommand(AppContext &ctx);
