// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's commands: the race editor in its four modes, the export and the menu.
#include "racelist/RaceListWindow.h"

#include "about/AboutBox.h"
#include "about/ProductsBox.h"
#include "context/AppContext.h"
#include "data/RaceStore.h"
#include "data/WorkbookExport.h"
#include "editor/RaceEditor.h"
#include "fees/FeesWindow.h"
#include "picklists/PickListEditor.h"
#include "racelist/RaceExport.h"
#include "racelist/RaceListRows.h"
#include "statistics/StatisticsWindow.h"
#include "ui/ListGrid.h"

void RaceListWindow::onCommandClicked(int index)
{
    m_ctx.guard(
        [this, index] {
            const std::optional<qlonglong> current = currentRaceNumber();
            switch (index) {
            case 0:
                openEditor(EditorMode::New, std::nullopt);
                break;
            case 1:
                if (current)
                    openEditor(EditorMode::Edit, current);
                break;
            case 2:
                if (current)
                    openEditor(EditorMode::Delete, current);
                break;
            case 3:
                if (current)
                    openEditor(EditorMode::Copy, current);
                break;
            case 5:
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

// The editor works on the race of the list's current row; afterwards the list is read again
// and stands on its first row.
void RaceListWindow::openEditor(EditorMode mode, std::optional<qlonglong> number)
{
    std::optional<Race> race;
    if (number)
        race = m_ctx.races().race(*number);
    editRace(m_ctx, this, mode, std::move(race));
    reloadList();
}

bool RaceListWindow::exportRaces()
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

void RaceListWindow::onPickListsClicked()
{
    runWindow<PickListEditor>(m_ctx, this);
}

void RaceListWindow::onStatisticsClicked()
{
    runWindow<StatisticsWindow>(m_ctx, this);
}

// Races may have been changed from the fee list's editor.
void RaceListWindow::onFeesClicked()
{
    runWindow<FeesWindow>(m_ctx, this);
    m_ctx.guard([this] { reloadList(); });
}

void RaceListWindow::onProductsClicked()
{
    runWindow<ProductsBox>(m_ctx, this);
}

void RaceListWindow::onInfoClicked()
{
    runWindow<AboutBox>(m_ctx, this);
}
