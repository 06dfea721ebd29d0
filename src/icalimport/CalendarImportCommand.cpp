// SPDX-License-Identifier: GPL-3.0-or-later
#include "icalimport/CalendarImportCommand.h"

#include "common/BusyPointer.h"
#include "context/AppContext.h"
#include "icalimport/CalendarImportDialog.h"

#include <QDir>

bool importCalendarCommand(AppContext &ctx, QWidget *parent)
{
    Ui::FileRequest request;
    request.title = QStringLiteral("Läufe aus Kalenderdatei übernehmen");
    request.initialDir = QDir::homePath();
    request.filter = QStringLiteral("Kalenderdateien|*.ics;*.ical;*.ifb|Alle Dateien|*");
    const Ui::FileAnswer chosen = ctx.ui.openFile(request);
    if (!chosen.accepted || chosen.fileName.isEmpty())
        return false;
    bool added = false;
    ctx.guard([&] {
        std::optional<CalendarImportDialog> dialog;
        {
            BusyPointer busy(ctx.ui);
            CalendarFile file;
            try {
                file = readCalendarFile(chosen.fileName, userTimeZone(), ctx.clock.today());
            } catch (const CalendarFileError &error) {
                busy.release();
                ctx.ui.message(error.text(), Ui::Icon::Warning, Ui::Buttons::Ok);
                return;
            }
            std::vector<Candidate> candidates
                = candidatesOf(file, knownRaces(ctx.races()), ctx.clock.today());
            const QString skipped = skippedMessage(file);
            busy.release();
            if (!skipped.isEmpty())
                ctx.ui.message(skipped, Ui::Icon::Warning, Ui::Buttons::Ok);
            dialog.emplace(ctx, chosen.fileName, std::move(file), std::move(candidates), parent);
        }
        ctx.ui.runModal(*dialog);
        if (!dialog->takenOver())
            return;
        added = dialog->takenOver()->added > 0;
        ctx.ui.message(takeOverMessage(*dialog->takenOver()), Ui::Icon::Information,
                       Ui::Buttons::Ok);
    });
    return added;
}
