#include "icalexport/CalendarExportCommand.h"

#include "common/BusyPointer.h"
#include "context/AppContext.h"
#include "icalexport/CalendarExport.h"

#include <QFileInfo>

Ui::FileRequest calendarSaveRequest(const QString &exportFolder)
{
    Ui::FileRequest request;
    request.title = QStringLiteral("Speichern unter");
    request.initialDir = exportFolder;
    request.fileName = QStringLiteral("Strivo-Termine.ics");
    request.filter = QStringLiteral("iCalendar|*.ics");
    // A calendar file is meant to be exported again over the last one.
    request.confirmOverwrite = true;
    request.defaultSuffix = QStringLiteral("ics");
    return request;
}

void exportCalendarCommand(AppContext &ctx)
{
    ctx.guard([&ctx] {
        const Ui::FileAnswer answer
            = ctx.ui.saveFile(calendarSaveRequest(ctx.paths.exportFolder()));
        if (!answer.accepted || answer.fileName.isEmpty())
            return;
        QString path = answer.fileName;
        if (QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".ics");
        BusyPointer busy(ctx.ui);
        const CalendarPlan plan = exportCalendar(ctx.paths.database(), path, ctx.clock.now());
        busy.release();
        const QString shownText = calendarExportMessage(plan);
        ctx.ui.message(shownText, Ui::Icon::Information, Ui::Buttons::Ok);
    });
}
