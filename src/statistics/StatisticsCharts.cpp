#include "statistics/StatisticsCharts.h"

#include "statistics/FinishTime.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QPen>
#include <QScatterSeries>
#include <QTimeZone>
#include <QValueAxis>

#include <algorithm>
#include <array>
#include <cmath>

namespace StatisticsCharts {

namespace {

const QLocale kGerman(QLocale::German, QLocale::Germany);

QChart *newChart(const QString &title)
{
    auto *chart = new QChart;
    chart->setTitle(title);
    chart->setLocale(kGerman);
    chart->setLocalizeNumbers(true);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setAnimationOptions(QChart::NoAnimation);
    return chart;
}

// A value axis that ends at a round number and labels whole numbers only.
void roundUp(QValueAxis *axis, double highest, int tickCount)
{
    // Steps of 1, 2 and 5 times a power of ten, as far as the highest value needs: the fees of a
    // year can go beyond the kilometres.
    double step = 1;
    for (double power = 1; highest > step * (tickCount - 1) && power < 1e12; power *= 10) {
        for (const double s : { 1.0, 2.0, 5.0 }) {
            step = s * power;
            if (highest <= step * (tickCount - 1))
                break;
        }
    }
    axis->setRange(0, step * (tickCount - 1));
    axis->setTickCount(tickCount);
    axis->setLabelFormat(QStringLiteral("%.0f"));
}

// Milliseconds since the epoch of a day at noon, so that no time zone moves it to another day.
// Through the system's zone rather than local time: the C library looks at the zone file on
// every local time it converts, and a long log has tens of thousands of points.
qreal dayValue(const QDate &date)
{
    static const QTimeZone zone = QTimeZone::systemTimeZone();
    return qreal(QDateTime(date, QTime(12, 0), zone).toMSecsSinceEpoch());
}

} // namespace

std::vector<int> timeTicks(int lowMs, int highMs)
{
    static constexpr std::array<int, 10> kSteps { 60,   120,  300,  600,   900,
                                                  1800, 3600, 7200, 18000, 36000 };
    const int low = lowMs / 1000;
    const int high = (highMs + 999) / 1000;
    int step = kSteps.back();
    for (const int s : kSteps) {
        if ((high - low) / s <= 6) {
            step = s;
            break;
        }
    }
    std::vector<int> ticks;
    int first = low / step * step;
    int last = (high + step - 1) / step * step;
    if (first == last)
        last += step;
    for (int t = first; t <= last; t += step)
        ticks.push_back(t);
    return ticks;
}

QChart *yearChart(const std::vector<YearFigures> &years)
{
    QChart *chart = newChart(QStringLiteral("Läufe pro Jahr"));
    auto *run = new QBarSet(QStringLiteral("gelaufen"));
    auto *registered = new QBarSet(QStringLiteral("angemeldet"));
    auto *noted = new QBarSet(QStringLiteral("vorgemerkt"));
    auto *km = new QLineSeries;
    km->setName(QStringLiteral("Kilometer gelaufen"));
    km->setPointsVisible(true);
    km->setPen(QPen(QColor(200, 0, 0), 2));
    auto *fees = new QLineSeries;
    fees->setName(QStringLiteral("Startgeld (€)"));
    fees->setPointsVisible(true);
    fees->setPen(QPen(QColor(0, 140, 60), 2, Qt::DashLine));
    QStringList categories;
    int most = 0;
    double mostKm = 0;
    double mostEuro = 0;
    for (size_t i = 0; i < years.size(); ++i) {
        const YearFigures &y = years[i];
        categories << QString::number(y.year);
        *run << y.run;
        *registered << y.registered;
        *noted << y.noted;
        km->append(qreal(i), y.km);
        fees->append(qreal(i), double(y.feeCents) / 100.0);
        most = std::max({ most, y.run, y.registered, y.noted });
        mostKm = std::max(mostKm, y.km);
        mostEuro = std::max(mostEuro, double(y.feeCents) / 100.0);
    }
    auto *bars = new QBarSeries;
    bars->append({ run, registered, noted });
    chart->addSeries(bars);
    chart->addSeries(km);
    chart->addSeries(fees);

    auto *axisYears = new QBarCategoryAxis;
    axisYears->append(categories);
    axisYears->setTitleText(QStringLiteral("Jahr"));
    chart->addAxis(axisYears, Qt::AlignBottom);
    bars->attachAxis(axisYears);
    km->attachAxis(axisYears);
    fees->attachAxis(axisYears);

    auto *axisCount = new QValueAxis;
    axisCount->setTitleText(QStringLiteral("Anzahl Läufe"));
    roundUp(axisCount, most, 6);
    chart->addAxis(axisCount, Qt::AlignLeft);
    bars->attachAxis(axisCount);

    auto *axisKm = new QValueAxis;
    axisKm->setTitleText(QStringLiteral("Kilometer"));
    roundUp(axisKm, mostKm, 6);
    chart->addAxis(axisKm, Qt::AlignRight);
    km->attachAxis(axisKm);

    auto *axisEuro = new QValueAxis;
    axisEuro->setTitleText(QStringLiteral("Euro"));
    roundUp(axisEuro, mostEuro, 6);
    chart->addAxis(axisEuro, Qt::AlignRight);
    fees->attachAxis(axisEuro);
    return chart;
}

QChart *timeChart(const Progression &progression)
{
    QChart *chart = newChart(QStringLiteral("Zeitentwicklung: %1").arg(progression.distance));
    auto *times = new QLineSeries;
    times->setName(QStringLiteral("Zielzeit"));
    times->setPointsVisible(true);
    int low = 0;
    int high = 0;
    // Handed over at once: a point appended alone costs a signal and a copy each.
    QList<QPointF> points;
    points.reserve(qsizetype(progression.points.size()));
    for (const TimePoint &p : progression.points) {
        points.append({ dayValue(p.date), p.ms / 1000.0 });
        low = (low == 0) ? p.ms : std::min(low, p.ms);
        high = std::max(high, p.ms);
    }
    times->replace(points);
    chart->addSeries(times);

    auto *best = new QScatterSeries;
    best->setMarkerSize(14);
    best->setColor(QColor(220, 0, 0));
    if (progression.best >= 0) {
        const TimePoint &b = progression.points[size_t(progression.best)];
        best->setName(
            QStringLiteral("Bestzeit %1 am %2")
                .arg(formatFinishTime(b.ms), b.date.toString(QStringLiteral("dd.MM.yyyy"))));
        best->append(dayValue(b.date), b.ms / 1000.0);
    }
    chart->addSeries(best);

    auto *axisDate = new QDateTimeAxis;
    axisDate->setFormat(QStringLiteral("dd.MM.yyyy"));
    axisDate->setTitleText(QStringLiteral("Datum"));
    axisDate->setTickCount(6);
    if (!progression.points.empty()) {
        // A single race or races on one day still need a span to draw.
        const QDate first = progression.points.front().date;
        const QDate last = progression.points.back().date;
        const qint64 margin = std::max<qint64>(15, first.daysTo(last) / 30);
        axisDate->setRange(QDateTime(first.addDays(-margin), QTime(12, 0)),
                           QDateTime(last.addDays(margin), QTime(12, 0)));
    }
    chart->addAxis(axisDate, Qt::AlignBottom);
    times->attachAxis(axisDate);
    best->attachAxis(axisDate);

    // A value axis would print seconds; categories put "h:mm:ss" at round times.
    auto *axisTime = new QCategoryAxis;
    axisTime->setTitleText(QStringLiteral("Zielzeit (h:mm:ss)"));
    axisTime->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    // A little room above and below, so that no point lies on the frame.
    const int room = std::max(30000, (high - low) / 20);
    const std::vector<int> ticks = timeTicks(std::max(0, low - room), high + room);
    // The first label sits at the end of a category, so that category must be all but empty.
    axisTime->setStartValue(ticks.front() - 0.5);
    for (const int t : ticks)
        axisTime->append(formatFinishTime(t * 1000), t);
    axisTime->setRange(ticks.front(), ticks.back());
    chart->addAxis(axisTime, Qt::AlignLeft);
    times->attachAxis(axisTime);
    best->attachAxis(axisTime);
    return chart;
}

} // namespace StatisticsCharts
