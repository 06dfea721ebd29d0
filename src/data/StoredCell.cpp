#include "data/StoredCell.h"

#include <QUtf8StringView>

StoredCell storedCell(const Statement &row, int column, bool yesNoColumn)
{
    const Statement::Type type = row.columnType(column);
    if (type == Statement::Type::Null)
        return {};
    if (yesNoColumn && (type == Statement::Type::Integer || type == Statement::Type::Float))
        return { StoredCell::Kind::Truth, row.column(column).toDouble() != 0, {} };
    if (type == Statement::Type::Text) {
        const std::string_view bytes = row.columnUtf8(column);
        if (!bytes.starts_with("\xEF\xBB\xBF")
            && QUtf8StringView(bytes.data(), qsizetype(bytes.size())).isValidUtf8())
            return { StoredCell::Kind::Bytes, false, bytes };
    }
    return { StoredCell::Kind::AsRead, false, {} };
}
