#include "model/StoredDate.h"

namespace {
bool digitsAt(const QString &text, qsizetype from, qsizetype count)
{
    for (qsizetype i = from; i < from + count; ++i)
        if (text[i] < u'0' || text[i] > u'9')
            return false;
    return true;
}
} // namespace

QDate dateOfStoredText(const QString &text)
{
    if (text.size() != 10 || text[2] != u'.' || text[5] != u'.' || !digitsAt(text, 0, 2)
        || !digitsAt(text, 3, 2) || !digitsAt(text, 6, 4))
        return {};
    const auto number = [&text](qsizetype from, qsizetype count) {
        int n = 0;
        for (qsizetype i = from; i < from + count; ++i)
            n = n * 10 + (text[i].unicode() - u'0');
        return n;
    };
    // QDate has no year 0, so "00.00.0000" and "01.01.0000" are no dates either.
    return QDate(number(6, 4), number(3, 2), number(0, 2));
}

StoredDate StoredDate::fromDate(const QDate &date)
{
    if (!date.isValid() || date.year() < 1 || date.year() > 9999)
        return StoredDate(QStringLiteral(""));
    return StoredDate(QStringLiteral("%1.%2.%3")
                          .arg(date.day(), 2, 10, QLatin1Char('0'))
                          .arg(date.month(), 2, 10, QLatin1Char('0'))
                          .arg(date.year(), 4, 10, QLatin1Char('0')));
}

QDate StoredDate::date() const
{
    return dateOfStoredText(m_stored);
}
