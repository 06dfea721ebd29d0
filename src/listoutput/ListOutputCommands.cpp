// SPDX-License-Identifier: GPL-3.0-or-later
#include "listoutput/ListOutputCommands.h"

#include "common/BusyPointer.h"
#include "common/FileChoice.h"
#include "common/GermanText.h"
#include "common/TextCut.h"
#include "context/AppContext.h"
#include "data/RaceStore.h"
#include "listoutput/ListCsv.h"
#include "listoutput/ListPages.h"
#include "listoutput/ListXlsx.h"
#include "racelist/RaceExport.h"

#include <QFileInfo>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace {

constexpr qsizetype kLongestName = 120;

// False, after saying so, when the window shows no race.
bool hasRaces(AppContext &ctx, const ShownList &shown)
{
    if (shown.races && !shown.races->isEmpty())
        return true;
    ctx.ui.message(QStringLiteral("Die Liste zeigt keine Läufe."), Ui::Icon::Information);
    return false;
}

// A name the dialog did not ask about may still be taken: then the question.
bool mayWrite(AppContext &ctx, const QString &path, bool askedByDialog)
{
    return askedByDialog || mayReplace(ctx.ui, path);
}

Ui::FileRequest saveRequest(AppContext &ctx, const QString &fileName, const QString &filter)
{
    Ui::FileRequest request;
    request.title = QStringLiteral("Speichern unter");
    request.initialDir = ctx.paths.exportFolder();
    request.fileName = fileName;
    request.filter = filter;
    request.confirmOverwrite = true;
    return request;
}

ListDocument shownDocument(AppContext &ctx, const ShownList &shown)
{
    return raceListDocument(*shown.races, shown.headline, ctx.clock.today());
}

} // namespace

QString listFileName(const QString &headline, const QString &extension)
{
    QString name = leftWhole(safeFileName(QStringLiteral("Läufe ") + headline), kLongestName);
    while (name.endsWith(u' ') || name.endsWith(u'.'))
        name.chop(1);
    return name + u'.' + extension;
}

ListExportTarget listExportTarget(const QString &chosen, int filterIndex)
{
    if (chosen.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive))
        return { chosen, ListFileType::Xlsx, false };
    if (chosen.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        return { chosen, ListFileType::Csv, false };
    if (filterIndex == 2)
        return { chosen + QStringLiteral(".xlsx"), ListFileType::Xlsx, true };
    return { chosen + QStringLiteral(".csv"), ListFileType::Csv, true };
}

void printListCommand(AppContext &ctx, QWidget *window, const ShownList &shown)
{
    ctx.guard([&] {
        if (!hasRaces(ctx, shown))
            return;
        BusyPointer busy(ctx.ui);
        const ListDocument doc = shownDocument(ctx, shown);
        const ListPages pages(doc);
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageLayout(listPageLayout(doc.columns));
        printer.setDocName(doc.headline);
        printer.setCreator(QStringLiteral("Strivo"));
        QPrintPreviewDialog preview(&printer, window);
        preview.setObjectName(QStringLiteral("druckvorschau"));
        // Large enough to read a page across without zooming.
        if (window)
            preview.resize(window->size());
        QObject::connect(&preview, &QPrintPreviewDialog::paintRequested,
                         [&pages](QPrinter *p) { pages.paint(*p); });
        busy.release();
        ctx.ui.runModal(preview);
    });
}

void saveListPdfCommand(AppContext &ctx, const ShownList &shown)
{
    ctx.guard([&] {
        if (!hasRaces(ctx, shown))
            return;
        const Ui::FileAnswer answer
            = ctx.ui.saveFile(saveRequest(ctx, listFileName(shown.headline, QStringLiteral("pdf")),
                                          QStringLiteral("PDF-Dokument|*.pdf")));
        if (!answer.accepted || answer.fileName.isEmpty())
            return;
        QString path = answer.fileName;
        const bool named = path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive);
        if (!named)
            path += QStringLiteral(".pdf");
        if (!mayWrite(ctx, path, named))
            return;
        BusyPointer busy(ctx.ui);
        const ListDocument doc = shownDocument(ctx, shown);
        const int pages = saveListPdf(doc, path);
        busy.release();
        ctx.ui.message(QStringLiteral("Die Liste wurde als PDF gespeichert: %1 auf %2.")
                           .arg(countText(qsizetype(doc.rows.size()), u"Lauf", u"Läufe"),
                                countText(pages, u"Seite", u"Seiten")),
                       Ui::Icon::Information);
    });
}

void exportListCommand(AppContext &ctx, const ShownList &shown)
{
    ctx.guard([&] {
        if (!hasRaces(ctx, shown))
            return;
        const Ui::FileAnswer answer
            = ctx.ui.saveFile(saveRequest(ctx, listFileName(shown.headline, QStringLiteral("csv")),
                                          QStringLiteral("CSV für Excel und LibreOffice|*.csv|"
                                                         "Excel-Arbeitsmappe|*.xlsx")));
        if (!answer.accepted || answer.fileName.isEmpty())
            return;
        const ListExportTarget target = listExportTarget(answer.fileName, answer.filterIndex);
        if (!mayWrite(ctx, target.path, !target.extensionAdded))
            return;
        BusyPointer busy(ctx.ui);
        XlsxExported done;
        if (target.type == ListFileType::Xlsx)
            done = writeRacesXlsx(*shown.races, target.path);
        else
            done.races = writeRacesCsv(*shown.races, target.path);
        busy.release();
        ctx.ui.message(QStringLiteral("%1 in die Datei \u201E%2\u201C exportiert.")
                               .arg(countText(done.races, u"Lauf", u"Läufe"),
                                    QFileInfo(target.path).fileName())
                           + cutCellsNote(done.cutCells),
                       Ui::Icon::Information);
    });
}

void addListOutputItems(QMenu &menu, AppContext &ctx, QWidget *window,
                        const std::function<ShownList()> &shown)
{
    const struct
    {
        const char *name;
        const char16_t *caption;
        std::function<void(const ShownList &)> run;
    } items[] = {
        { "m_drucken", u"Liste &drucken...",
          [&ctx, window](const ShownList &s) { printListCommand(ctx, window, s); } },
        { "m_pdf", u"Liste als &PDF speichern...",
          [&ctx](const ShownList &s) { saveListPdfCommand(ctx, s); } },
        { "m_liste_export", u"Liste e&xportieren (CSV, Excel-Arbeitsmappe)...",
          [&ctx](const ShownList &s) { exportListCommand(ctx, s); } },
    };
    for (const auto &item : items) {
        QAction *action = menu.addAction(QString::fromUtf16(item.caption));
        action->setObjectName(QString::fromLatin1(item.name));
        QObject::connect(action, &QAction::triggered, &menu,
                         [run = item.run, shown] { run(shown()); });
    }
}
