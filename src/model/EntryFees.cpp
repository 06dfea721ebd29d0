#include "model/EntryFees.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>

namespace {

// Non-breaking and narrow blanks come in with text pasted from web pages.
QString plainBlanks(const QString &text)
{
    if (!text.contains(QChar(0x00A0)) && !text.contains(QChar(0x202F)))
        return text.trimmed();
    QString plain = text;
    plain.replace(QChar(0x00A0), u' ').replace(QChar(0x202F), u' ');
    return plain.trimmed();
}

bool isBlank(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isSpace(); });
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isDash(QChar c)
{
    return c == u'-' || c == QChar(0x2013) || c == QChar(0x2014);
}

// Drops one currency sign or word before or after the number ("EUR 45", "45,- €").
QStringView withoutCurrency(QStringView text)
{
    static const QString kWords[]
        = { QStringLiteral("€"), QStringLiteral("euro"), QStringLiteral("eur") };
    for (const QString &word : kWords) {
        if (text.startsWith(word, Qt::CaseInsensitive)) {
            const QStringView rest = text.mid(word.size()).trimmed();
            if (!rest.isEmpty() && isAsciiDigit(rest.front()))
                return rest;
        }
    }
    for (const QString &word : kWords) {
        if (text.endsWith(word, Qt::CaseInsensitive)) {
            const QStringView rest = text.chopped(word.size()).trimmed();
            if (!rest.isEmpty() && (isAsciiDigit(rest.back()) || isDash(rest.back())))
                return rest;
        }
    }
    return text;
}

// Nine digits at most keep every amount far from overflowing.
std::optional<qint64> wholeNumber(QStringView digits)
{
    if (digits.isEmpty() || digits.size() > 9)
        return std::nullopt;
    qint64 value = 0;
    for (const QChar c : digits) {
        if (!isAsciiDigit(c))
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

// "1.234" as 1234: one to three digits, then groups of three behind points.
std::optional<qint64> groupedNumber(QStringView text)
{
    const qsizetype first = text.indexOf(u'.');
    if (first < 1 || first > 3)
        return std::nullopt;
    QString digits = text.left(first).toString();
    for (qsizetype at = first; at < text.size(); at += 4) {
        if (text[at] != u'.' || at + 4 > text.size())
            return std::nullopt;
        digits += text.mid(at + 1, 3);
    }
    return wholeNumber(digits);
}

// The cents after the decimal sign: one or two digits, or a dash for none (",-", ",--", ",–").
std::optional<qint64> centsOf(QStringView fraction)
{
    if (fraction == u"--" || (fraction.size() == 1 && isDash(fraction.front())))
        return 0;
    if (fraction.isEmpty() || fraction.size() > 2)
        return std::nullopt;
    const std::optional<qint64> cents = wholeNumber(fraction);
    if (!cents)
        return std::nullopt;
    return fraction.size() == 1 ? *cents * 10 : *cents;
}

} // namespace

std::optional<qint64> parseEuroCents(const QString &typed)
{
    const QString text = plainBlanks(typed);
    if (text.compare(QLatin1String("frei"), Qt::CaseInsensitive) == 0
        || text.compare(QLatin1String("kostenlos"), Qt::CaseInsensitive) == 0)
        return 0;

    const QStringView number = withoutCurrency(text);
    std::optional<qint64> euros;
    std::optional<qint64> cents = 0;
    if (const qsizetype comma = number.indexOf(u','); comma >= 0) {
        // A decimal comma, with groups of thousands before it or none.
        const QStringView whole = number.left(comma);
        euros = whole.contains(u'.') ? groupedNumber(whole) : wholeNumber(whole);
        cents = centsOf(number.mid(comma + 1));
    } else if (const qsizetype point = number.indexOf(u'.'); point >= 0) {
        // A decimal point. "1.234" may be a point typed for a comma, so it is not read.
        euros = wholeNumber(number.left(point));
        cents = centsOf(number.mid(point + 1));
    } else {
        euros = wholeNumber(number);
    }
    if (!euros || !cents)
        return std::nullopt;
    return *euros * 100 + *cents;
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

QString FeeAmount::shown() const
{
    return readable() ? formatEuro(*cents) : typed.trimmed();
}

QString feeChangeVerb(const FeeAmount &now, const FeeAmount &then)
{
    if (!now.readable() || !then.readable())
        return QStringLiteral("ändert sich");
    return *then.cents > *now.cents ? QStringLiteral("steigt") : QStringLiteral("sinkt");
}

bool sameDistance(const QString &a, const QString &b)
{
    const auto squeezed = [](const QString &text) {
        if (std::none_of(text.begin(), text.end(), [](QChar c) { return c.isSpace(); }))
            return text;
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
    if (x.compare(y, Qt::CaseInsensitive) == 0)
        return true;
    // Plain ASCII texts that differ in more than case differ the German way too; only the
    // others need the collator.
    const auto ascii = [](const QString &text) {
        return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
    };
    if (ascii(x) && ascii(y))
        return false;
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
    steps.reserve(3);
    for (int i = 0; i < 3; ++i) {
        const QDate deadline = deadlineDate(race.fees.deadlines[size_t(i)]);
        const QString &typed = race.fees.fees[size_t(i)][size_t(*row)];
        if (deadline.isValid() && !isBlank(typed))
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
