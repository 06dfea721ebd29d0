// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's commands: the race editor in its four modes, the export and the menu.
#include "racelist/Haupt_Form.h"

#include "about/Info_Form.h"
#include "about/Produkte_Form.h"
#include "context/AppContext.h"
#include "data/RaceStore.h"
#include "data/WorkbookExport.h"
#include "editor/Adressen_Form.h"
#include "picklists/Auswahl_Form.h"
#include "racelist/RaceExport.h"
#include "statistics/Statistik_Form.h"
#include "ui/DataGrid.h"

#include <QMenuBar>

void Haupt_Form::db_neu_Click(int index)
{
    m_ctx.guard(
        [this, index] {
            DataSource &races = m_ctx.Lauf_db;
            switch (index) {
            case 0:
                openEditor(EditorMode::New);
                break;
            case 1:
                if (races.hasRows())
                    openEditor(EditorMode::Edit);
                break;
            case 2:
                if (!races.eof())
                    openEditor(EditorMode::Delete);
                break;
            case 3:
                if (!races.eof())
                    openEditor(EditorMode::Copy);
                break;
            case 5:
                if (!exportRaces())
                    return;
                break;
            default:
                return;
            }
            DBGrid1->viewport()->update();
            m_ctx.vars.aufruf_form = QStringLiteral("haupt_form");
        },
        { ErrNo::WindowUnloaded });
}

// The editor works on the race of the list's current row; afterwards the list is read again
// and stands on its first row.
void Haupt_Form::openEditor(EditorMode mode)
{
    DataSource &races = m_ctx.Lauf_db;
    std::optional<Race> race;
    if (mode != EditorMode::New)
        race = m_ctx.races().race(races.value(QStringLiteral("ad_nummer")).toLongLong());
    const EditorOutcome outcome = editRace(m_ctx, this, mode, std::move(race));
    if (outcome.result == EditorOutcome::Result::Cancelled) {
        if (races.hasRows())
            races.moveFirst();
        return;
    }
    races.refresh();
}

bool Haupt_Form::exportRaces()
{
    DataSource &races = m_ctx.Lauf_db;
    if (races.recordCount() <= 0)
        return false;
    races.moveFirst();

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
    const StatementResult result
        = executeStatement(m_ctx.paths.database(), exportStatement(path), path);
    const QString shownText = exportDoneMessage(result.cutCells);
    m_ctx.ui.message(shownText, Ui::Icon::None, Ui::Buttons::Ok);
    return true;
}

void Haupt_Form::m_auswahl_Click()
{
    m_ctx.guard([this] {
        Auswahl_Form window(m_ctx, this);
        m_ctx.ui.runModal(window);
    });
}

void Haupt_Form::m_statistik_Click()
{
    m_ctx.guard([this] {
        Statistik_Form window(m_ctx, this);
        m_ctx.ui.runModal(window);
    });
}

void Haupt_Form::m_produkte_Click()
{
    m_ctx.guard([this] {
        Produkte_Form window(m_ctx, this);
        m_ctx.ui.runModal(window);
    });
}

void Haupt_Form::m_info_Click()
{
    m_ctx.guard([this] {
        Info_Form window(m_ctx, this);
        m_ctx.ui.runModal(window);
    });
}
