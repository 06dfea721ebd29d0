#include "postal/PostalDirectoryDialog.h"

#include "postal/PostalRows.h"

#include "common/DbError.h"
#include "context/AppContext.h"
#include "data/RecordErrors.h"
#include "ui/FieldLimit.h"
#include "ui/ListGrid.h"

#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

std::optional<PostalPlace> choosePostalPlace(AppContext &ctx, QWidget *parent)
{
    PostalDirectoryDialog window(ctx, parent);
    ctx.ui.runModal(window);
    return window.chosenPlace();
}

PostalDirectoryDialog::PostalDirectoryDialog(AppContext &ctx, QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
    , m_store(ctx.paths.database())
{
    buildForm();
    showDirectory();
}

// The grid's list reads through the store's connection: it goes before the store does.
PostalDirectoryDialog::~PostalDirectoryDialog()
{
    DBGrid1->setRows(nullptr);
}

void PostalDirectoryDialog::showDirectory()
{
    m_ctx.guard([this] {
        DBGrid1->setColumns({ { QStringLiteral("Ort"), 4000, Qt::AlignLeft },
                              { QStringLiteral("PLZ"), 1200, Qt::AlignHCenter },
                              { QStringLiteral("Vorwahl"), 1200, Qt::AlignHCenter } });
        // The grid shows the top of a list that may hold every place in the country.
        DBGrid1->setRows(std::make_unique<PostalRows>(m_store.directory()));
    });
}

std::optional<PostalPlace> PostalDirectoryDialog::currentPlace() const
{
    return currentRecord<PostalRows>(*DBGrid1);
}

// --- Searching ---------------------------------------------------------------------------

PostalDirectoryDialog::Search PostalDirectoryDialog::searchOf(QLineEdit *field) const
{
    const PostalField column = field == p_t_ort ? PostalField::Town
        : field == p_t_plz                      ? PostalField::Postcode
                                                : PostalField::DialCode;
    return { column, field->text() };
}

PostalList PostalDirectoryDialog::readList()
{
    return m_search ? m_store.search(m_search->field, m_search->text) : m_store.directory();
}

void PostalDirectoryDialog::search(QLineEdit *field)
{
    m_ctx.guard([this, field] {
        // A failing search leaves the grid as it was.
        const Search wanted = searchOf(field);
        PostalList list = m_store.search(wanted.field, wanted.text);
        m_search = wanted;
        DBGrid1->setRows(std::make_unique<PostalRows>(std::move(list)));
        m_readSinceKeyPress = true;
    });
}

void PostalDirectoryDialog::searchAgainOnRelease(QLineEdit *field)
{
    // Releasing a key reads the list again. When this very key already read it with the same
    // search, reading again would give the same rows and the same current row (nothing else
    // writes the file in between), so the second read is saved.
    if (m_readSinceKeyPress && m_search == searchOf(field))
        return;
    search(field);
}

void PostalDirectoryDialog::emptyOtherSearchFields(QLineEdit *entered)
{
    // Only one criterion at a time; emptying a field lists the whole directory again.
    for (QLineEdit *field : { p_t_ort, p_t_plz, p_t_vw })
        if (field != entered && !field->text().isEmpty())
            field->clear();
}

// --- Taking a row, closing ---------------------------------------------------------------

void PostalDirectoryDialog::onOkClicked()
{
    m_ctx.guard(
        [this] {
            m_chosen = currentPlace();
            done(Accepted);
        },
        { ErrNo::RowChanged });
}

void PostalDirectoryDialog::onRowActivated()
{
    // The grid only takes part in browse mode (it is disabled while a row is edited).
    if (!isEditing())
        onOkClicked();
}

void PostalDirectoryDialog::onCancelClicked()
{
    done(Rejected);
}

void PostalDirectoryDialog::reject()
{
    onCancelClicked();
}

// --- Editing the directory ---------------------------------------------------------------

bool PostalDirectoryDialog::isEditing() const
{
    return !p_f_edit->isHidden();
}

void PostalDirectoryDialog::enterEditMode()
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
    m_editing.end();
}

void PostalDirectoryDialog::backToBrowseMode()
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
    m_editing.end();
}

void PostalDirectoryDialog::fillEditFields(const PostalPlace &place)
{
    // Stored values are shown whole, so that saving cannot cut them.
    FieldLimit::showWhole(*p_t_ort_edit, place.town);
    FieldLimit::showWhole(*p_t_plz_edit, place.postcode);
    FieldLimit::showWhole(*p_t_vw_edit, place.dialCode);
}

PostalPlace PostalDirectoryDialog::editedPlace() const
{
    return { m_editedNumber, p_t_ort_edit->text(), p_t_plz_edit->text(), p_t_vw_edit->text() };
}

void PostalDirectoryDialog::onCommandClicked(int index)
{
    m_ctx.guard([this, index] {
        enterEditMode();
        const auto command = ListCommand(index);
        const auto current = currentPlace();
        if (current)
            m_editedNumber = command == ListCommand::New ? 0 : current->number;
        const auto shown = m_editing.begin(
            command, current, [this](qlonglong number) { return m_store.place(number); });
        if (!shown)
            return;
        if (command == ListCommand::New) {
            for (QLineEdit *field : { p_t_ort_edit, p_t_plz_edit, p_t_vw_edit })
                field->clear();
            m_editedNumber = 0;
            return;
        }
        fillEditFields(*shown);
        // Löschen shows the row read-only; "&Speichern" deletes it.
        if (command == ListCommand::Delete)
            for (QLineEdit *field : { p_t_ort_edit, p_t_plz_edit, p_t_vw_edit })
                field->setEnabled(false);
    });
}

void PostalDirectoryDialog::showEditedRow()
{
    // The last search stays in force; a row it does not list (or a deleted one) is not
    // found, and the list read again keeps its first row current.
    PostalList list = readList();
    const int row = list.find(m_editedNumber);
    DBGrid1->setRows(std::make_unique<PostalRows>(std::move(list)), std::max(row, 0));
}

void PostalDirectoryDialog::onSaveClicked()
{
    m_ctx.guard([this] {
        switch (m_editing.pending()) {
        case RecordEdit::Delete:
            m_store.remove(m_editedNumber);
            break;
        case RecordEdit::New:
            m_editedNumber = m_store.add(editedPlace());
            break;
        case RecordEdit::Change:
            try {
                m_store.save(editedPlace(), &m_editing.asRead());
            } catch (const DbError &error) {
                if (error.number() != ErrNo::RowChanged || !m_store.place(m_editedNumber))
                    throw;
                // Changed elsewhere since it was read: write once more, then the directory
                // closes without handing anything over.
                m_store.save(editedPlace());
                showEditedRow();
                done(Rejected);
                return;
            }
            break;
        case RecordEdit::None:
            // A command that found no row to work on.
            if (!currentPlace())
                throw noCurrentRecordError();
            throw updateWithoutEditError();
        }
        showEditedRow();
        backToBrowseMode();
    });
}

void PostalDirectoryDialog::onCancelEditClicked()
{
    m_ctx.guard([this] {
        backToBrowseMode();
        // Reading again shows the stored row as it is.
        showEditedRow();
    });
}

// --- Keys ----------------------------------------------------------------------------------

void PostalDirectoryDialog::keyPressEvent(QKeyEvent *event)
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

bool PostalDirectoryDialog::eventFilter(QObject *watched, QEvent *event)
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
        if (searchField && !static_cast<QKeyEvent *>(event)->isAutoRepeat())
            searchAgainOnRelease(field);
        break;
    case QEvent::FocusIn:
        if (searchField && !isEditing())
            emptyOtherSearchFields(field);
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void PostalDirectoryDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    alignEditRow();
}
