// SPDX-License-Identifier: GPL-3.0-or-later
// Ending the race editor: saving (or deleting) the race, and cancelling.
#include "editor/RaceEditor.h"

#include "common/DbError.h"
#include "context/AppContext.h"
#include "data/RaceStore.h"
#include "editor/DateLabel.h"
#include "editor/PickListCombo.h"

#include <QComboBox>
#include <QProgressBar>

void RaceEditor::onSaveClicked()
{
    const bool deleting = m_mode == EditorMode::Delete;
    if (!deleting)
        m_pickLists->leaveFocusedCombo();
    if (aw_Combo1(7)->currentText().isEmpty() && !deleting) {
        const QString shownText
            = QStringLiteral("Geben Sie bitte einen Namen ein oder klicken Sie auf 'Abbrechen'!");
        m_ctx.ui.message(shownText, Ui::Icon::Warning, Ui::Buttons::Ok);
        return;
    }
    if (ad_l_lauf_datum->text().isEmpty() && !deleting) {
        const QString shownText
            = QStringLiteral("Geben Sie bitte ein Datum ein oder klicken Sie auf 'Abbrechen'!");
        m_ctx.ui.message(shownText, Ui::Icon::Warning, Ui::Buttons::Ok);
        return;
    }
    // A race changed in the file since it was read (ErrNo::RowChanged) is not overwritten and
    // not reported; the editor stays open.
    const bool done = m_ctx.guard(
        [this, deleting] {
            // A new race or copy that could not be added has no row to write into.
            if (m_asRead.number == 0)
                throw DbError(ErrNo::NoCurrentRecord, QStringLiteral("Kein aktueller Datensatz."));
            if (deleting) {
                const QString shownText
                    = QStringLiteral("Soll dieser Lauf wirklich gelöscht werden ?");
                if (m_ctx.ui.message(shownText, Ui::Icon::Question, Ui::Buttons::YesNo)
                    == Ui::Answer::Yes) {
                    m_ctx.races().remove(m_asRead.number);
                    m_outcome = { EditorOutcome::Result::Deleted, std::nullopt, m_asRead.number };
                }
            } else {
                ProgressBar1->show();
                ProgressBar1->setValue(0);
                Race race = m_asRead;
                writeRace(race);
                m_ctx.races().save(race, &m_asRead);
                m_outcome = { EditorOutcome::Result::Saved, race, 0 };
                stepProgress();
                stepProgress();
                ProgressBar1->hide();
            }
            finish(true);
        },
        { ErrNo::RowChanged });
    if (!done)
        ProgressBar1->hide();
}

void RaceEditor::onCancelClicked()
{
    m_ctx.guard([this] {
        // Only the race this opening added goes.
        if (m_addedNumber != 0)
            m_ctx.races().cancelNew(m_addedNumber);
        m_addedNumber = 0;
        m_outcome = {};
        finish(false);
    });
}

void RaceEditor::reject()
{
    onCancelClicked();
}

void RaceEditor::finish(bool accepted)
{
    if (accepted)
        QDialog::accept();
    else
        QDialog::reject();
}
