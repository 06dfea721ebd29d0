#pragma once

#include <string>
#include <string_view>

// German comparison by ICU's collation for "de", case ignored (secondary strength): "mü" equals
// "MÜ" but not "mu", umlauts sort beside their base letter, accented letters beside theirs
// ("Évian" among the E), ß right after ss. Texts are UTF-8.
int compareGerman(std::string_view a, std::string_view b);

// The ICU sort key of a text for the same comparison: comparing two keys bytewise (memcmp)
// gives the order of compareGerman. Computed once per row, it lets a long list sort at byte
// speed. The key never contains a zero byte.
std::string germanSortKey(std::string_view text);
