#pragma once

#include <QString>

#include <optional>

// A race's distance as the statistics group it: "Marathon", "Halb-Marathon", or the free
// text, so that "10 km", "10km" and "10 KM" are one distance.
struct Distance
{
    QString key; // equal for texts that mean the same distance; empty when none is given
    QString label; // how the distance is shown
    std::optional<double> km; // when the distance can be read
};

// "Marathon" and "Halb-Marathon" in any case and spacing; a text that is only a length
// ("10 km", "10000m", "0,8 km") becomes the length in the program's spelling; any other text
// is compared without regard to case and spacing, and its length is read when it names
// exactly one number with "km" or "m" ("Ultra 70 km").
Distance readDistance(const QString &text);

// "42,195 km", "10 km", "800 m"
QString formatKilometres(double km);
