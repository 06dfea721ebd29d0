#include "editor/EditorValues.h"

#include "common/GermanText.h"

#include <cmath>

namespace {
// A typed hour or minute as a whole number without leading zeros; zero gives "".
// A text that is no number stays as typed.
QString wholeNumberOrEmpty(const QString &text)
{
    QString t = text.trimmed();
    t.replace(u',', u'.');
    bool ok = false;
    const double value = t.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return text;
    const long long n = std::llround(value);
    return n == 0 ? QString() : QString::number(n);
}
} // namespace

QString startTimePart(const QString &comboText)
{
    return (QStringLiteral("00") + wholeNumberOrEmpty(comboText)).right(2);
}

bool isDateText(const QString &text)
{
    return parseGermanDate(text).isValid();
}

QString dateWithWeekdayOrText(const QString &stored)
{
    const QDate date = parseGermanDate(stored);
    return date.isValid() ? formatDateWithWeekday(date) : stored;
}
