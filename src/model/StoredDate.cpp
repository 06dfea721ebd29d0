#include "model/StoredDate.h"

#include "common/TextUnit.h"

namespace {

// A text of 16-bit characters or of UTF-8 bytes: the digits and points are the same in both.
template<class Text> QDate fixedFormDate(const Text &text)
{
    const auto digitsAt = [&text](qsizetype from, qsizetype count) {
        for (qsizetype i = from; i < from + count; ++i)
            if (textUnit(text[i]) < u'0' || textUnit(text[i]) > u'9')
                return false;
        return true;
    };
    if (qsizetype(text.size()) != 10 || textUnit(text[2]) != u'.' || textUnit(text[5]) != u'.'
        || !digitsAt(0, 2) || !digitsAt(3, 2) || !digitsAt(6, 4))
        return {};
    const auto number = [&text](qsizetype from, qsizetype count) {
        int n = 0;
        for (qsizetype i = from; i < from + count; ++i)
            n = n * 10 + (textUnit(text[i]) - u'0');
        return n;
    };
    // QDate has no year 0, so "00.00.0000" and "01.01.0000" are no dates either.
    return QDate(number(6, 4), number(3, 2), number(0, 2));
}

} // namespace

QDate dateOfStoredText(const QString &text)
{
    return fixedFormDate(text);
}

QDate dateOfStoredText(std::string_view utf8)
{
    return fixedFormDate(utf8);
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
