#pragma once

#include <bitset>
#include <string_view>

// German comparison by ICU's collation for "de", case ignored (secondary strength): "mü" equals
// "MÜ" but not "mu", umlauts sort beside their base letter, accented letters beside theirs
// ("Évian" among the E), ß right after ss. Texts are UTF-8.
int compareGerman(std::string_view a, std::string_view b);

// The bytes a text can begin with when it equals `text` the German way (empty texts and those
// that begin with anything but plain ASCII are always allowed for): a name whose first byte is
// none of them never begins with `text`. Every byte when that cannot be told for sure.
std::bitset<256> germanLeadBytes(std::string_view text);
