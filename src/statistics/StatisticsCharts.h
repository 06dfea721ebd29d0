#pragma once

#include "statistics/RaceStatistics.h"

#include <vector>

class QChart;

// The charts of the statistics window, built from the figures. Labels are German, dates
// "dd.mm.yyyy", times "h:mm:ss".
namespace StatisticsCharts {

// Bars for the races run, registered and noted per year; lines for the kilometres run and the
// entry fees paid.
QChart *yearChart(const std::vector<YearFigures> &years);

// The finish times at one distance over the dates; the best time as a marked point.
QChart *timeChart(const Progression &progression);

// Whole seconds at which the time axis gets a label: a step of 1, 2, 5, 10, 15 or 30 minutes
// or whole hours, so that about six labels cover the range [lowMs, highMs].
std::vector<int> timeTicks(int lowMs, int highMs);

} // namespace StatisticsCharts
