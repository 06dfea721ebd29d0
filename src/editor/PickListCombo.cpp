#include "editor/PickListCombo.h"

#include "common/DbError.h"
#include "common/TextCut.h"
#include "context/AppContext.h"
#include "data/RecordErrors.h"
#include "data/SqlFunctions.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
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
    : m_ctx(ctx)
    , m_combos(aw_Combo1)
    , m_store(ctx.paths.database())
{
    for (const auto &[index, combo] : m_combos) {
        combo->installEventFilter(this);
        if (combo->lineEdit())
            combo->lineEdit()->installEventFilter(this);
        // activated: the user chose an entry from the list (also the same one again).
        connect(combo, &QComboBox::activated, this,
                [this, index = index] { onEntryPicked(index); });
    }
}

void PickListCombos::fillListsOnce()
{
    for (const int index : { 1, 3, 6, 7, 9, 10 }) {
        // A list that could not be read is read again the next time the editor is activated.
        if (m_filled[size_t(index)])
            continue;
        QStringList items;
        for (const PickListEntry &entry : m_store.entries(pickListOf(index)))
            items << (entry.text.isNull() ? QStringLiteral(" ") : entry.text);
        addSortedItems(*m_combos(index), items);
        m_filled[size_t(index)] = true;
    }
}

PickList PickListCombos::pickListOf(int index)
{
    switch (index) {
    case 1:
        return PickList::Title;
    case 3:
        return PickList::Salutation;
    case 6:
        return PickList::Street;
    case 7:
        return PickList::Race;
    case 9:
        return PickList::Country;
    case 10:
        return PickList::Timing;
    default:
        throw DbError(ErrNo::NoSuchControlElement,
                      QStringLiteral("Steuerelementfeld-Element '%1' existiert nicht").arg(index));
    }
}

int PickListCombos::indexOf(const QObject *watched) const
{
    for (const auto &[index, combo] : m_combos)
        if (watched == combo || watched == combo->lineEdit())
            return index;
    return -1;
}

bool PickListCombos::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int index = indexOf(watched);
        if (index >= 0)
            onKeyPressed(index, *static_cast<QKeyEvent *>(event));
    } else if (event->type() == QEvent::FocusOut && qobject_cast<QComboBox *>(watched)) {
        // Opening the drop-down list, switching to another window or closing this one does
        // not leave the field.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason
            && reason != Qt::MenuBarFocusReason && static_cast<QWidget *>(watched)->isVisible()) {
            const int index = indexOf(watched);
            if (index >= 0)
                onComboLeft(index);
        }
    }
    return QObject::eventFilter(watched, event);
}

void PickListCombos::onEntryPicked(int index)
{
    m_ctx.guard([&] {
        const QComboBox &combo = *m_combos(index);
        m_pickedText = leftWhole(combo.currentText(), kEntryLength);
        m_pickedIndex = combo.currentIndex();
    });
}

bool PickListCombos::selectFirstMatch(int index, const QString &text)
{
    QComboBox &combo = *m_combos(index);
    for (int i = 0; i < combo.count(); ++i) {
        if (!completes(combo.itemText(i), text))
            continue;
        combo.setCurrentIndex(i);
        // The list position may have been this entry already while other text was typed.
        combo.setEditText(combo.itemText(i));
        onEntryPicked(index);
        return true;
    }
    return false;
}

void PickListCombos::addRow(int index, const QString &text)
{
    // The entry goes to the file at once, so the next opening lists it.
    m_store.add(pickListOf(index), { text, QString() });
}

void PickListCombos::onComboLeft(int index)
{
    m_ctx.guard([&] {
        QComboBox &combo = *m_combos(index);
        m_pickedText = leftWhole(combo.currentText(), kEntryLength);
        if (m_pickedText.isEmpty() || selectFirstMatch(index, m_pickedText))
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
        onComboLeft(index);
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

void PickListCombos::onKeyPressed(int index, const QKeyEvent &key)
{
    if (key.key() != Qt::Key_Delete || !(key.modifiers() & Qt::ShiftModifier))
        return;
    m_ctx.guard([&] {
        const PickList list = pickListOf(index);
        const QString wanted = m_pickedText;
        const std::vector<PickListEntry> entries = m_store.entries(list);
        // Race names are searched even when none is left: there is no first one to go to.
        if (list == PickList::Race && entries.empty())
            throw noCurrentRecordError();
        // Race names may lose their last entry; the other lists always keep one.
        if (list != PickList::Race && entries.size() < 2)
            return;
        for (const PickListEntry &entry : entries) {
            if (entry.text.isNull() || entry.text != wanted)
                continue;
            m_store.remove(list, entry.number);
            // Remove the entry that was deleted: the one picked last, unless the list has
            // changed since the pick; then the first entry with its text.
            QComboBox &combo = *m_combos(index);
            int at = m_pickedIndex;
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
    });
}
