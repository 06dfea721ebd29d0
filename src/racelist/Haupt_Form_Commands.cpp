// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's commands: the race editor in its four modes, the export and the menu.
#include "racelist/Haupt_Form.h"

#include "about/Info_Form.h"
#include "about/Produkte_Form.h"
#include "context/AppContext.h"
#include "data/WorkbookExport.h"
#include "editor/Adressen_Form.h"
#include "picklists/Auswahl_Form.h"
#include "racelist/RaceExport.h"
#include "racelist/RaceListRows.h"
#include "statistics/Statistik_Form.h"
#include "ui/ListGrid.h"

void Haupt_Form::onCommandClicked(int index)
{
    m_ctx.guard(
        [this, index] {
            SharedVars &v = m_ctx.vars;
            const std::optional<qlonglong> current = currentRaceNumber();
            v.loeschen_jn = QStringLiteral("nein");
            v.neu_jn = QStringLiteral("nein");
            switch (index) {
            case 0:
                v.bearb_modus = BearbModus::New;
                v.neu_jn = QStringLiteral("ja");
                openEditor(std::nullopt);
                break;
            case 1:
                if (current) {
                    v.akt_ad_nummer = QString::number(*current);
                    v.bearb_modus = BearbModus::Edit;
                    openEditor(current);
                }
                break;
            case 2:
                if (current) {
                    v.bearb_modus = BearbModus::Delete;
                    openEditor(current);
                }
                break;
            case 3:
                v.bearb_modus = BearbModus::Copy;
                if (current) {
                    v.akt_ad_nummer = QString::number(*current);
                    openEditor(current);
                }
                break;
            case 5:
                v.bearb_modus = BearbModus::Export;
                if (!exportRaces())
                    return;
                break;
            default:
                return;
            }
            m_grid->viewport()->update();
        },
        { ErrNo::WindowUnloaded });
}

void Haupt_Form::openEditor(std::optional<qlonglong> race)
{
    // The editor still reads and writes its race through the program's race source: it is
    // opened on the chosen race alone.
    DataSource &source = m_ctx.Lauf_db;
    source.setDatabaseName(m_ctx.paths.database());
    source.setRecordSource(
        QStringLiteral("select * from adressen where ad_nummer = %1").arg(race.value_or(-1)));
    source.refresh();
    Adressen_Form editor(m_ctx, this);
    m_ctx.ui.runModal(editor);
    reloadList();
}

bool Haupt_Form::exportRaces()
{
    const RaceListRows *rows = shownRows();
    if (!rows || rows->list().isEmpty())
        return false;
    m_grid->setCurrentRow(0);

    Ui::FileRequest request;
    request.initialDir = m_ctx.paths.exportFolder();
    request.title = QStringLiteral("Speichern unter");
    request.fileName = proposedExportName(m_ctx.clock.now());
    request.filter = QStringLiteral("Excel 97|*.xls");
    const Ui::FileAnswer answer = m_ctx.ui.saveFile(request);
    const QString path = answer.fileName;
    if (path == request.fileName)
        return false;
    if (path.size() > kMaxExportPathLength) {
        const QString shownText = exportPathTooLongMessage(path);
        m_ctx.ui.message(shownText, Ui::Icon::None, Ui::Buttons::Ok);
        return false;
    }
    const quint32 cutCells = exportRacesToWorkbook(m_ctx.paths.database(), path);
    const QString shownText = exportDoneMessage(cutCells);
    m_ctx.ui.message(shownText, Ui::Icon::None, Ui::Buttons::Ok);
    return true;
}

namespace {
template<class Window> void runWindow(AppContext &ctx, QWidget *parent)
{
    ctx.guard([&] {
        Window window(ctx, parent);
        ctx.ui.runModal(window);
    });
}
} // namespace

void Haupt_Form::onPickListsClicked()
{
    runWindow<Auswahl_Form>(m_ctx, this);
}

void Haupt_Form::onStatisticsClicked()
{
    runWindow<Statistik_Form>(m_ctx, this);
}

void Haupt_Form::onProductsClicked()
{
    runWindow<Produkte_Form>(m_ctx, this);
}

void Haupt_Form::onInfoClicked()
{
    runWindow<Info_Form>(m_ctx, this);
}
