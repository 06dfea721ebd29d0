// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/RaceStore.h"
#include "model/RaceColumns.h"

#include <algorithm>

namespace {

constexpr int kNumbersAtOnce = 500;

// The stored columns of `count` races given by number, in the order of the numbers: a cross join
// keeps SQLite from reordering the loops, and each number is found by its key.
std::string storedRowsStatement(int count)
{
    std::string sql = "with wanted(pos, num) as (values ";
    for (int i = 0; i < count; ++i)
        sql += (i ? ", (" : "(") + std::to_string(i) + ", ?)";
    sql += ") select ";
    sql += RaceColumns::kNumber;
    for (const QString &name : RaceColumns::names())
        sql += ", " + name.toStdString();
    sql += std::string(" from wanted cross join ") + RaceColumns::kTable + " on "
        + RaceColumns::kNumber + " = wanted.num order by wanted.pos";
    return sql;
}

} // namespace

void RaceList::readStoredRows(const std::function<void(const Statement &row)> &each) const
{
    const int rows = count();
    std::unique_ptr<Statement> full;
    for (int first = 0; first < rows; first += kNumbersAtOnce) {
        const int n = std::min(kNumbersAtOnce, rows - first);
        std::unique_ptr<Statement> last;
        if (n == kNumbersAtOnce && !full)
            full = std::make_unique<Statement>(*m_db, storedRowsStatement(n));
        else if (n < kNumbersAtOnce)
            last = std::make_unique<Statement>(*m_db, storedRowsStatement(n));
        Statement &st = last ? *last : *full;
        st.reset();
        for (int i = 0; i < n; ++i)
            st.bind(i + 1, m_numbers[size_t(first) + size_t(i)]);
        // A race deleted since its number was read is left out.
        while (st.step())
            each(st);
    }
}
