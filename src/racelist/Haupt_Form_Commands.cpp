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
#include "statistics/Statistik_Form.h"
#include "ui/DataGrid.h"

#include <QMenuBar>

void Haupt_Form::db_neu_Click(int index)
{
    m_ctx.guard(
        [this, index] {
            SharedVars &v = m_ctx.vars;
            DataSource &races = m_ctx.Lauf_db;
            v.loeschen_jn = QStringLiteral("nein");
            v.neu_jn = QStringLiteral("nein");
            switch (index) {
            case 0:
                v.bearb_modus = BearbModus::New;
                v.neu_jn = QStringLiteral("ja");
                openEditor();
                break;
            case 1:
                if (races.hasRows()) {
                    v.akt_ad_nummer = races.value(QStringLiteral("ad_nummer")).toString();
                    v.bearb_modus = BearbModus::Edit;
                    openEditor();
                }
                break;
            case 2:
                if (!races.eof()) {
                    v.bearb_modus = BearbModus::Delete;
                    openEditor();
                }
                break;
            case 3:
                v.bearb_modus = BearbModus::Copy;
                if (!races.eof()) {
                    v.akt_ad_nummer = races.value(QStringLiteral("ad_nummer")).toString();
                    openEditor();
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
            DBGrid1->viewport()->update();
            v.aufruf_form = QStringLiteral("haupt_form");
        },
        { ErrNo::WindowUnloaded });
}

void Haupt_Form::openEditor()
{
    Adressen_Form editor(m_ctx, this);
    m_ctx.ui.runModal(editor);
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
