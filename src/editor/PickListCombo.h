#pragma once

#include "data/PickListStore.h"
#include "editor/ControlArray.h"

#include <QObject>
#include <QStringList>

#include <bitset>

class AppContext;
class QComboBox;
class QKeyEvent;

// The pick-list combos keep their drop-down lists in German alphabetical order
// (case-insensitive, umlauts beside their base letter); these add entries in their place.
// Neither changes the text shown in the combo.

// Adds one entry after any equal entries; returns its position.
int addSortedItem(QComboBox &combo, const QString &text);
// Adds many entries at once; an empty list is filled in one step.
void addSortedItems(QComboBox &combo, QStringList items);

// The six pick-list combos of the race editor (aw_Combo1): leaving one completes its text to
// the first entry that begins with it, or adds the text to its table and list; Shift+Delete
// removes the entry picked last. The lists are read from the file when the editor opens, so an
// entry added here is offered by the next editor as well.
class PickListCombos : public QObject
{
    Q_OBJECT
public:
    PickListCombos(AppContext &ctx, const ControlArray<QComboBox> &aw_Combo1);

    // Fills the six lists from their tables, once for the editor's opening.
    void fillListsOnce();

    void onEntryPicked(int index);
    void onKeyPressed(int index, const QKeyEvent &key);
    void onComboLeft(int index);
    // The combo that has the focus is left as if the focus moved on: a save started by an
    // access key or by Enter reads the completed or added text, as one started by a click.
    void leaveFocusedCombo();

    // Longest text a pick-list entry keeps.
    static constexpr int kEntryLength = 35;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static PickList pickListOf(int index);
    int indexOf(const QObject *watched) const;
    // Shows the first entry that begins with the text (in any case); false when none does.
    bool selectFirstMatch(int index, const QString &text);
    void addRow(int index, const QString &text);
    void addStreet(QComboBox &combo);

    AppContext &m_ctx;
    const ControlArray<QComboBox> &m_combos;
    PickListStore m_store;
    std::bitset<11> m_filled; // by combo index
    // The entry picked or left last, in any of the combos: what Shift+Delete removes.
    QString m_pickedText;
    int m_pickedIndex = 0;
};
