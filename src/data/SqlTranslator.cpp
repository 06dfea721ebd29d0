#include "data/SqlTranslator.h"

#include "common/DbError.h"
#include "common/GermanText.h"
#include "data/DocumentLinkIndex.h"
#include "data/GermanCollation.h"
#include "data/PlaceNameIndex.h"
#include "data/RaceDateIndex.h"

#include <QRegularExpression>

#include <algorithm>
#include <vector>

namespace {

// The statement with the inside of every string literal blanked out, so that patterns
// only ever match the statement's own words. Same length as the input.
QString maskLiterals(const QString &sql)
{
    QString masked = sql;
    bool inside = false;
    for (qsizetype i = 0; i < masked.size(); ++i) {
        if (masked[i] == u'\'') {
            if (inside && i + 1 < masked.size() && masked[i + 1] == u'\'') {
                masked[i] = u'_';
                masked[++i] = u'_';
                continue;
            }
            inside = !inside;
        } else if (inside) {
            masked[i] = u'_';
        }
    }
    return masked;
}

struct Edit
{
    qsizetype from, length;
    QString text;
};

QString applyEdits(QString sql, std::vector<Edit> edits)
{
    std::sort(edits.begin(), edits.end(),
              [](const Edit &a, const Edit &b) { return a.from > b.from; });
    for (const Edit &e : edits)
        sql.replace(e.from, e.length, e.text);
    return sql;
}

const QString kCollate = QStringLiteral(" COLLATE de");

void numericValComparisons(const QString &sql, const QString &masked, std::vector<Edit> &edits)
{
    static const QRegularExpression re(
        QStringLiteral(R"(\bval\s*\(([^)]*)\)\s*(=|<>|<=|>=|<|>)\s*('[^']*'))"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression plainNumber(QStringLiteral(R"(^[1-9][0-9]{0,14}$)"));
    for (auto it = re.globalMatch(masked); it.hasNext();) {
        const auto m = it.next();
        const QString literal = sql.mid(m.capturedStart(3), m.capturedLength(3));
        const QString inner = literal.mid(1, literal.size() - 2).trimmed();
        bool ok = false;
        inner.toDouble(&ok);
        if (!ok)
            continue;
        // A race's document links: the index on their number answers this.
        if (m.captured(1).trimmed().compare(QLatin1String("ed_nummer"), Qt::CaseInsensitive) == 0
            && m.captured(2) == QLatin1String("=") && plainNumber.match(inner).hasMatch())
            edits.push_back(
                { m.capturedStart(0), m.capturedLength(0),
                  DocumentLinkIndex::numberCondition(QStringLiteral("ed_nummer"), inner) });
        else
            edits.push_back({ m.capturedStart(3), m.capturedLength(3), inner });
    }
}

void germanLeftComparisons(const QString &masked, std::vector<Edit> &edits)
{
    static const QRegularExpression re(QStringLiteral(R"(\bleft\s*\([^)]*\)\s*=\s*'[^']*')"),
                                       QRegularExpression::CaseInsensitiveOption);
    for (auto it = re.globalMatch(masked); it.hasNext();) {
        const auto m = it.next();
        // left(x,'0') is '' for every name: an empty text needs no collator.
        if (!m.captured(0).endsWith(QLatin1String("''")))
            edits.push_back({ m.capturedEnd(0), 0, kCollate });
    }
}

// left(x,'0') = '' holds for every x that is not null: the window's empty search field. Asking
// just that spares a function call per row of a long list.
QString emptyPrefixConditions(const QString &sql)
{
    static const QRegularExpression re(
        QStringLiteral(R"(\bleft\s*\(\s*([A-Za-z_][A-Za-z0-9_]*)\s*,\s*'0'\s*\)\s*=\s*'')"),
        QRegularExpression::CaseInsensitiveOption);
    const QString masked = maskLiterals(sql);
    std::vector<Edit> edits;
    for (auto it = re.globalMatch(sql); it.hasNext();) {
        const auto m = it.next();
        // Only where the words are the statement's own, not inside a literal.
        if (masked.mid(m.capturedStart(0), 4).compare(QLatin1String("left"), Qt::CaseInsensitive)
            != 0)
            continue;
        edits.push_back({ m.capturedStart(0), m.capturedLength(0),
                          u'(' + m.captured(1) + QStringLiteral(" is not null)") });
    }
    return applyEdits(sql, std::move(edits));
}

// left(port,'3' )  = 'Bad' becomes (<port begins with B, b or no ASCII> and left(port,'3' )  =
// 'Bad'): the same rows, since no other name begins with the text the German way, but the index
// of PlaceNameIndex reads only those names.
QString leadByteConditions(const QString &sql, const QStringList &columns)
{
    if (columns.isEmpty())
        return sql;
    static const QRegularExpression re(
        QStringLiteral(
            R"(\bleft\s*\(\s*([A-Za-z_][A-Za-z0-9_]*)\s*,\s*('[^']*')\s*\)\s*=\s*('[^']*'))"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression positive(QStringLiteral(R"(^'[1-9][0-9]{0,8}'$)"));
    const QString masked = maskLiterals(sql);
    std::vector<Edit> edits;
    for (auto it = re.globalMatch(masked); it.hasNext();) {
        const auto m = it.next();
        if (!columns.contains(m.captured(1), Qt::CaseInsensitive))
            continue;
        // Only a length of at least one character: left(x,'0') is '' for every name, and a
        // length that is no plain number must fail or not exactly as before.
        if (!positive.match(sql.mid(m.capturedStart(2), m.capturedLength(2))).hasMatch())
            continue;
        QString text = sql.mid(m.capturedStart(3) + 1, m.capturedLength(3) - 2);
        text.replace(QStringLiteral("''"), QStringLiteral("'"));
        const QString condition
            = PlaceNameIndex::leadByteCondition(m.captured(1), germanLeadBytes(text.toStdString()));
        if (condition.isEmpty())
            continue;
        edits.push_back({ m.capturedStart(0), 0, u'(' + condition + QStringLiteral(" and ") });
        edits.push_back({ m.capturedEnd(0), 0, QStringLiteral(")") });
    }
    return applyEdits(sql, std::move(edits));
}

// LEFT is a join keyword in SQLite; the function is registered as left_text.
void renameLeft(const QString &masked, std::vector<Edit> &edits)
{
    static const QRegularExpression re(QStringLiteral(R"(\bleft(?=\s*\())"),
                                       QRegularExpression::CaseInsensitiveOption);
    for (auto it = re.globalMatch(masked); it.hasNext();) {
        const auto m = it.next();
        edits.push_back({ m.capturedStart(0), m.capturedLength(0), QStringLiteral("left_text") });
    }
}

const QString kRaceDate = QStringLiteral("ad_lauf_datum");

// Datevalue(ad_lauf_datum) >= Datevalue( '05.03.2004') becomes a comparison of keys, which the
// index answers. A literal that is no date keeps the functions (and lists nothing, as before).
void raceDateComparisons(const QString &sql, const QString &masked, std::vector<Edit> &edits)
{
    static const QRegularExpression re(
        QStringLiteral(R"(\b(?:datevalue|cdate)\s*\(\s*ad_lauf_datum\s*\)\s*(>=|<=|<>|=|<|>)\s*)"
                       R"((?:datevalue|cdate)\s*\(\s*('[^']*')\s*\))"),
        QRegularExpression::CaseInsensitiveOption);
    for (auto it = re.globalMatch(masked); it.hasNext();) {
        const auto m = it.next();
        const QString literal = sql.mid(m.capturedStart(2), m.capturedLength(2));
        const QDate date = parseGermanDate(literal.mid(1, literal.size() - 2));
        if (!date.isValid())
            continue;
        edits.push_back({ m.capturedStart(0), m.capturedLength(0),
                          RaceDateIndex::keyExpression(kRaceDate) + u' ' + m.captured(1) + u' '
                              + RaceDateIndex::keyLiteral(date) });
    }
}

// An order-by term on the race date, with the row's key as tie-break; empty when the term is
// something else.
QString raceDateOrdering(const QString &term, bool keys)
{
    static const QRegularExpression re(
        QStringLiteral(R"(^\s*((?:datevalue|cdate)\s*\(\s*ad_lauf_datum\s*\))\s*(asc|desc)?\s*$)"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(term);
    if (!m.hasMatch())
        return {};
    const QString direction = m.captured(2).isEmpty() ? QString() : u' ' + m.captured(2);
    const QString key = keys ? RaceDateIndex::keyExpression(kRaceDate) : m.captured(1);
    // Races of one day keep the order of their numbers, as the sort without an index gave them.
    return key + direction + QStringLiteral(", _rowid_");
}

// Returns whether a term now breaks ties by the row's key.
bool germanOrdering(const QString &masked, std::vector<Edit> &edits, bool raceDateKeys)
{
    static const QRegularExpression orderBy(QStringLiteral(R"(\border\s+by\s+)"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression bareColumn(
        QStringLiteral(R"(^\s*([A-Za-z_][A-Za-z0-9_]*)\s*(asc|desc)?\s*$)"),
        QRegularExpression::CaseInsensitiveOption);
    qsizetype start = -1;
    for (auto it = orderBy.globalMatch(masked); it.hasNext();)
        start = it.next().capturedEnd(0);
    if (start < 0)
        return false;
    bool total = false;
    qsizetype termStart = start;
    int depth = 0;
    for (qsizetype i = start; i <= masked.size(); ++i) {
        const bool end = i == masked.size();
        if (!end && masked[i] == u'(')
            ++depth;
        else if (!end && masked[i] == u')')
            --depth;
        if (end || (masked[i] == u',' && depth == 0)) {
            const QString term = masked.mid(termStart, i - termStart);
            const auto m = bareColumn.match(term);
            if (const QString byDate = raceDateOrdering(term, raceDateKeys); !byDate.isEmpty()) {
                qsizetype lead = 0;
                while (lead < term.size() && term[lead].isSpace())
                    ++lead;
                edits.push_back({ termStart + lead, i - termStart - lead, byDate });
                total = true;
            } else if (m.hasMatch()) {
                // ICU compares two names faster than it builds their sort keys.
                edits.push_back({ termStart + m.capturedEnd(1), 0, kCollate });
            }
            termStart = i + 1;
        }
    }
    return total;
}

std::optional<ExcelTarget> excelTarget(QString &sql, const QString &masked)
{
    static const QRegularExpression re(
        QStringLiteral(R"(\binto\s+\[Excel 8\.0;Database=([^\]]*)\]\.(\S+)\s+from\b)"),
        QRegularExpression::CaseInsensitiveOption);
    // The path may contain quotes or brackets of its own; it is read from the unmasked text.
    const auto m = re.match(sql);
    if (!m.hasMatch() || masked.mid(m.capturedStart(0), 4).toLower() != QStringLiteral("into"))
        return std::nullopt;
    ExcelTarget target { m.captured(1), m.captured(2) };
    sql.replace(m.capturedStart(0), m.capturedLength(0), QStringLiteral("from"));
    return target;
}

} // namespace

QString sqlQuoted(const QString &text)
{
    QString quoted = text;
    quoted.replace(u'\'', QStringLiteral("''"));
    return u'\'' + quoted + u'\'';
}

TranslatedStatement translateStatement(const QString &statement, const TranslateOptions &options)
{
    QString sql = statement;
    TranslatedStatement result;
    result.excel = excelTarget(sql, maskLiterals(sql));
    sql = emptyPrefixConditions(sql);
    sql = leadByteConditions(sql, options.leadByteColumns);

    const QString masked = maskLiterals(sql);
    std::vector<Edit> edits;
    numericValComparisons(sql, masked, edits);
    germanLeftComparisons(masked, edits);
    renameLeft(masked, edits);
    if (options.raceDateKeys)
        raceDateComparisons(sql, masked, edits);
    result.totalOrder = germanOrdering(masked, edits, options.raceDateKeys);
    result.sql = applyEdits(sql, std::move(edits)).toStdString();
    return result;
}

std::string withoutFinalOrdering(const std::string &sql)
{
    const QString text = QString::fromStdString(sql);
    const QString masked = maskLiterals(text);
    if (masked.contains(QLatin1String("--")) || masked.contains(QLatin1String("/*")))
        return sql;
    static const QRegularExpression orderBy(QStringLiteral(R"(\border\s+by\b)"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression limit(QStringLiteral(R"(\b(limit|offset)\b)"),
                                          QRegularExpression::CaseInsensitiveOption);
    // The last ORDER BY outside any parentheses; one inside belongs to a subquery or a window.
    qsizetype start = -1;
    for (auto it = orderBy.globalMatch(masked); it.hasNext();) {
        const auto m = it.next();
        int depth = 0;
        for (qsizetype i = 0; i < m.capturedStart(0); ++i)
            depth += masked[i] == u'(' ? 1 : masked[i] == u')' ? -1 : 0;
        if (depth == 0)
            start = m.capturedStart(0);
    }
    if (start < 0 || limit.match(masked, start).hasMatch())
        return sql;
    return text.left(start).toStdString();
}
