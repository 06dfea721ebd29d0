#include "model/Records.h"

#include "model/RaceColumns.h"

const PickListTable &pickListTable(PickList list)
{
    static const PickListTable tables[] = {
        { "aw_lauf", "lauf", nullptr, 35 },       { "aw_zeitmessung", "zeitmessung", nullptr, 35 },
        { "aw_anrede", "anrede", nullptr, 35 },   { "aw_titel", "titel", nullptr, 35 },
        { "aw_strasse", "strasse", nullptr, 35 }, { "aw_land", "land", "land_name", 3 },
    };
    return tables[int(list)];
}

QString completionKey(const QString &text, qsizetype length)
{
    return text.left(length).toUpper();
}

namespace DocumentColumns {

std::vector<QVariant> toStored(const DocumentLink &link)
{
    using RaceColumns::storedText;
    return { storedText(link.raceNumber), storedText(link.path.left(kPathLength)),
             storedText(link.name) };
}

DocumentLink fromStored(qlonglong number, const std::vector<QVariant> &values)
{
    using RaceColumns::textOf;
    const auto at = [&values](size_t i) { return i < values.size() ? values[i] : QVariant(); };
    return { number, textOf(at(0)), textOf(at(1)), textOf(at(2)) };
}

} // namespace DocumentColumns
