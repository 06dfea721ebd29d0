// SPDX-License-Identifier: GPL-3.0-or-later
// Widgets and their places; the behaviour is in PostalDirectoryDialog.cpp.
#include "postal/PostalDirectoryDialog.h"

#include "ui/FormBuilder.h"
#include "ui/ListGrid.h"
#include "ui/Style.h"
#include "ui/Twips.h"

#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int kLeft = 120;
constexpr int kWidth = 7200;
constexpr int kGridTop = 1140;
constexpr int kGridHeight = 4080;
constexpr int kRowTop = kGridTop + kGridHeight + 60; // command row / edit row
constexpr int kOkRowTop = kRowTop + 540; // OK row / save row
constexpr int kButtonHeight = 435;

// Widths of the grid's columns, in twips; the edit row lines up under them.
constexpr int kColumnWidths[3] = { 4000, 1200, 1200 };

} // namespace

void PostalDirectoryDialog::buildForm()
{
    FormBuilder b(this);
    setObjectName(QStringLiteral("PLZORT_Form"));
    setWindowTitle(QStringLiteral("Auswahl von Ort, PLZ und Vorwahl"));
    setFixedSize(twSize(kLeft + kWidth + kLeft, kOkRowTop + kButtonHeight + 120));

    // Search fields, each above the grid column it searches.
    p_f_suche = b.frame(QStringLiteral("p_f_suche"), QStringLiteral("Suche nach:"),
                        { kLeft, 60, kWidth, 1005 });
    FormBuilder inSearch = b.on(p_f_suche);
    p_t_ort = inSearch.field(QStringLiteral("p_t_ort"), { 375, 555, 3600, 315 }, 35,
                             QStringLiteral("Ort"));
    p_t_plz = inSearch.field(QStringLiteral("p_t_plz"), { 4380, 555, 1140, 315 }, 10,
                             QStringLiteral("PLZ"));
    p_t_vw = inSearch.field(QStringLiteral("p_t_vw"), { 5580, 555, 1140, 315 }, 10,
                            QStringLiteral("Vorwahl"));
    p_l_ort = inSearch.label(QStringLiteral("Ort"), { 375, 300, 3600, 225 }, p_t_ort,
                             QStringLiteral("p_l_ort"));
    p_l_plz = inSearch.label(QStringLiteral("PLZ"), { 4380, 300, 1140, 225 }, p_t_plz,
                             QStringLiteral("p_l_plz"));
    p_l_vw = inSearch.label(QStringLiteral("Vorwahl"), { 5580, 300, 1140, 225 }, p_t_vw,
                            QStringLiteral("p_l_vw"));

    DBGrid1 = new ListGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(twRect(kLeft, kGridTop, kWidth, kGridHeight));
    DBGrid1->setAccessibleName(QStringLiteral("Orte mit Postleitzahl und Vorwahl"));
    connect(DBGrid1, &ListGrid::rowActivated, this, &PostalDirectoryDialog::onRowActivated);

    p_f_command
        = b.commandRow(QStringLiteral("p_f_command"), { kLeft, kRowTop, kWidth, kButtonHeight });
    FormBuilder inCommands = b.on(p_f_command);
    const QString commands[4]
        = { QStringLiteral("&Neuen Ort erfassen"), QStringLiteral("&Bearbeiten"),
            QStringLiteral("&Löschen"), QStringLiteral("&Kopieren") };
    const int lefts[4] = { 0, 2160, 3840, 5520 };
    const int widths[4] = { 2100, 1620, 1620, 1680 };
    for (int k = 0; k < 4; ++k) {
        db_neu_plz[size_t(k)]
            = inCommands.commandButton(QStringLiteral("db_neu_plz(%1)").arg(k), commands[k],
                                       { lefts[k], 0, widths[k], kButtonHeight });
        connect(db_neu_plz[size_t(k)], &QPushButton::clicked, this,
                [this, k] { onCommandClicked(k); });
    }

    // The edit row lies where the command row is; its fields are lined up under the grid's
    // columns when the window is shown (alignEditRow), these are the places before that.
    p_f_edit = b.commandRow(QStringLiteral("p_f_edit"), { kLeft, kRowTop, kWidth, kButtonHeight });
    FormBuilder inEdit = b.on(p_f_edit);
    const int firstColumn = 270;
    p_t_ort_edit
        = inEdit.field(QStringLiteral("p_t_ort_edit"), { firstColumn, 60, kColumnWidths[0], 315 },
                       35, QStringLiteral("Ort"));
    p_t_plz_edit = inEdit.field(QStringLiteral("p_t_plz_edit"),
                                { firstColumn + kColumnWidths[0], 60, kColumnWidths[1], 315 }, 10,
                                QStringLiteral("PLZ"));
    p_t_vw_edit = inEdit.field(
        QStringLiteral("p_t_vw_edit"),
        { firstColumn + kColumnWidths[0] + kColumnWidths[1], 60, kColumnWidths[2], 315 }, 10,
        QStringLiteral("Vorwahl"));
    p_f_edit->hide();

    p_f_ok = b.commandRow(QStringLiteral("p_f_ok"), { kLeft, kOkRowTop, kWidth, kButtonHeight });
    FormBuilder inOk = b.on(p_f_ok);
    p_c_ok = inOk.button(QStringLiteral("p_c_ok"),
                         QStringLiteral("&OK - PLZ, Ort und Vorwahl übernehmen"),
                         { 0, 0, 4800, kButtonHeight }, Style::LightGreen);
    p_c_abbr = inOk.button(QStringLiteral("p_c_abbr"), QStringLiteral("&Abbrechen"),
                           { 4980, 0, 2220, kButtonHeight }, Style::LightRed);
    connect(p_c_ok, &QPushButton::clicked, this, &PostalDirectoryDialog::onOkClicked);
    connect(p_c_abbr, &QPushButton::clicked, this, &PostalDirectoryDialog::onCancelClicked);

    p_f_ok_edit
        = b.commandRow(QStringLiteral("p_f_ok_edit"), { kLeft, kOkRowTop, kWidth, kButtonHeight });
    FormBuilder inOkEdit = b.on(p_f_ok_edit);
    p_c_ok_edit = inOkEdit.button(QStringLiteral("p_c_ok_edit"), QStringLiteral("&Speichern"),
                                  { 2760, 0, 2220, kButtonHeight }, Style::LightGreen);
    p_c_abbr_edit = inOkEdit.button(QStringLiteral("p_c_abbr_edit"), QStringLiteral("A&bbrechen"),
                                    { 4980, 0, 2220, kButtonHeight }, Style::LightRed);
    connect(p_c_ok_edit, &QPushButton::clicked, this, &PostalDirectoryDialog::onSaveClicked);
    connect(p_c_abbr_edit, &QPushButton::clicked, this,
            &PostalDirectoryDialog::onCancelEditClicked);
    p_f_ok_edit->hide();

    for (QLineEdit *field : { p_t_ort, p_t_plz, p_t_vw, p_t_ort_edit, p_t_plz_edit, p_t_vw_edit })
        field->installEventFilter(this);
    for (QLineEdit *field : { p_t_ort, p_t_plz, p_t_vw })
        connect(field, &QLineEdit::textChanged, this, [this, field] { search(field); });
    connect(DBGrid1->horizontalHeader(), &QHeaderView::sectionResized, this,
            &PostalDirectoryDialog::alignEditRow);

    setTabChain({ p_t_ort, p_t_plz, p_t_vw, DBGrid1, db_neu_plz[0], db_neu_plz[1], db_neu_plz[2],
                  db_neu_plz[3], p_c_ok, p_c_abbr, p_t_ort_edit, p_t_plz_edit, p_t_vw_edit,
                  p_c_ok_edit, p_c_abbr_edit });
}

void PostalDirectoryDialog::alignEditRow()
{
    // The edit fields stand exactly under the grid's columns "Ort", "PLZ" and "Vorwahl",
    // wherever the style puts the grid's frame and row header. The search box and the edit
    // row start where the grid starts.
    const int offset = DBGrid1->geometry().left() - p_f_edit->geometry().left()
        + DBGrid1->frameWidth() + DBGrid1->verticalHeader()->width();
    // The search fields and their captions follow the same columns.
    QWidget *columns[3][3] = { { p_t_ort_edit, p_t_ort, p_l_ort },
                               { p_t_plz_edit, p_t_plz, p_l_plz },
                               { p_t_vw_edit, p_t_vw, p_l_vw } };
    for (int c = 0; c < 3; ++c) {
        for (QWidget *w : columns[c]) {
            QRect r = w->geometry();
            r.moveLeft(offset + DBGrid1->columnViewportPosition(c));
            r.setWidth(DBGrid1->columnWidth(c));
            w->setGeometry(r);
        }
    }
}
