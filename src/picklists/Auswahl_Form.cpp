#include "picklists/Auswahl_Form.h"

#include "common/DbError.h"
#include "common/GermanText.h"
#include "common/TextCut.h"
#include "context/AppContext.h"
#include "ui/DataGrid.h"
#include "ui/FormBuilder.h"
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
    const char *table;
    const char *field;
    const char16_t *caption;
    int maxLength;
    DataSource AppContext::*editorSource; // the main window's source the race editor fills from
};

// In the order of the choice list. "Land" additionally has the full name (see below).
const std::array<PickListShape, 6> kLists = { {
    { u"Lauf", "aw_lauf", "lauf", u"Lauf", 35, &AppContext::lauf_aw_db },
    { u"Zeitmessung", "aw_zeitmessung", "zeitmessung", u"Zeitmessung", 35,
      &AppContext::zeitmessung_db },
    { u"Anrede", "aw_anrede", "anrede", u"Anrede", 35, &AppContext::anrede_db },
    { u"Titel", "aw_titel", "titel", u"Titel", 35, &AppContext::titel_db },
    { u"Straße", "aw_strasse", "strasse", u"Strasse", 35, &AppContext::strasse_db },
    { u"Land", "aw_land", "land", u"Land", 3, &AppContext::land_db },
} };
constexpr int kLandIndex = 5;

constexpr int kEditWide = 6765;
constexpr int kEditNarrow = 1590;
constexpr int kColumnWide = 7700;

const QString kNotavo = QStringLiteral("Notavo");

QString textOf(const QVariant &v)
{
    return v.isNull() ? QString() : v.toString();
}

} // namespace

Auswahl_Form::Auswahl_Form(AppContext &ctx, QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
{
    buildForm();
    Form_Load();
}

void Auswahl_Form::buildForm()
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

    DBGrid1 = new DataGrid(auswahl_db, ausw_f_tabelle);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(twRect(240, 780, 8760, 3480));
    DBGrid1->setColors(Style::GridBlue, Qt::white);
    DBGrid1->setAccessibleName(QStringLiteral("Einträge der Auswahlliste"));
    connect(DBGrid1, &DataGrid::rowActivated, this, &Auswahl_Form::DBGrid1_DblClick);

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
                [this, k] { db_neu_ausw_Click(k); });
    }

    // Edit row and browse row share one place.
    ausw_f_ok = b.commandRow(QStringLiteral("ausw_f_ok"), { 120, 6540, 9240, 555 });
    FormBuilder inOk = b.on(ausw_f_ok);
    ausw_c_ok = inOk.button(QStringLiteral("ausw_c_ok"), QStringLiteral("&Speichern"),
                            { 4690, 60, 2205, 435 }, Style::LightGreen);
    ausw_c_abbr = inOk.button(QStringLiteral("ausw_c_abbr"), QStringLiteral("&Abbrechen"),
                              { 7035, 60, 2205, 435 }, Style::LightRed);
    connect(ausw_c_ok, &QPushButton::clicked, this, &Auswahl_Form::ausw_c_ok_Click);
    connect(ausw_c_abbr, &QPushButton::clicked, this, &Auswahl_Form::ausw_c_abbr_Click);
    ausw_f_ok->hide();

    ausw_f_ende = b.commandRow(QStringLiteral("ausw_f_ende"), { 120, 6540, 9240, 555 });
    db_abbr = new QPushButton(QStringLiteral("S&chliessen"), ausw_f_ende);
    db_abbr->setObjectName(QStringLiteral("db_abbr"));
    db_abbr->setGeometry(twRect(7035, 60, 2205, 435));
    db_abbr->setAutoDefault(false);
    connect(db_abbr, &QPushButton::clicked, this, &Auswahl_Form::db_abbr_Click);

    ausw_t_edit->setEnabled(false);
    ausw_t_edit_land->hide();

    setTabChain({ ausw_co_tabelle, DBGrid1, db_neu_ausw[0], db_neu_ausw[1], db_neu_ausw[2],
                  db_neu_ausw[3], ausw_t_edit, ausw_t_edit_land, ausw_c_ok, ausw_c_abbr, db_abbr });
}

void Auswahl_Form::Form_Load()
{
    m_ctx.guard(
        [this] {
            DBGrid1->setColors(Style::GridBlue, Qt::white);
            for (const PickListShape &list : kLists)
                ausw_co_tabelle->addItem(QString::fromUtf16(list.entry));
            connect(ausw_co_tabelle, &QComboBox::currentIndexChanged, this,
                    &Auswahl_Form::ausw_co_tabelle_Click);
            ausw_co_tabelle->setCurrentIndex(0);
            ausw_co_tabelle_Click();
        },
        { ErrNo::RowChanged });
}

void Auswahl_Form::ausw_co_tabelle_Click()
{
    m_ctx.guard([this] {
        const int index = ausw_co_tabelle->currentIndex();
        if (index < 0 || index >= int(kLists.size()))
            return;
        const PickListShape &list = kLists[size_t(index)];
        setEditLineNarrow(false);

        m_tabelle = QString::fromLatin1(list.table);
        m_feld = QString::fromLatin1(list.field);
        m_spalte = QString::fromUtf16(list.caption);
        m_maxLaenge = list.maxLength;
        QList<GridColumn> columns { { m_spalte, m_feld, kColumnWide, Qt::AlignLeft, true },
                                    { QString(), QString(), 0, Qt::AlignLeft, false } };
        if (index == kLandIndex) {
            m_feld2 = QStringLiteral("land_name");
            m_spalte2 = QStringLiteral("vollständig");
            m_maxLaenge2 = 25;
            columns[0].widthTwips = 1000;
            columns[1] = { m_spalte2, m_feld2, 6700, Qt::AlignLeft, true };
        } else {
            m_feld2.clear();
            m_spalte2.clear();
            m_maxLaenge2 = 0;
        }

        ausw_l_laenge->setText(QStringLiteral("maximal") + numberText(m_maxLaenge)
                               + QStringLiteral(" Zeichen"));
        ausw_l_laenge->setAccessibleName(ausw_l_laenge->text());
        ausw_t_edit->setAccessibleDescription(ausw_l_laenge->text());

        auswahl_db.setDatabaseName(m_ctx.paths.database());
        auswahl_db.setRecordSource(QStringLiteral("select * from ") + m_tabelle
                                   + QStringLiteral(" order by ") + m_feld);
        auswahl_db.refresh();
        DBGrid1->setColumns(columns);
    });
}

void Auswahl_Form::setEditLineNarrow(bool narrow)
{
    QRect r = ausw_t_edit->geometry();
    r.setWidth(tw(narrow ? kEditNarrow : kEditWide));
    ausw_t_edit->setGeometry(r);
    ausw_t_edit_land->setVisible(narrow);
}

bool Auswahl_Form::isEditing() const
{
    return !ausw_f_ok->isHidden();
}

void Auswahl_Form::enterEditMode()
{
    ausw_f_ok->show();
    ausw_f_ende->hide();
    DBGrid1->setEnabled(false);
    // Switching lists while an entry is open would write or delete in the wrong list.
    ausw_co_tabelle->setEnabled(false);
    ausw_t_edit->setEnabled(true);
    ausw_t_edit->setFocus();
    setEditLineNarrow(false);
    m_ctx.vars.loeschen_jn = QStringLiteral("nein");
}

void Auswahl_Form::fillFromCurrent()
{
    if (isLand()) {
        setEditLineNarrow(true);
        ausw_t_edit_land->setText(textOf(auswahl_db.value(m_feld2)));
    }
    ausw_t_edit->setText(textOf(auswahl_db.value(m_feld)));
}

void Auswahl_Form::db_neu_ausw_Click(int index)
{
    m_ctx.guard([this, index] {
        ausw_c_ok->setText(QStringLiteral("&Speichern"));
        const bool hasEntries = auswahl_db.recordCount() > 0;
        if (hasEntries)
            enterEditMode();
        switch (index) {
        case 0: // Neu
            enterEditMode();
            setEditLineNarrow(isLand());
            ausw_t_edit->clear();
            ausw_t_edit_land->clear();
            auswahl_db.addNew();
            break;
        case 1: // Bearbeiten
            if (hasEntries) {
                auswahl_db.edit();
                fillFromCurrent();
            }
            break;
        case 2: // Löschen
            ausw_c_ok->setText(QStringLiteral("Löschen"));
            if (hasEntries) {
                ausw_t_edit->setText(textOf(auswahl_db.value(m_feld)));
                ausw_t_edit->setEnabled(false);
                ausw_c_ok->setFocus();
                m_ctx.vars.loeschen_jn = QStringLiteral("ja");
            }
            break;
        case 3: // Kopieren
            if (auswahl_db.currentIndex() >= 0) {
                fillFromCurrent();
                auswahl_db.addNew();
            }
            break;
        default:
            break;
        }
        // Also with an empty list: a command pressed during "Neu" would relabel or
        // replace the entry being typed.
        if (isEditing())
            ausw_f_command->setEnabled(false);
    });
}

void Auswahl_Form::DBGrid1_DblClick()
{
    db_neu_ausw_Click(1);
}

void Auswahl_Form::ausw_c_ok_Click()
{
    m_ctx.guard(
        [this] {
            if (m_ctx.vars.loeschen_jn == QLatin1String("ja")) {
                if (auswahl_db.recordCount() > 1) {
                    auswahl_db.deleteCurrent();
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
                auswahl_db.setValue(m_feld, leftWhole(ausw_t_edit->text(), m_maxLaenge));
                if (isLand())
                    auswahl_db.setValue(m_feld2, leftWhole(ausw_t_edit_land->text(), m_maxLaenge2));
                auswahl_db.update();
            }
            backToBrowseMode();
            offerChangesToEditor();
        },
        { ErrNo::RowChanged });
}

void Auswahl_Form::backToBrowseMode()
{
    DBGrid1->setEnabled(true);
    ausw_co_tabelle->setEnabled(true);
    auswahl_db.cancelUpdate();
    ausw_t_edit->clear();
    ausw_t_edit_land->clear();
    setEditLineNarrow(false);
    ausw_t_edit->setEnabled(false);
    ausw_f_ok->hide();
    ausw_f_ende->show();
    ausw_f_command->setEnabled(true);
    m_ctx.vars.loeschen_jn = QStringLiteral("nein");
    // Re-reading drops a begun new entry and unsaved changes.
    auswahl_db.refresh();
    DBGrid1->viewport()->update();
}

void Auswahl_Form::offerChangesToEditor()
{
    // The race editor fills its lists from the main window's sources, which were read at
    // start-up; re-read the one of this list so that the next editor offers what is stored now.
    const int index = ausw_co_tabelle->currentIndex();
    if (index < 0 || index >= int(kLists.size()))
        return;
    DataSource &source = m_ctx.*(kLists[size_t(index)].editorSource);
    m_ctx.vars.listen_geladen_jn = QStringLiteral("nein");
    if (!source.recordSource().isEmpty() && !source.databaseName().isEmpty())
        source.refresh();
}

void Auswahl_Form::ausw_c_abbr_Click()
{
    m_ctx.guard([this] { backToBrowseMode(); });
}

void Auswahl_Form::db_abbr_Click()
{
    close();
}

void Auswahl_Form::keyPressEvent(QKeyEvent *event)
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

bool Auswahl_Form::eventFilter(QObject *watched, QEvent *event)
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
