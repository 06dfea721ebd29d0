#include "model/EntryFees.h"

#include <QCollator>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>

namespace {

// Non-breaking and narrow blanks come in with text pasted from web pages.
QString plainBlanks(QString text)
{
    text.replace(QChar(0x00A0), u' ').replace(QChar(0x202F), u' ');
    return text.trimmed();
}

// Drops one currency sign or word before or after the number.
QString withoutCurrency(const QString &text)
{
    static const QRegularExpression before(QStringLiteral("^(?:€|eur|euro)\\s*(?=\\d)"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression after(QStringLiteral("(?<=[\\d\\-–—])\\s*(?:€|eur|euro)$"),
                                          QRegularExpression::CaseInsensitiveOption);
    QString rest = text;
    rest.remove(before);
    if (rest.size() == text.size())
        rest.remove(after);
    return rest;
}

qint64 digitsValue(const QString &digits)
{
    qint64 value = 0;
    for (const QChar c : digits)
        if (c.isDigit())
            value = value * 10 + c.digitValue();
    return value;
}

qint64 centsOf(const QString &fraction)
{
    if (fraction.isEmpty() || !fraction[0].isDigit())
        return 0; // no cents, or ",-", ",--", ",–"
    return fraction.size() == 1 ? digitsValue(fraction) * 10 : digitsValue(fraction);
}

} // namespace

std::optional<qint64> parseEuroCents(const QString &typed)
{
    const QString text = plainBlanks(typed);
    if (text.compare(QLatin1String("frei"), Qt::CaseInsensitive) == 0
        || text.compare(QLatin1String("kostenlos"), Qt::CaseInsensitive) == 0)
        return 0;

    // Euros with an optional decimal comma, or with a decimal point. Groups of thousands only
    // before a decimal comma: "1.234" alone may be a point typed for a comma, so it is not read.
    // Nine digits at most keep every amount far from overflowing.
    static const QRegularExpression comma(
        QStringLiteral("^(\\d{1,9}|\\d{1,3}(?:\\.\\d{3}){1,2}(?=,))(?:,(\\d{1,2}|-{1,2}|–|—))?$"));
    static const QRegularExpression point(QStringLiteral("^(\\d{1,9})\\.(\\d{1,2}|-{1,2}|–|—)$"));
    const QString number = withoutCurrency(text);
    QRegularExpressionMatch match = comma.match(number);
    if (!match.hasMatch())
        match = point.match(number);
    if (!match.hasMatch())
        return std::nullopt;
    return digitsValue(match.captured(1)) * 100 + centsOf(match.captured(2));
}

QString formatEuro(qint64 cents)
{
    const bool negative = cents < 0;
    const qint64 magnitude = negative ? -cents : cents;
    QString euros = QString::number(magnitude / 100);
    for (qsizetype at = euros.size() - 3; at > 0; at -= 3)
        euros.insert(at, u'.');
    return QStringLiteral("%1%2,%3 €")
        .arg(negative ? QStringLiteral("-") : QString(), euros)
        .arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}

FeeAmount feeAmount(const QString &typed)
{
    return FeeAmount { typed, parseEuroCents(typed) };
}

bool FeeAmount::sameAs(const FeeAmount &other) const
{
    if (readable() && other.readable())
        return *cents == *other.cents;
    return !readable() && !other.readable() && typed.trimmed() == other.typed.trimmed();
}

bool sameDistance(const QString &a, const QString &b)
{
    const auto squeezed = [](const QString &text) {
        QString out;
        out.reserve(text.size());
        for (const QChar c : text)
            if (!c.isSpace())
                out += c;
        return out;
    };
    const QString x = squeezed(a);
    const QString y = squeezed(b);
    if (x.isEmpty() || y.isEmpty())
        return false;
    if (x == y)
        return true;
    // Secondary strength: case is ignored, accents and umlauts are not.
    thread_local const QCollator collator = [] {
        QCollator c(QLocale(QLocale::German, QLocale::Germany));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator.compare(x, y) == 0;
}

std::optional<int> feeRow(const Race &race)
{
    if (sameDistance(race.distance, QStringLiteral("Marathon")))
        return 0;
    if (sameDistance(race.distance, QStringLiteral("Halb-Marathon")))
        return 1;
    if (sameDistance(race.distance, race.fees.thirdDistance))
        return 2;
    return std::nullopt;
}

QDate deadlineDate(const StoredDate &stored)
{
    const QString &text = stored.stored();
    if (text.size() > 12 && text[10] == u',' && text[11] == u' ') {
        for (qsizetype i = 12; i < text.size(); ++i)
            if (!text[i].isLetter())
                return {};
        return dateOfStoredText(text.left(10));
    }
    return stored.date();
}

std::vector<FeeStep> feeSteps(const Race &race)
{
    const std::optional<int> row = feeRow(race);
    if (!row)
        return {};
    std::vector<FeeStep> steps;
    for (int i = 0; i < 3; ++i) {
        const QDate deadline = deadlineDate(race.fees.deadlines[size_t(i)]);
        const QString &typed = race.fees.fees[size_t(i)][size_t(*row)];
        if (deadline.isValid() && !plainBlanks(typed).isEmpty())
            steps.push_back(FeeStep { i, deadline, feeAmount(typed) });
    }
    std::stable_sort(steps.begin(), steps.end(),
                     [](const FeeStep &a, const FeeStep &b) { return a.deadline < b.deadline; });

    std::vector<FeeStep> merged;
    for (const FeeStep &step : steps) {
        if (!merged.empty() && merged.back().deadline == step.deadline)
            continue;
        if (!merged.empty() && merged.back().fee.sameAs(step.fee))
            merged.pop_back();
        merged.push_back(step);
    }
    return merged;
}

FeeSituation feeSituation(const Race &race, const QDate &day)
{
    FeeSituation situation;
    const std::vector<FeeStep> steps = feeSteps(race);
    const auto current = std::find_if(steps.begin(), steps.end(),
                                      [&day](const FeeStep &step) { return step.deadline >= day; });
    if (current == steps.end()) {
        situation.expired = !steps.empty();
        return situation;
    }
    situation.today = *current;
    if (current + 1 != steps.end())
        situation.next = *(current + 1);
    return situation;
}

bool FeeSituation::rises() const
{
    if (!today || !next)
        return false;
    if (today->fee.readable() && next->fee.readable())
        return *next->fee.cents > *today->fee.cents;
    return true;
}

std::optional<qint64> FeeSituation::daysToRise(const QDate &day) const
{
    if (!rises())
        return std::nullopt;
    return day.daysTo(today->deadline) + 1;
}
