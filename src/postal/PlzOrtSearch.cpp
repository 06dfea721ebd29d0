#include "postal/PlzOrtSearch.h"

#include "data/SqlTranslator.h"

#include <QList>

namespace PlzOrt {

QString directoryStatement()
{
    return QStringLiteral("select * from aw_plzort  order by port");
}

QString searchStatement(const QString &field, const QString &text)
{
    // The length counts characters as left() does, not UTF-16 units.
    const auto length = text.toUcs4().size();
    return QStringLiteral("select * from aw_plzort  where left(") + field + QStringLiteral(",'")
        + QString::number(length) + QStringLiteral("' )  = ") + sqlQuoted(text)
        + QStringLiteral(" order by port");
}

} // namespace PlzOrt
