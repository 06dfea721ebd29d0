#pragma once

#include <QString>

#include <optional>
#include <string_view>

// Finish times are stored as the user typed them. These rules read the usual ways of writing
// one and refuse everything else, so that no best time rests on a guess:
// - groups joined by colons: "h:mm:ss" or "mm:ss" (the first group may exceed 59:
//   "125:30"); a trailing ",5" or ".5" is a fraction of a second;
// - groups joined by full stops need all three: "3.45.12" (a fraction after a comma);
// - a trailing unit names the first group: "3:45 h", "3.45 Std." are hours and minutes,
//   "45:30 min" minutes and seconds;
// - numbers with units, largest first: "3h 45min 12s", "3 Std. 45 Min.", "45'30''",
//   "3h45" (a number without unit after the last one counts in the next smaller unit);
//   only the last number may have a fraction ("3,5 h").
// A later group must be below 60. A bare number ("225"), a zero time and anything else is
// not read.
std::optional<int> parseFinishTime(const QString &text); // milliseconds
// The same from the stored bytes.
std::optional<int> parseFinishTime(std::string_view utf8);

// "h:mm:ss", with the fraction of a second after a comma when there is one.
QString formatFinishTime(int milliseconds);
