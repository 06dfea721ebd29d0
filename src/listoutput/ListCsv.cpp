// SPDX-License-Identifier: GPL-3.0-or-later
#include "listoutput/ListCsv.h"

#include "listoutput/ListSheet.h"
#include "listoutput/ReplacingFile.h"

#include <QStringEncoder>

namespace {

constexpr std::size_t pieceSize = 1 << 20;

bool needsQuotes(const QString &text)
{
    for (const QChar c : text)
        if (c == u';' || c == u'"' || c == u'\r' || c == u'\n')
            return true;
    return false;
}

void appendField(QString &line, const QString &text)
{
    if (!needsQuotes(text)) {
        line += text;
        return;
    }
    line += u'"';
    for (const QChar c : text) {
        if (c == u'"')
            line += u'"';
        line += c;
    }
    line += u'"';
}

// Lines go to the file a megabyte at a time.
class CsvOut
{
public:
    explicit CsvOut(ReplacingFile &file)
        : m_file(file)
    {
        m_pending = "\xEF\xBB\xBF";
    }
    void line(const QString &text)
    {
        const std::size_t at = m_pending.size();
        m_pending.resize(at + std::size_t(m_utf8.requiredSpace(text.size())) + 2);
        char *end = m_utf8.appendToBuffer(m_pending.data() + at, text);
        *end++ = '\r';
        *end++ = '\n';
        m_pending.resize(std::size_t(end - m_pending.data()));
        if (m_pending.size() >= pieceSize)
            flush();
    }
    void flush()
    {
        m_file.write(m_pending.data(), m_pending.size());
        m_pending.clear();
    }

private:
    ReplacingFile &m_file;
    std::string m_pending;
    QStringEncoder m_utf8 { QStringEncoder::Utf8, QStringConverter::Flag::Stateless };
};

} // namespace

QString csvField(const QString &text)
{
    QString field;
    appendField(field, text);
    return field;
}

int writeRacesCsv(const RaceList &races, const QString &target)
{
    ReplacingFile file(target);
    CsvOut out(file);
    QString line;
    for (const QString &name : sheetHeadings()) {
        if (!line.isEmpty())
            line += u';';
        appendField(line, name);
    }
    out.line(line);
    const int count = eachSheetRow(races, [&](const std::vector<SheetValue> &row) {
        line.clear();
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c > 0)
                line += u';';
            const SheetValue &v = row[c];
            if (v.kind == SheetValue::Kind::YesNo)
                line += v.yes ? QStringLiteral("WAHR") : QStringLiteral("FALSCH");
            else
                appendField(line, v.text);
        }
        out.line(line);
    });
    out.flush();
    file.commit();
    return count;
}
