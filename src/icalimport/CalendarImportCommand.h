// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class AppContext;
class QWidget;

// "Datei" -> "Läufe aus Kalenderdatei übernehmen (iCalendar)...": asks for the file, offers its
// events in the dialog and says what was taken over. Returns true when races were added.
bool importCalendarCommand(AppContext &ctx, QWidget *parent = nullptr);
