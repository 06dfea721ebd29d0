#pragma once

#include <string_view>

// German comparison by ICU's collation for "de", case ignored (secondary strength): "mü" equals
// "MÜ" but not "mu", umlauts sort beside their base letter, accented letters beside theirs
// ("Évian" among the E), ß right after ss. Texts are UTF-8.
int compareGerman(std::string_view a, std::string_view b);
