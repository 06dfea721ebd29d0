// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/RaceStore.h"
#include "ui/ListGrid.h"

// The main window's grid columns: captions, widths and alignment, in the order of their cells.
QList<ListColumn> raceListColumns();

// A race list of the store as the main window's grid shows it: numbers and races are read as
// the grid reaches them, never the whole list at once.
class RaceListRows : public GridRows
{
public:
    explicit RaceListRows(RaceList list)
        : m_list(std::move(list))
    {
    }

    int rowsRead() const override { return m_list.rowsRead(); }
    bool canReadMore() const override { return m_list.canReadMore(); }
    void readMore() override { m_list.readMore(); }
    QString cell(int row, int column) const override;

    const RaceList &list() const { return m_list; }

private:
    RaceList m_list;
    // The grid asks for a row's cells one after the other.
    mutable int m_cachedRow = -1;
    mutable Race m_cached;
};
