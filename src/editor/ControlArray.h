#pragma once

#include "common/DbError.h"

#include <map>

// Controls that share a name and are told apart by an index ("db_ok(3)", "aw_Combo1(7)").
// Indexes need not be contiguous; asking for one that does not exist is a run-time error.
template<class T> class ControlArray
{
public:
    void insert(int index, T *control) { m_items[index] = control; }

    T *operator()(int index) const
    {
        const auto it = m_items.find(index);
        if (it == m_items.end())
            throw DbError(
                ErrNo::NoSuchControlElement,
                QStringLiteral("Steuerelementfeld-Element '%1' existiert nicht").arg(index));
        return it->second;
    }
    bool contains(int index) const { return m_items.count(index) != 0; }

    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    std::map<int, T *> m_items;
};
