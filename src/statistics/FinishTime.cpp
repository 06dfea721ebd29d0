#include "statistics/FinishTime.h"

#include "common/TextUnit.h"

#include <QRegularExpression>
#include <QStringList>

#include <array>

namespace {

constexpr int kSecond = 1000;
constexpr int kMinute = 60 * kSecond;
constexpr int kHour = 60 * kMinute;
constexpr long long kLongest = 100LL * kHour; // nobody runs longer without a break

// The fraction of a second as milliseconds, from the digits after the separator.
std::optional<int> fraction(const QString &digits)
{
    if (digits.isEmpty())
        return 0;
    if (digits.size() > 3)
        return std::nullopt;
    return digits.leftJustified(3, u'0').toInt();
}

std::optional<int> checked(long long ms)
{
    if (ms <= 0 || ms >= kLongest)
        return std::nullopt;
    return int(ms);
}

enum Unit { Hours = 0, Minutes = 1, Seconds = 2, None = 3 };
constexpr std::array<int, 3> kUnitMs { kHour, kMinute, kSecond };

Unit unitOf(const QString &word)
{
    static const QStringList hours { "h", "std", "std.", "stde", "stunde", "stunden" };
    static const QStringList minutes { "m", "min", "min.", "minute", "minuten", "'" };
    static const QStringList seconds {
        "s", "sek", "sek.", "sec", "sekunde", "sekunden", "''", "\""
    };
    if (hours.contains(word))
        return Hours;
    if (minutes.contains(word))
        return Minutes;
    if (seconds.contains(word))
        return Seconds;
    return None;
}

// Groups joined by ':' or '.', with an optional unit naming the first group.
std::optional<int> readGroups(const QString &text)
{
    static const QRegularExpression form(
        QStringLiteral(R"(^(\d{1,3})([:.])(\d{2})(?:\2(\d{2}))?(?:([.,])(\d+))?\s*([a-z.]*)$)"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QChar separator = m.captured(2).at(0);
    const bool three = m.capturedLength(4) > 0;
    const QString fractionSeparator = m.captured(5);
    // With full stops between the groups only a comma can start the fraction.
    if (separator == u'.' && fractionSeparator == QStringLiteral("."))
        return std::nullopt;
    Unit first = three ? Hours : Minutes;
    if (!m.captured(7).isEmpty()) {
        first = unitOf(m.captured(7));
        if (first == None || first == Seconds || (three && first != Hours))
            return std::nullopt;
    } else if (separator == u'.' && !three) {
        // "45.30" may as well be 45.3 minutes.
        return std::nullopt;
    }
    // A fraction belongs to seconds only.
    if (!fractionSeparator.isEmpty() && !three && first == Hours)
        return std::nullopt;
    const int a = m.captured(1).toInt();
    const int b = m.captured(3).toInt();
    const int c = three ? m.captured(4).toInt() : 0;
    if (b >= 60 || c >= 60)
        return std::nullopt;
    const std::optional<int> part = fraction(m.captured(6));
    if (!part)
        return std::nullopt;
    if (three)
        return checked(1LL * a * kHour + 1LL * b * kMinute + 1LL * c * kSecond + *part);
    return checked(1LL * a * kUnitMs[first] + 1LL * b * kUnitMs[first + 1] + *part);
}

// Numbers each followed by a unit, largest unit first.
std::optional<int> readUnits(const QString &text)
{
    static const QRegularExpression token(
        QStringLiteral(R"(\s*(\d+)(?:,(\d+))?\s*(''|'|"|[a-z]+\.?)?)"));
    long long total = 0;
    int position = 0;
    int previous = -1; // the unit of the number before
    bool sawUnit = false;
    bool sawFraction = false;
    while (position < text.size()) {
        const QRegularExpressionMatch m
            = token.match(text, position, QRegularExpression::NormalMatch,
                          QRegularExpression::AnchorAtOffsetMatchOption);
        if (!m.hasMatch() || m.capturedLength() == 0 || sawFraction)
            return std::nullopt;
        int unit;
        if (m.capturedLength(3) > 0) {
            unit = unitOf(m.captured(3));
            if (unit == None)
                return std::nullopt;
            sawUnit = true;
        } else {
            // A bare number only after a unit, and only as the last one.
            if (previous < 0 || previous == Seconds || m.capturedEnd() < text.size())
                return std::nullopt;
            unit = previous + 1;
        }
        if (unit <= previous)
            return std::nullopt;
        const int value = m.captured(1).toInt();
        if (previous >= 0 && value >= 60)
            return std::nullopt;
        total += 1LL * value * kUnitMs[size_t(unit)];
        if (m.capturedLength(2) > 0) {
            const QString digits = m.captured(2);
            if (digits.size() > 3)
                return std::nullopt;
            static constexpr std::array<long long, 4> kPow10 { 1, 10, 100, 1000 };
            total += kUnitMs[size_t(unit)] * digits.toLongLong() / kPow10[size_t(digits.size())];
            sawFraction = true;
        }
        previous = unit;
        position = int(m.capturedEnd());
    }
    if (!sawUnit)
        return std::nullopt;
    return checked(total);
}

// "3:45:12" and "46:30", the forms nearly every time is typed in, read without the regular
// expressions (a long log has tens of thousands). Anything else, or a value out of range, is
// left to the full reading.
template<class Text> std::optional<int> readPlainClock(const Text &text)
{
    std::array<int, 3> groups {};
    int count = 0;
    int digits = 0;
    for (const auto ch : text) {
        const char16_t c = textUnit(ch);
        if (c == u':') {
            if (digits == 0 || count == 2 || (count > 0 && digits != 2))
                return std::nullopt;
            ++count;
            digits = 0;
        } else if (c >= u'0' && c <= u'9') {
            if (++digits > 3)
                return std::nullopt;
            groups[size_t(count)] = groups[size_t(count)] * 10 + (c - u'0');
        } else {
            return std::nullopt;
        }
    }
    if (count == 0 || digits != 2 || groups[1] >= 60 || groups[2] >= 60)
        return std::nullopt;
    if (count == 2)
        return checked(1LL * groups[0] * kHour + 1LL * groups[1] * kMinute
                       + 1LL * groups[2] * kSecond);
    return checked(1LL * groups[0] * kMinute + 1LL * groups[1] * kSecond);
}

} // namespace

std::optional<int> parseFinishTime(const QString &text)
{
    if (const std::optional<int> plain = readPlainClock(text))
        return plain;
    const QString t = text.trimmed().toLower().simplified();
    if (t.isEmpty())
        return std::nullopt;
    if (const std::optional<int> groups = readGroups(t))
        return groups;
    return readUnits(t);
}

QString formatFinishTime(int milliseconds)
{
    const int seconds = milliseconds / kSecond;
    QString text = QStringLiteral("%1:%2:%3")
                       .arg(seconds / 3600)
                       .arg(seconds / 60 % 60, 2, 10, QChar(u'0'))
                       .arg(seconds % 60, 2, 10, QChar(u'0'));
    const int rest = milliseconds % kSecond;
    if (rest != 0) {
        QString digits = QStringLiteral("%1").arg(rest, 3, 10, QChar(u'0'));
        while (digits.endsWith(u'0'))
            digits.chop(1);
        text += u',' + digits;
    }
    return text;
}

std::optional<int> parseFinishTime(std::string_view utf8)
{
    if (const std::optional<int> plain = readPlainClock(utf8))
        return plain;
    return parseFinishTime(QString::fromUtf8(utf8));
}
