#include "common/GermanText.h"

#include <array>

namespace {
const std::array<const char *, 7> kWeekdays
    = { "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag", "Sonntag" };
const std::array<const char *, 12> kMonths
    = { "Januar", "Februar", "März",      "April",   "Mai",      "Juni",
        "Juli",   "August",  "September", "Oktober", "November", "Dezember" };

bool allDigits(QStringView s)
{
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}
} // namespace

QString numberText(long long n)
{
    return n >= 0 ? QStringLiteral(" ") + QString::number(n) : QString::number(n);
}

QString countText(long long n, const char16_t *one, const char16_t *many)
{
    return QString::number(n) + u' ' + QString::fromUtf16(n == 1 ? one : many);
}

QString weekdayName(int dayOfWeek)
{
    if (dayOfWeek < 1 || dayOfWeek > 7)
        return {};
    return QString::fromUtf8(kWeekdays[dayOfWeek - 1]);
}

QString weekdayShort(int dayOfWeek)
{
    return weekdayName(dayOfWeek).left(2);
}

QString monthName(int month)
{
    if (month < 1 || month > 12)
        return {};
    return QString::fromUtf8(kMonths[month - 1]);
}

QString formatDate(const QDate &date)
{
    if (!date.isValid())
        return {};
    return QStringLiteral("%1.%2.%3")
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.year(), 4, 10, QLatin1Char('0'));
}

QString formatDateWithWeekday(const QDate &date)
{
    if (!date.isValid())
        return {};
    return formatDate(date) + QStringLiteral(", ") + weekdayName(date.dayOfWeek());
}

QDate parseGermanDate(const QString &text)
{
    QStringView s = QStringView(text).trimmed();
    const qsizetype comma = s.indexOf(u',');
    if (comma >= 0)
        s = s.left(comma).trimmed();
    const qsizetype p1 = s.indexOf(u'.');
    const qsizetype p2 = p1 < 0 ? -1 : s.indexOf(u'.', p1 + 1);
    if (p1 < 0 || p2 < 0)
        return {};
    const QStringView d = s.left(p1), m = s.mid(p1 + 1, p2 - p1 - 1), y = s.mid(p2 + 1);
    if (!allDigits(d) || !allDigits(m) || !allDigits(y) || d.size() > 2 || m.size() > 2
        || y.size() != 4)
        return {};
    return QDate(y.toInt(), m.toInt(), d.toInt());
}
