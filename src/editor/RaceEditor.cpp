// SPDX-License-Identifier: GPL-3.0-or-later
// Opening the race editor: preparing the race for the mode, filling the pick lists, and the
// two check-box and option rules that also apply while loading.
#include "editor/RaceEditor.h"

#include "common/DbError.h"
#include "context/AppContext.h"
#include "data/RaceStore.h"
#include "editor/DateLabel.h"
#include "editor/FieldBehaviours.h"
#include "editor/PickListCombo.h"
#include "editor/PictureTab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

EditorOutcome editRace(AppContext &ctx, QWidget *parent, EditorMode mode, std::optional<Race> race)
{
    RaceEditor editor(ctx, mode, std::move(race), parent);
    ctx.ui.runModal(editor);
    return editor.outcome();
}

RaceEditor::RaceEditor(AppContext &ctx, EditorMode mode, std::optional<Race> race, QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
    , m_mode(mode)
{
    buildForm();
    buildDocuments();
    new PictureTab(m_ctx, *this); // owned by this window

    connect(ad_check_bezahlt, &QCheckBox::toggled, this, &RaceEditor::onPaidToggled);
    for (const auto &[index, option] : ad_o_strecke) {
        connect(option, &QRadioButton::toggled, this, [this, index = index](bool on) {
            if (on)
                onDistanceChosen(index);
        });
    }
    connect(m_saveButton, &QPushButton::clicked, this, &RaceEditor::onSaveClicked);
    connect(m_cancelButton, &QPushButton::clicked, this, &RaceEditor::onCancelClicked);
    m_fieldBehaviours = std::make_unique<FieldBehaviours>(m_ctx, *this);
    m_pickLists = std::make_unique<PickListCombos>(m_ctx, aw_Combo1);

    load(std::move(race));
}

RaceEditor::~RaceEditor() = default;

bool RaceEditor::event(QEvent *event)
{
    const bool handled = QDialog::event(event);
    if (event->type() == QEvent::WindowActivate)
        fillPickLists();
    return handled;
}

void RaceEditor::load(std::optional<Race> race)
{
    m_ctx.guard([this, &race] {
        ad_l_angemeldet->setText(QStringLiteral(" "));
        ad_t_strecke->setText(QStringLiteral(" "));
        ad_t_zeit->setText(QStringLiteral(" "));
        onDistanceChosen(0);

        for (int i = 0; i <= 23; ++i)
            t_termin_stunde->addItem(QLatin1Char(' ') + QString::number(i));
        for (int i = 0; i <= 55; i += 5)
            t_termin_minuten->addItem(QLatin1Char(' ') + QString::number(i));
        t_termin_stunde->setCurrentIndex(-1);
        t_termin_stunde->setEditText(QStringLiteral("9"));
        t_termin_minuten->setCurrentIndex(-1);
        t_termin_minuten->setEditText(QStringLiteral("00"));

        if (m_mode == EditorMode::New) {
            clearForNewRace();
            addRace(std::nullopt);
            return;
        }
        if (!race)
            throw DbError(ErrNo::NoCurrentRecord, QStringLiteral("Kein aktueller Datensatz."));
        showRace(*race);
        if (m_mode == EditorMode::Copy) {
            addRace(race);
            return;
        }
        m_asRead = *race;
        // Only an existing race has links yet; a new race or a copy starts with none.
        m_documents = m_ctx.races().documents(m_asRead.number);
        showDocuments();
        if (m_mode == EditorMode::Delete) {
            for (QWidget *w : { static_cast<QWidget *>(Frame1), static_cast<QWidget *>(Frame4),
                                static_cast<QWidget *>(Frame9), static_cast<QWidget *>(Frame10),
                                static_cast<QWidget *>(SSTab1) })
                w->setEnabled(false);
            m_saveButton->setText(QStringLiteral("Löschen"));
        }
    });
}

void RaceEditor::clearForNewRace()
{
    Race empty;
    for (const TextField &field : textFields(empty))
        field.control->clear();
    ad_l_lauf_datum->clear();
    for (const ListField &field : listFields(empty))
        aw_Combo1(field.index)->setEditText(QString());
    ad_t_notiz->clear();
}

// New race and copy: the race is in the file from the start, so that documents can be linked
// to its number before it is saved. Saving writes over the empty row as it was read.
void RaceEditor::addRace(const std::optional<Race> &source)
{
    RaceStore &races = m_ctx.races();
    const Race added = source ? races.addCopy(*source) : races.addEmpty();
    m_addedNumber = added.number;
    m_asRead = races.race(added.number).value_or(added);
}

void RaceEditor::fillPickLists()
{
    m_ctx.guard([this] { m_pickLists->fillListsOnce(); });
}

void RaceEditor::onPaidToggled()
{
    if (!ad_check_bezahlt->isChecked())
        ad_l_ueberwiesen->setText(QStringLiteral(" "));
    else
        ad_check_alarm->setChecked(false);
}

void RaceEditor::onDistanceChosen(int index)
{
    ad_t_strecke->setVisible(index == 2);
}
