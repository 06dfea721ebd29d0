// SPDX-License-Identifier: GPL-3.0-or-later
#include "listoutput/ListSheet.h"

#include "data/RaceStore.h"
#include "model/RaceColumns.h"
#include "model/StoredDate.h"

#include <QUtf8StringView>

const QStringList &sheetHeadings()
{
    return RaceColumns::names();
}

int eachSheetRow(const RaceList &races,
                 const std::function<void(const std::vector<SheetValue> &row)> &each)
{
    const std::vector<RaceColumns::Kind> &kinds = RaceColumns::kinds();
    std::vector<SheetValue> values(kinds.size());
    std::vector<std::string> converted(kinds.size());
    int count = 0;
    // Its own copy: reading the list to its end must not move the window's grid, whose list
    // keeps what it has read in itself.
    const RaceList list(races); // NOLINT(performance-unnecessary-copy-initialization)
    list.readStoredRows([&](const Statement &row) {
        for (std::size_t c = 0; c < kinds.size(); ++c) {
            const int column = int(c) + 1;
            SheetValue &v = values[c];
            v.date = QDate();
            v.utf8 = {};
            const Statement::Type type = row.columnType(column);
            if (type == Statement::Type::Null) {
                v.kind = SheetValue::Kind::Empty;
                continue;
            }
            const bool number = type == Statement::Type::Integer || type == Statement::Type::Float;
            if (kinds[c] == RaceColumns::Kind::YesNo && number) {
                v.kind = SheetValue::Kind::YesNo;
                v.yes = row.column(column).toDouble() != 0;
                continue;
            }
            const std::string_view bytes
                = type == Statement::Type::Text ? row.columnUtf8(column) : std::string_view();
            // Damaged bytes and a leading byte-order mark are read as text first, so that every
            // reader sees the text the program shows.
            if (type == Statement::Type::Text && !bytes.starts_with("\xEF\xBB\xBF")
                && QUtf8StringView(bytes.data(), qsizetype(bytes.size())).isValidUtf8()) {
                v.utf8 = bytes;
            } else {
                converted[c] = row.column(column).toString().toStdString();
                v.utf8 = converted[c];
            }
            if (kinds[c] == RaceColumns::Kind::Date && v.utf8.size() == 10)
                v.date = dateOfStoredText(QString::fromLatin1(v.utf8.data(), 10));
            v.kind = v.date.isValid() ? SheetValue::Kind::Date : SheetValue::Kind::Text;
        }
        each(values);
        ++count;
    });
    return count;
}
