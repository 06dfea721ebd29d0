// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/PostalStore.h"
#include "ui/ListGrid.h"

// A list of the directory in the grid: place, postcode, area code; read on as the grid scrolls.
class PostalRows : public GridRows
{
public:
    explicit PostalRows(PostalList list)
        : m_list(std::move(list))
    {
    }
    int rowsRead() const override { return m_list.rowsRead(); }
    bool canReadMore() const override { return m_list.canReadMore(); }
    void readMore() override { m_list.readMore(); }
    QString cell(int row, int column) const override
    {
        const PostalPlace &place = m_list.place(row);
        return column == 0 ? place.town : column == 1 ? place.postcode : place.dialCode;
    }
    const PostalPlace &record(int row) const { return m_list.place(row); }

private:
    PostalList m_list;
};
