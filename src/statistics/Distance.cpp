#include "statistics/Distance.h"

#include <QRegularExpression>

namespace {

constexpr double kMarathon = 42.195;
constexpr double kHalfMarathon = 21.0975;

// A number with "km" or "m"; "1.000 m" has a thousands separator, "21.1 km" a decimal point.
const QString kLength = QStringLiteral(R"((\d+(?:[.,]\d+)*)\s*(km|m)(?![a-zäöüß]))");

std::optional<double> kilometres(const QString &number, const QString &unit)
{
    QString n = number;
    static const QRegularExpression thousands(QStringLiteral(R"(^\d{1,3}(\.\d{3})+$)"));
    if (unit == QStringLiteral("m") && thousands.match(n).hasMatch())
        n.remove(u'.');
    n.replace(u',', u'.');
    bool ok = false;
    const double value = n.toDouble(&ok);
    if (!ok || value <= 0)
        return std::nullopt;
    return unit == QStringLiteral("km") ? value : value / 1000.0;
}

} // namespace

QString formatKilometres(double km)
{
    if (km < 1.0)
        return QStringLiteral("%1 m").arg(qRound(km * 1000.0));
    QString n = QString::number(km, 'f', 4);
    while (n.endsWith(u'0'))
        n.chop(1);
    if (n.endsWith(u'.'))
        n.chop(1);
    n.replace(u'.', u',');
    return n + QStringLiteral(" km");
}

Distance readDistance(const QString &text)
{
    const QString clean = text.simplified();
    if (clean.isEmpty())
        return {};
    const QString lower = clean.toLower();
    QString compact = lower;
    compact.remove(u' ').remove(u'-');
    if (compact == QStringLiteral("marathon"))
        return { QStringLiteral("Marathon"), QStringLiteral("Marathon"), kMarathon };
    if (compact == QStringLiteral("halbmarathon"))
        return { QStringLiteral("Halb-Marathon"), QStringLiteral("Halb-Marathon"), kHalfMarathon };

    static const QRegularExpression whole(u'^' + kLength + u'$');
    if (const QRegularExpressionMatch m = whole.match(lower); m.hasMatch()) {
        if (const std::optional<double> km = kilometres(m.captured(1), m.captured(2))) {
            const QString label = formatKilometres(*km);
            return { label, label, km };
        }
    }

    Distance d { lower, clean, std::nullopt };
    static const QRegularExpression inside(QStringLiteral(R"((?<![\d.,]))") + kLength);
    QRegularExpressionMatchIterator it = inside.globalMatch(lower);
    if (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        // Two lengths in one text ("2 x 5 km + 800 m") are not added up by guessing.
        if (!it.hasNext())
            d.km = kilometres(m.captured(1), m.captured(2));
    }
    return d;
}
