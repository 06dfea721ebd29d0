#include "picklists/PickListEditor.h"

#include "common/DbError.h"
#include "common/GermanText.h"
#include "common/TextCut.h"
#include "context/AppContext.h"
#include "data/RecordErrors.h"
#include "ui/FormBuilder.h"
#include "ui/ListGrid.h"
#include "ui/Style.h"
#include "ui/Twips.h"
#include "ui/WholeCharacters.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

struct PickListShape
{
    const char16_t *entry;
    const char16_t *caption;
};

// In the order of the choice list and of PickList. "Land" additionally has the full name.
const std::array<PickListShape, 6> kLists = { {
    { u"Lauf", u"Lauf" },
    { u"Zeitmessung", u"Zeitmessung" },
    { u"Anrede", u"Anrede" },
    { u"Titel", u"Titel" },
    { u"Straße", u"Strasse" },
    { u"Land", u"Land" },
} };

constexpr int kEditWide = 6765;
constexpr int kEditNarrow = 1590;
constexpr int kColumnWide = 7700;
constexpr int kNameLength = 25;

const QString kNotavo = QStringLiteral("Notavo");

} // namespace

PickListEditor::PickListEditor(AppContext &ctx, QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
    , m_store(ctx.paths.database())
{
    buildForm();
    showFirstList();
}

void PickListEditor::buildForm()
{
    FormBuilder b(this);
    setObjectName(QStringLiteral("Auswahl_Form"));
    setWindowTitle(QStringLiteral("Auswahllisten bearbeiten"));
    setFixedSize(twSize(9480, 7215));

    ausw_l_hinweis = new QLabel(
        QStringLiteral("Hier können die Inhalte der einzelnen Auswahllisten bearbeitet, neu "
                       "erfaßt und gelöscht werden. "),
        this);
    ausw_l_hinweis->setObjectName(QStringLiteral("ausw_l_hinweis"));
    ausw_l_hinweis->setGeometry(twRect(120, 120, 9240, 450));
    ausw_l_hinweis->setWordWrap(true);

    ausw_f_tabelle = b.frame(QStringLiteral("ausw_f_tabelle"),
                             QStringLiteral("Auswahlliste auswählen und bearbeiten"),
                             { 120, 600, 9240, 5160 });

    ausw_co_tabelle = new QComboBox(ausw_f_tabelle);
    ausw_co_tabelle->setObjectName(QStringLiteral("ausw_co_tabelle"));
    ausw_co_tabelle->setGeometry(twRect(240, 330, 3000, 315));
    ausw_co_tabelle->setAccessibleName(QStringLiteral("Auswahlliste"));

    DBGrid1 = new ListGrid(ausw_f_tabelle);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(twRect(240, 780, 8760, 3480));
    DBGrid1->setColors(Style::GridBlue, Qt::white);
    DBGrid1->setAccessibleName(QStringLiteral("Einträge der Auswahlliste"));
    // A double click or Enter on a row is "Bearbeiten".
    connect(DBGrid1, &ListGrid::rowActivated, this, [this] { onCommandClicked(1); });

    // The name field lies behind the code field and shows only while the code field is narrow.
    ausw_t_edit_land = new QLineEdit(ausw_f_tabelle);
    ausw_t_edit_land->setObjectName(QStringLiteral("ausw_t_edit_land"));
    ausw_t_edit_land->setGeometry(
        twRect(240 + kEditNarrow + 60, 4380, kEditWide - kEditNarrow - 60, 315));
    ausw_t_edit_land->setMaxLength(25);
    keepWholeCharacters(ausw_t_edit_land);
    ausw_t_edit_land->setAccessibleName(QStringLiteral("vollständiger Name des Landes"));
    ausw_t_edit_land->installEventFilter(this);

    ausw_t_edit = new QLineEdit(ausw_f_tabelle);
    ausw_t_edit->setObjectName(QStringLiteral("ausw_t_edit"));
    ausw_t_edit->setGeometry(twRect(240, 4380, kEditWide, 315));
    ausw_t_edit->setAccessibleName(QStringLiteral("Eintrag"));
    ausw_t_edit->installEventFilter(this);

    ausw_l_laenge = new QLabel(QStringLiteral("maximal 35 Zeichen"), ausw_f_tabelle);
    ausw_l_laenge->setObjectName(QStringLiteral("ausw_l_länge"));
    ausw_l_laenge->setGeometry(twRect(240 + kEditWide + 120, 4410, 1875, 285));
    ausw_l_laenge->setAccessibleDescription(QStringLiteral("Länge"));

    ausw_f_command = b.commandRow(QStringLiteral("ausw_f_command"), { 120, 5880, 9240, 555 });
    FormBuilder inCommands = b.on(ausw_f_command);
    const QString commands[] = { QStringLiteral("&Neu"), QStringLiteral("&Bearbeiten"),
                                 QStringLiteral("&Löschen"), QStringLiteral("&Kopieren") };
    for (int k = 0; k < 4; ++k) {
        db_neu_ausw[size_t(k)] = inCommands.commandButton(QStringLiteral("db_neu_ausw(%1)").arg(k),
                                                          commands[k], { k * 2345, 60, 2205, 435 });
        connect(db_neu_ausw[size_t(k)], &QPushButton::clicked, this,
                [this, k] { onCommandClicked(k); });
    }

    // Edit row and browse row share one place.
    ausw_f_ok = b.commandRow(QStringLiteral("ausw_f_ok"), { 120, 6540, 9240, 555 });
    FormBuilder inOk = b.on(ausw_f_ok);
    ausw_c_ok = inOk.button(QStringLiteral("ausw_c_ok"), QStringLiteral("&Speichern"),
                            { 4690, 60, 2205, 435 }, Style::LightGreen);
    ausw_c_abbr = inOk.button(QStringLiteral("ausw_c_abbr"), QStringLiteral("&Abbrechen"),
                              { 7035, 60, 2205, 435 }, Style::LightRed);
    connect(ausw_c_ok, &QPushButton::clicked, this, &PickListEditor::onSaveClicked);
    connect(ausw_c_abbr, &QPushButton::clicked, this, &PickListEditor::onCancelClicked);
    ausw_f_ok->hide();

    ausw_f_ende = b.commandRow(QStringLiteral("ausw_f_ende"), { 120, 6540, 9240, 555 });
    db_abbr = new QPushButton(QStringLiteral("S&chliessen"), ausw_f_ende);
    db_abbr->setObjectName(QStringLiteral("db_abbr"));
    db_abbr->setGeometry(twRect(7035, 60, 2205, 435));
    db_abbr->setAutoDefault(false);
    connect(db_abbr, &QPushButton::clicked, this, &QDialog::close);

    ausw_t_edit->setEnabled(false);
    ausw_t_edit_land->hide();

    setTabChain({ ausw_co_tabelle, DBGrid1, db_neu_ausw[0], db_neu_ausw[1], db_neu_ausw[2],
                  db_neu_ausw[3], ausw_t_edit, ausw_t_edit_land, ausw_c_ok, ausw_c_abbr, db_abbr });
}

void PickListEditor::showFirstList()
{
    m_ctx.guard(
        [this] {
            DBGrid1->setColors(Style::GridBlue, Qt::white);
            for (const PickListShape &list : kLists)
                ausw_co_tabelle->addItem(QString::fromUtf16(list.entry));
            connect(ausw_co_tabelle, &QComboBox::currentIndexChanged, this,
                    &PickListEditor::onListChosen);
            ausw_co_tabelle->setCurrentIndex(0);
            onListChosen();
        },
        { ErrNo::RowChanged });
}

void PickListEditor::onListChosen()
{
    m_ctx.guard([this] {
        const int index = ausw_co_tabelle->currentIndex();
        if (index < 0 || index >= int(kLists.size()))
            return;
        setEditLineNarrow(false);
        m_list = PickList(index);
        const int maxLength = pickListTable(m_list).maxLength;
        QList<ListColumn> columns { { QString::fromUtf16(kLists[size_t(index)].caption),
                                      kColumnWide, Qt::AlignLeft, true },
                                    { QString(), 0, Qt::AlignLeft, false } };
        if (isLand()) {
            columns[0].widthTwips = 1000;
            columns[1] = { QStringLiteral("vollständig"), 6700, Qt::AlignLeft, true };
        }

        ausw_l_laenge->setText(QStringLiteral("maximal") + numberText(maxLength)
                               + QStringLiteral(" Zeichen"));
        ausw_l_laenge->setAccessibleName(ausw_l_laenge->text());
        ausw_t_edit->setAccessibleDescription(ausw_l_laenge->text());

        showEntries();
        DBGrid1->setColumns(columns);
    });
}

void PickListEditor::showEntries()
{
    // Read again, the list drops a begun new entry and unsaved changes; its first entry is the
    // current one.
    DBGrid1->setRows(std::make_unique<EntryRows>(m_store.entries(m_list),
                                                 [](const PickListEntry &entry, int column) {
                                                     return column == 0 ? entry.text : entry.name;
                                                 }));
}

int PickListEditor::entryCount() const
{
    return DBGrid1->rows() ? DBGrid1->rows()->rowsRead() : 0;
}

void PickListEditor::setEditLineNarrow(bool narrow)
{
    QRect r = ausw_t_edit->geometry();
    r.setWidth(tw(narrow ? kEditNarrow : kEditWide));
    ausw_t_edit->setGeometry(r);
    ausw_t_edit_land->setVisible(narrow);
}

bool PickListEditor::isEditing() const
{
    return !ausw_f_ok->isHidden();
}

void PickListEditor::enterEditMode()
{
    ausw_f_ok->show();
    ausw_f_ende->hide();
    DBGrid1->setEnabled(false);
    // Switching lists while an entry is open would write or delete in the wrong list.
    ausw_co_tabelle->setEnabled(false);
    ausw_t_edit->setEnabled(true);
    ausw_t_edit->setFocus();
    setEditLineNarrow(false);
    m_editing.end();
}

void PickListEditor::fillFrom(const PickListEntry &entry)
{
    if (isLand()) {
        setEditLineNarrow(true);
        ausw_t_edit_land->setText(entry.name);
    }
    ausw_t_edit->setText(entry.text);
}

void PickListEditor::onCommandClicked(int index)
{
    m_ctx.guard([this, index] {
        const auto command = ListCommand(index);
        ausw_c_ok->setText(command == ListCommand::Delete ? QStringLiteral("Löschen")
                                                          : QStringLiteral("&Speichern"));
        const auto current = currentRecord<EntryRows>(*DBGrid1);
        if (current || command == ListCommand::New)
            enterEditMode();
        const auto shown = m_editing.begin(
            command, current, [this](qlonglong number) { return m_store.entry(m_list, number); });
        if (shown && command == ListCommand::Delete) {
            ausw_t_edit->setText(shown->text);
            ausw_t_edit->setEnabled(false);
            ausw_c_ok->setFocus();
        } else if (shown) {
            fillFrom(*shown);
        }
        // Also with an empty list: a command pressed during "Neu" would relabel or
        // replace the entry being typed.
        if (isEditing())
            ausw_f_command->setEnabled(false);
    });
}

void PickListEditor::onSaveClicked()
{
    m_ctx.guard(
        [this] {
            if (m_editing.pending() == RecordEdit::Delete) {
                if (entryCount() > 1) {
                    m_store.remove(m_list, m_editing.asRead().number);
                } else {
                    const QString shownText
                        = QStringLiteral("Der letzte Eintrag kann nicht gelöscht werden!");
                    m_ctx.ui.message(shownText, Ui::Icon::Warning, Ui::Buttons::Ok, kNotavo);
                }
            } else {
                if (ausw_t_edit->text().isEmpty()) {
                    const QString shownText = QStringLiteral(
                        "Geben Sie bitte eine Bezeichnung ein oder klicken Sie auf "
                        "'Abbrechen'!");
                    m_ctx.ui.message(shownText, Ui::Icon::Warning, Ui::Buttons::Ok, kNotavo);
                    ausw_t_edit->setFocus();
                    return;
                }
                saveEntry();
            }
            backToBrowseMode();
        },
        { ErrNo::RowChanged });
}

void PickListEditor::saveEntry()
{
    PickListEntry entry { leftWhole(ausw_t_edit->text(), pickListTable(m_list).maxLength),
                          QString(), m_editing.asRead().number };
    // A country's name is stored as typed, an empty field as an empty name.
    if (isLand()) {
        const QString name = leftWhole(ausw_t_edit_land->text(), kNameLength);
        entry.name = name.isNull() ? QStringLiteral("") : name;
    }
    switch (m_editing.pending()) {
    case RecordEdit::New:
        m_store.add(m_list, entry);
        return;
    case RecordEdit::Change:
        try {
            m_store.change(m_list, entry, &m_editing.asRead());
        } catch (const DbError &error) {
            // Changed elsewhere: the next save writes over what is stored now.
            if (error.number() == ErrNo::RowChanged)
                m_editing.readAgain(
                    [this](qlonglong number) { return m_store.entry(m_list, number); });
            throw;
        }
        return;
    default:
        throw updateWithoutEditError();
    }
}

void PickListEditor::backToBrowseMode()
{
    DBGrid1->setEnabled(true);
    ausw_co_tabelle->setEnabled(true);
    ausw_t_edit->clear();
    ausw_t_edit_land->clear();
    setEditLineNarrow(false);
    ausw_t_edit->setEnabled(false);
    ausw_f_ok->hide();
    ausw_f_ende->show();
    ausw_f_command->setEnabled(true);
    m_editing.end();
    showEntries();
}

void PickListEditor::onCancelClicked()
{
    m_ctx.guard([this] { backToBrowseMode(); });
}

void PickListEditor::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        // Escape is the cancel button's key; it does not close the window.
        if (isEditing())
            ausw_c_abbr->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool PickListEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress
        && (watched == ausw_t_edit || watched == ausw_t_edit_land)) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
