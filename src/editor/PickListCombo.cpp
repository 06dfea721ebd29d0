#include "PickListCombo.h"

#include "SqlFunctions.h"

#include <QComboBox>
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
        : m_combo(combo), m_text(combo.currentText()), m_index(combo.currentIndex())
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
