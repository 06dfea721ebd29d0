#pragma once

#include <QStringList>

class QComboBox;

// The pick-list combos keep their drop-down lists in German alphabetical order
// (case-insensitive, umlauts beside their base letter); these add entries in their place.
// Neither changes the text shown in the combo.

// Adds one entry after any equal entries; returns its position.
int addSortedItem(QComboBox &combo, const QString &text);
// Adds many entries at once; an empty list is filled in one step.
void addSortedItems(QComboBox &combo, QStringList items);
