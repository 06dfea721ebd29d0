// SPDX-License-Identifier: GPL-3.0-or-later
#include "listoutput/ListCsv.h"

#include "listoutput/ListSheet.h"
#include "listoutput/ReplacingFile.h"

namespace {

constexpr std::size_t pieceSize = 1 << 20;

bool needsQuotes(std::string_view text)
{
    for (const char c : text)
        if (c == ';' || c == '"' || c == '\r' || c == '\n')
            return true;
    return false;
}

void appendField(std::string &line, std::string_view text)
{
    if (!needsQuotes(text)) {
        line += text;
        return;
    }
    line += '"';
    for (const char c : text) {
        if (c == '"')
            line += '"';
        line += c;
    }
    line += '"';
}

} // namespace

QString csvField(const QString &text)
{
    std::string field;
    appendField(field, text.toStdString());
    return QString::fromStdString(field);
}

int writeRacesCsv(const RaceList &races, const QString &target)
{
    ReplacingFile file(target);
    std::string pending = "\xEF\xBB\xBF";
    const QStringList &names = sheetHeadings();
    for (qsizetype c = 0; c < names.size(); ++c) {
        if (c > 0)
            pending += ';';
        appendField(pending, names[c].toStdString());
    }
    pending += "\r\n";
    const int count = eachSheetRow(races, [&](const std::vector<SheetValue> &row) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c > 0)
                pending += ';';
            const SheetValue &v = row[c];
            if (v.kind == SheetValue::Kind::YesNo)
                pending += v.yes ? "WAHR" : "FALSCH";
            else
                appendField(pending, v.utf8);
        }
        pending += "\r\n";
        // To the file a megabyte at a time.
        if (pending.size() >= pieceSize) {
            file.write(pending.data(), pending.size());
            pending.clear();
        }
    });
    file.write(pending.data(), pending.size());
    file.commit();
    return count;
}
