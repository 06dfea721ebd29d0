#include "postal/PLZORT_Form.h"

#include "common/DbError.h"
#include "context/AppContext.h"
#include "postal/PlzOrtSearch.h"
#include "postal/PostalDirectory.h"
#include "ui/DataGrid.h"
#include "ui/FieldLimit.h"

#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {

QString textOf(const QVariant &v)
{
    return v.isNull() ? QString() : v.toString();
}

QString rowCriterion(qlonglong number)
{
    return QStringLiteral("pov_nummer = ") + QString::number(number);
}

} // namespace

std::optional<PostalPlace> choosePostalPlace(AppContext &ctx, QWidget *parent,
                                             const QString &aufruf)
{
    ctx.vars.plz_aufruf = aufruf;
    PLZORT_Form window(ctx, parent);
    ctx.ui.runModal(window);
    return window.chosenPlace();
}

PLZORT_Form::PLZORT_Form(AppContext &ctx, QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
{
    buildForm();
    Form_Load();
}

void PLZORT_Form::Form_Load()
{
    m_ctx.guard([this] {
        DBGrid1->setColumns(
            { { QStringLiteral("Ort"), QStringLiteral("PORT"), 4000, Qt::AlignLeft },
              { QStringLiteral("PLZ"), QStringLiteral("PLZ"), 1200, Qt::AlignHCenter },
              { QStringLiteral("Vorwahl"), QStringLiteral("PVW"), 1200, Qt::AlignHCenter } });
        plzort_db.setDatabaseName(m_ctx.paths.database());
        // The grid shows the top of a list that may hold every place in the country.
        plzort_db.setKeysOnDemand(true);
        plzort_db.setRecordSource(PlzOrt::directoryStatement());
        plzort_db.refresh();
        if (plzort_db.hasRows())
            plzort_db.moveFirst();
    });
}

// --- Searching ---------------------------------------------------------------------------

void PLZORT_Form::search(QLineEdit *field, const char *column)
{
    m_ctx.guard([this, field, column] {
        // A failing statement leaves the data source, and so the grid, as it was.
        plzort_db.setRecordSource(PlzOrt::searchStatement(QLatin1String(column), field->text()));
        plzort_db.refresh();
        m_readSinceKeyPress = true;
    });
}

void PLZORT_Form::searchAgainOnRelease(QLineEdit *field, const char *column)
{
    // Releasing a key reads the list again. When this very key already read it with the same
    // statement, reading again would give the same rows and the same current row (nothing
    // else writes the file in between), so the second read is saved.
    if (m_readSinceKeyPress
        && plzort_db.recordSource()
            == PlzOrt::searchStatement(QLatin1String(column), field->text()))
        return;
    search(field, column);
}

void PLZORT_Form::p_t_ort_Change()
{
    search(p_t_ort, "port");
}

void PLZORT_Form::p_t_plz_Change()
{
    search(p_t_plz, "plz");
}

void PLZORT_Form::p_t_vw_Change()
{
    search(p_t_vw, "pvw");
}

void PLZORT_Form::emptyOtherSearchFields(QLineEdit *entered)
{
    // Only one criterion at a time; emptying a field lists the whole directory again.
    for (QLineEdit *field : { p_t_ort, p_t_plz, p_t_vw })
        if (field != entered && !field->text().isEmpty())
            field->clear();
}

void PLZORT_Form::p_t_ort_GotFocus()
{
    emptyOtherSearchFields(p_t_ort);
}

void PLZORT_Form::p_t_plz_GotFocus()
{
    emptyOtherSearchFields(p_t_plz);
}

void PLZORT_Form::p_t_vw_GotFocus()
{
    emptyOtherSearchFields(p_t_vw);
}

// --- Taking a row, closing ---------------------------------------------------------------

void PLZORT_Form::p_c_ok_Click()
{
    m_ctx.guard(
        [this] {
            if (plzort_db.hasRows()) {
                m_chosen = PostalPlace { 0, textOf(plzort_db.value(QStringLiteral("port"))),
                                         textOf(plzort_db.value(QStringLiteral("plz"))),
                                         textOf(plzort_db.value(QStringLiteral("pvw"))) };
            }
            m_ctx.vars.listen_geladen_jn = QStringLiteral("ja");
            done(Accepted);
        },
        { ErrNo::RowChanged });
}

void PLZORT_Form::DBGrid1_DblClick()
{
    // The grid only takes part in browse mode (it is disabled while a row is edited).
    if (!isEditing())
        p_c_ok_Click();
}

void PLZORT_Form::p_c_abbr_Click()
{
    m_ctx.vars.listen_geladen_jn = QStringLiteral("ja");
    done(Rejected);
}

void PLZORT_Form::reject()
{
    p_c_abbr_Click();
}

// --- Editing the directory ---------------------------------------------------------------

bool PLZORT_Form::isEditing() const
{
    return !p_f_edit->isHidden();
}

void PLZORT_Form::enterEditMode()
{
    alignEditRow();
    // Moving to another row or searching would drop the row being edited, or make
    // "&Speichern" delete a row other than the one shown.
    p_f_suche->setEnabled(false);
    DBGrid1->setEnabled(false);
    p_f_edit->show();
    p_f_ok_edit->show();
    for (QLineEdit *field : { p_t_ort_edit, p_t_plz_edit, p_t_vw_edit })
        field->setEnabled(true);
    // Focus first, then hide: a hidden focus widget hands the focus on, and it must never
    // land in a search field (entering one empties the others and re-reads the list).
    p_t_ort_edit->setFocus();
    p_f_command->hide();
    p_f_ok->hide();
    m_ctx.vars.loeschen_jn = QStringLiteral("nein");
}

void PLZORT_Form::backToBrowseMode()
{
    p_f_suche->setEnabled(true);
    DBGrid1->setEnabled(true);
    p_f_command->show();
    p_f_ok->show();
    // The row just saved or cancelled is the grid's current row; the search stays as it is.
    DBGrid1->setFocus();
    p_f_edit->hide();
    p_f_ok_edit->hide();
    // A later command on an empty list loads nothing; it must not show this row's values.
    for (QLineEdit *field : { p_t_ort_edit, p_t_plz_edit, p_t_vw_edit })
        field->clear();
    m_ctx.vars.loeschen_jn = QStringLiteral("nein");
}

void PLZORT_Form::fillEditFields()
{
    // Stored values are shown whole, so that saving cannot cut them.
    FieldLimit::showWhole(*p_t_ort_edit, textOf(plzort_db.value(QStringLiteral("port"))));
    FieldLimit::showWhole(*p_t_plz_edit, textOf(plzort_db.value(QStringLiteral("plz"))));
    FieldLimit::showWhole(*p_t_vw_edit, textOf(plzort_db.value(QStringLiteral("pvw"))));
}

void PLZORT_Form::db_neu_plz_Click(int index)
{
    m_ctx.guard([this, index] {
        enterEditMode();
        const bool hasRows = plzort_db.hasRows();
        switch (index) {
        case 0: // Neuen Ort erfassen
            for (QLineEdit *field : { p_t_ort_edit, p_t_plz_edit, p_t_vw_edit })
                field->clear();
            plzort_db.addNew();
            bearb_nummer = plzort_db.value(QStringLiteral("pov_nummer")).toLongLong();
            break;
        case 1: // Bearbeiten
            if (hasRows) {
                plzort_db.edit();
                fillEditFields();
                bearb_nummer = plzort_db.value(QStringLiteral("pov_nummer")).toLongLong();
            }
            break;
        case 2: // Löschen: the row is shown read-only; "&Speichern" deletes it
            if (hasRows) {
                bearb_nummer = plzort_db.value(QStringLiteral("pov_nummer")).toLongLong();
                fillEditFields();
                for (QLineEdit *field : { p_t_ort_edit, p_t_plz_edit, p_t_vw_edit })
                    field->setEnabled(false);
                m_ctx.vars.loeschen_jn = QStringLiteral("ja");
            }
            break;
        case 3: // Kopieren: a new row that starts with the current row's values
            if (hasRows) {
                bearb_nummer = plzort_db.value(QStringLiteral("pov_nummer")).toLongLong();
                if (plzort_db.currentIndex() >= 0)
                    fillEditFields();
                plzort_db.addNew();
            }
            break;
        default:
            break;
        }
    });
}

void PLZORT_Form::findEditedRow()
{
    // The last search stays in force; a row it does not list (or a deleted one) is not
    // found, and the re-read result keeps its first row current.
    plzort_db.refresh();
    plzort_db.findFirst(rowCriterion(bearb_nummer));
    DBGrid1->viewport()->update();
}

void PLZORT_Form::p_c_ok_edit_Click()
{
    m_ctx.guard([this] {
        bearb_nummer = plzort_db.value(QStringLiteral("pov_nummer")).toLongLong();
        if (m_ctx.vars.loeschen_jn == QLatin1String("ja")) {
            if (plzort_db.hasRows())
                plzort_db.deleteCurrent();
        } else {
            plzort_db.setValue(QStringLiteral("port"), p_t_ort_edit->text());
            plzort_db.setValue(QStringLiteral("plz"), p_t_plz_edit->text());
            plzort_db.setValue(QStringLiteral("pvw"), p_t_vw_edit->text());
            try {
                plzort_db.update();
            } catch (const DbError &error) {
                if (error.number() != ErrNo::RowChanged)
                    throw;
                // Changed elsewhere since it was read: write once more (only the fields
                // written here), then the directory closes without handing anything over.
                plzort_db.update();
                findEditedRow();
                done(Rejected);
                return;
            }
        }
        findEditedRow();
        backToBrowseMode();
    });
}

void PLZORT_Form::p_c_abbr_edit_Click()
{
    m_ctx.guard([this] {
        backToBrowseMode();
        // Re-reading drops a begun new row and unsaved changes.
        findEditedRow();
    });
}

// --- Keys ----------------------------------------------------------------------------------

void PLZORT_Form::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        // Escape is the cancel button of the mode shown.
        if (isEditing())
            p_c_abbr_edit->click();
        else
            p_c_abbr->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool PLZORT_Form::eventFilter(QObject *watched, QEvent *event)
{
    auto *field = qobject_cast<QLineEdit *>(watched);
    if (!field)
        return QDialog::eventFilter(watched, event);
    const bool searchField = field == p_t_ort || field == p_t_plz || field == p_t_vw;
    switch (event->type()) {
    case QEvent::KeyPress: {
        if (searchField)
            m_readSinceKeyPress = false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
        break;
    }
    case QEvent::KeyRelease:
        // The list is read again on releasing a key, too.
        if (searchField && !static_cast<QKeyEvent *>(event)->isAutoRepeat()) {
            if (field == p_t_ort)
                searchAgainOnRelease(p_t_ort, "port");
            else if (field == p_t_plz)
                searchAgainOnRelease(p_t_plz, "plz");
            else
                searchAgainOnRelease(p_t_vw, "pvw");
        }
        break;
    case QEvent::FocusIn:
        if (isEditing())
            break;
        if (field == p_t_ort)
            p_t_ort_GotFocus();
        else if (field == p_t_plz)
            p_t_plz_GotFocus();
        else if (field == p_t_vw)
            p_t_vw_GotFocus();
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void PLZORT_Form::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    alignEditRow();
}
