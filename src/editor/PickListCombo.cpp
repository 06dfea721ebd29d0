#include "editor/PickListCombo.h"

#include "common/DbError.h"
#include "common/TextCut.h"
#include "context/AppContext.h"
#include "data/SqlFunctions.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScopeGuard>
#include <QSignalBlocker>

#include <algorithm>

namespace {
bool germanLess(const QByteArray &a, const QByteArray &b)
{
    return compareGerman(std::string_view(a.constData(), size_t(a.size())),
                         std::string_view(b.constData(), size_t(b.size())))
        < 0;
}

// Adding to a list must leave the shown text alone: an editable combo would otherwise
// take the first entry as its text when its list stops being empty.
class KeepText
{
public:
    explicit KeepText(QComboBox &combo)
        : m_combo(combo)
        , m_text(combo.currentText())
        , m_index(combo.currentIndex())
    {
    }
    ~KeepText()
    {
        if (m_index < 0 && m_combo.currentIndex() >= 0)
            m_combo.setCurrentIndex(-1);
        if (m_combo.isEditable() && m_combo.currentText() != m_text)
            m_combo.setEditText(m_text);
    }

private:
    QComboBox &m_combo;
    QString m_text;
    int m_index;
};
} // namespace

int addSortedItem(QComboBox &combo, const QString &text)
{
    const QByteArray key = text.toUtf8();
    int lo = 0, hi = combo.count();
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (germanLess(key, combo.itemText(mid).toUtf8()))
            hi = mid;
        else
            lo = mid + 1;
    }
    const QSignalBlocker block(combo);
    const KeepText keep(combo);
    combo.insertItem(lo, text);
    return lo;
}

void addSortedItems(QComboBox &combo, QStringList items)
{
    if (combo.count() > 0) {
        for (const QString &item : std::as_const(items))
            addSortedItem(combo, item);
        return;
    }
    std::vector<std::pair<QByteArray, int>> keys;
    keys.reserve(size_t(items.size()));
    for (int i = 0; i < items.size(); ++i)
        keys.emplace_back(items[i].toUtf8(), i);
    std::stable_sort(keys.begin(), keys.end(),
                     [](const auto &a, const auto &b) { return germanLess(a.first, b.first); });
    QStringList sorted;
    sorted.reserve(items.size());
    for (const auto &k : keys)
        sorted << items[k.second];
    const QSignalBlocker block(combo);
    const KeepText keep(combo);
    combo.addItems(sorted);
}

PickListCombos::PickListCombos(AppContext &ctx, const ControlArray<QComboBox> &aw_Combo1)
    : ctx(ctx)
    , aw_Combo1(aw_Combo1)
{
    for (const auto &[index, combo] : aw_Combo1) {
        combo->installEventFilter(this);
        if (combo->lineEdit())
            combo->lineEdit()->installEventFilter(this);
        // activated: the user chose an entry from the list (also the same one again).
        connect(combo, &QComboBox::activated, this,
                [this, index = index] { aw_Combo1_Click(index); });
    }
}

void PickListCombos::fillLists()
{
    const std::pair<int, const char *> lists[] = {
        { 1, "titel" }, { 3, "anrede" }, { 6, "strasse" },
        { 7, "lauf" },  { 9, "land" },   { 10, "zeitmessung" },
    };
    DataSource *sources[] = { &ctx.titel_db,   &ctx.anrede_db, &ctx.strasse_db,
                              &ctx.lauf_aw_db, &ctx.land_db,   &ctx.zeitmessung_db };
    for (int i = 0; i < 6; ++i) {
        DataSource &source = *sources[i];
        const QString name = QString::fromLatin1(lists[i].second);
        QStringList items;
        items.reserve(source.recordCount());
        // Whatever was read before a failure is in the list already, as when each entry
        // is added on its own.
        auto addRead = qScopeGuard([&] { addSortedItems(*aw_Combo1(lists[i].first), items); });
        if (source.recordCount() > 0)
            source.moveFirst();
        while (!source.eof()) {
            const QVariant value = source.value(name);
            items << (value.isNull() ? QStringLiteral(" ") : value.toString());
            source.moveNext();
        }
    }
}

PickListCombos::PickList PickListCombos::pickList(int index) const
{
    switch (index) {
    case 1:
        return { &ctx.titel_db, QStringLiteral("titel") };
    case 3:
        return { &ctx.anrede_db, QStringLiteral("anrede") };
    case 6:
        return { &ctx.strasse_db, QStringLiteral("strasse") };
    case 7:
        return { &ctx.lauf_aw_db, QStringLiteral("lauf") };
    case 9:
        return { &ctx.land_db, QStringLiteral("land") };
    case 10:
        return { &ctx.zeitmessung_db, QStringLiteral("zeitmessung") };
    default:
        throw DbError(ErrNo::NoSuchControlElement,
                      QStringLiteral("Steuerelementfeld-Element '%1' existiert nicht").arg(index));
    }
}

int PickListCombos::indexOf(const QObject *watched) const
{
    for (const auto &[index, combo] : aw_Combo1)
        if (watched == combo || watched == combo->lineEdit())
            return index;
    return -1;
}

bool PickListCombos::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int index = indexOf(watched);
        if (index >= 0)
            aw_Combo1_KeyDown(index, *static_cast<QKeyEvent *>(event));
    } else if (event->type() == QEvent::FocusOut && qobject_cast<QComboBox *>(watched)) {
        // Opening the drop-down list, switching to another window or closing this one does
        // not leave the field.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason
            && reason != Qt::MenuBarFocusReason && static_cast<QWidget *>(watched)->isVisible()) {
            const int index = indexOf(watched);
            if (index >= 0)
                aw_Combo1_LostFocus(index);
        }
    }
    return QObject::eventFilter(watched, event);
}

void PickListCombos::aw_Combo1_Click(int index)
{
    ctx.guard([&] {
        const QComboBox &combo = *aw_Combo1(index);
        ctx.vars.listen_text = leftWhole(combo.currentText(), kEntryLength);
        ctx.vars.listen_index = combo.currentIndex();
    });
}

bool PickListCombos::selectFirstMatch(int index, const QString &text)
{
    QComboBox &combo = *aw_Combo1(index);
    const QString wanted = text.toUpper();
    for (int i = 0; i < combo.count(); ++i) {
        if (combo.itemText(i).left(text.size()).toUpper() != wanted)
            continue;
        combo.setCurrentIndex(i);
        // The list position may have been this entry already while other text was typed.
        combo.setEditText(combo.itemText(i));
        aw_Combo1_Click(index);
        return true;
    }
    return false;
}

void PickListCombos::addRow(int index, const QString &text)
{
    const PickList list = pickList(index);
    // The row joins the program's source as well, so the next opening lists it.
    list.source->addNew();
    list.source->setValue(list.field, text);
    list.source->update();
}

void PickListCombos::aw_Combo1_LostFocus(int index)
{
    ctx.guard([&] {
        QComboBox &combo = *aw_Combo1(index);
        ctx.vars.listen_text = leftWhole(combo.currentText(), kEntryLength);
        if (ctx.vars.listen_text.isEmpty() || selectFirstMatch(index, ctx.vars.listen_text))
            return;
        if (index == 6)
            addStreet(combo);
        else
            addRow(index, leftWhole(combo.currentText(), kEntryLength));
        addSortedItem(combo, leftWhole(combo.currentText(), kEntryLength));
    });
}

void PickListCombos::leaveFocusedCombo()
{
    const int index = indexOf(QApplication::focusWidget());
    if (index >= 0)
        aw_Combo1_LostFocus(index);
}

// The street list holds streets without house numbers: the text up to the blank before the
// first digit. The field keeps what was typed.
void PickListCombos::addStreet(QComboBox &combo)
{
    const QString full = combo.currentText();
    QString street = leftWhole(full, kEntryLength);
    for (qsizetype p = 0; p < street.size(); ++p) {
        if (street[p] < u'0' || street[p] > u'9')
            continue;
        if (p >= 2) {
            street.truncate(p - 1);
        } else {
            // "7 Eichen", "1. Straße", "A7": no separator to drop, only the text before it.
            street.truncate(p);
            while (!street.isEmpty() && street.back() == u' ')
                street.chop(1);
        }
        break;
    }
    if (!street.isEmpty() && !selectFirstMatch(6, street))
        addRow(6, street);
    combo.setEditText(full);
}

void PickListCombos::aw_Combo1_KeyDown(int index, const QKeyEvent &key)
{
    if (key.key() != Qt::Key_Delete || !(key.modifiers() & Qt::ShiftModifier))
        return;
    ctx.guard([&] {
        const PickList list = pickList(index);
        DataSource &source = *list.source;
        const QString wanted = ctx.vars.listen_text;
        // Race names may lose their last entry; the other lists always keep one.
        const bool raceNames = index == 7;
        if (raceNames || source.recordCount() > 0)
            source.moveFirst();
        while (!source.eof()) {
            const QVariant value = source.value(list.field);
            if (!value.isNull() && value.toString() == wanted
                && (raceNames || source.recordCount() >= 2)) {
                source.deleteCurrent();
                // Remove the entry that was deleted: the one picked last, unless the list has
                // changed since the pick; then the first entry with its text.
                QComboBox &combo = *aw_Combo1(index);
                int at = ctx.vars.listen_index;
                if (at < 0 || at >= combo.count() || combo.itemText(at) != wanted)
                    at = combo.findText(wanted, Qt::MatchExactly | Qt::MatchCaseSensitive);
                // A field that shows the deleted entry is emptied, so that leaving it does
                // not add the entry again.
                const QString shown = combo.currentText();
                const QSignalBlocker block(combo);
                if (at >= 0)
                    combo.removeItem(at);
                combo.setCurrentIndex(-1);
                combo.setEditText(shown == wanted ? QString() : shown);
                return;
            }
            source.moveNext();
        }
    });
}
