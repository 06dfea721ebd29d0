// SPDX-License-Identifier: GPL-3.0-or-later
// A German prefix search narrowed to the first bytes a match can begin with must lose no match:
// every name whose first characters equal the text by ICU must begin with an allowed byte.
#include "data/GermanCollation.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <string>

namespace {

// left() of the statements: the first n characters of a UTF-8 text.
std::string leftChars(const std::string &text, int n)
{
    size_t end = 0;
    for (int chars = 0; end < text.size() && chars < n; ++chars) {
        ++end;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            ++end;
    }
    return text.substr(0, end);
}

std::string utf8(const QString &s)
{
    return s.toStdString();
}

// Characters that take part in names or make trouble for a naive reading of the German order:
// umlauts, ß, accents, combining marks, ignorable and control characters, fullwidth and other
// compatibility forms, the Catalan middle dot that joins with l, other scripts.
const QStringList &tricky()
{
    static const QStringList chars = {
        u"ä"_qs,      u"Ä"_qs,      u"ö"_qs,      u"Ü"_qs,      u"ß"_qs,      u"ẞ"_qs,
        u"é"_qs,      u"Ê"_qs,      u"ç"_qs,      u"ñ"_qs,      u"ø"_qs,      u"æ"_qs,
        u"\u0301"_qs, u"\u0308"_qs, u"\u00B7"_qs, u"\u0387"_qs, u"\u00AD"_qs, u"\u200B"_qs,
        u"\u200D"_qs, u"\uFEFF"_qs, u"\u0001"_qs, u"\u007F"_qs, u"\u0085"_qs, u"Ｂ"_qs,
        u"ｂ"_qs,     u"Ａ"_qs,     u"ｓ"_qs,     u"ⓑ"_qs,      u"ᵇ"_qs,      u"𝐁"_qs,
        u"ŀ"_qs,      u"Ŀ"_qs,      u"ǆ"_qs,      u"ﬀ"_qs,      u"ﬆ"_qs,      u"Ⅻ"_qs,
        u"½"_qs,      u"²"_qs,      u"Б"_qs,      u"б"_qs,      u"α"_qs,      u"中"_qs,
        u"\uFFFD"_qs, u"😀"_qs,      u"　"_qs,     u"\u00A0"_qs, u"'"_qs,      u"’"_qs,
    };
    return chars;
}

// Names of up to three characters: every ASCII character or a tricky one first, then pairs of
// ASCII letters and tricky characters.
std::vector<std::string> names()
{
    QStringList seconds = tricky();
    for (const char *s : { "a", "B", "s", "S", "l", "L", "e", " ", "0", "'" })
        seconds << QString::fromLatin1(s);
    QStringList firsts = tricky();
    for (int c = 0; c < 128; ++c)
        firsts << QString(QChar(c));
    std::vector<std::string> out = { "" };
    for (const QString &a : firsts) {
        out.push_back(utf8(a));
        for (const QString &b : seconds) {
            out.push_back(utf8(a + b));
            for (const QString &c : { u"s"_qs, u"\u0308"_qs, u"ß"_qs, u"d"_qs })
                out.push_back(utf8(a + b + c));
        }
    }
    return out;
}

} // namespace

TEST(GermanLeadBytes, EveryNameThatBeginsWithTheTextBeginsWithAnAllowedByte)
{
    QStringList texts = tricky();
    for (int c = 1; c < 128; ++c)
        texts << QString(QChar(c));
    texts << u"Bad"_qs << u"bad"_qs << u"ss"_qs << u"SS"_qs << u"sß"_qs << u"Über"_qs << u"ue"_qs
          << u"L·"_qs << u"l\u0387"_qs << u"\u0001B"_qs << u"\u00ADb"_qs << u"\u200B"_qs
          << u"B\u0301"_qs << u"a\u0308"_qs << u"ＢＡＤ"_qs << u"'s"_qs << u"Ött"_qs << u"é"_qs
          << u"e\u0301"_qs << u"ǆ"_qs << u"dž"_qs << u"ﬀ"_qs << u"ff"_qs << u"12"_qs;
    const std::vector<std::string> all = names();
    int matches = 0;
    for (const QString &text : texts) {
        const std::string t = utf8(text);
        const auto lead = germanLeadBytes(t);
        const int n = int(text.toUcs4().size());
        for (const std::string &name : all) {
            if (name.empty() || compareGerman(leftChars(name, n), t) != 0)
                continue;
            ++matches;
            EXPECT_TRUE(lead[static_cast<unsigned char>(name[0])])
                << "text \"" << t << "\" matches \"" << name << "\"";
        }
    }
    EXPECT_GT(matches, 1000); // the corpus does exercise the comparison
}

TEST(GermanLeadBytes, PlainLettersNarrowToTheirOwnCasesAndNamesBeyondAscii)
{
    const auto lead = germanLeadBytes("Bad");
    EXPECT_TRUE(lead['B'] && lead['b']);
    // "L·" joins into one unit of its own, beginning like L: not a B.
    EXPECT_FALSE(lead['A'] || lead['c'] || lead['S'] || lead['l'] || lead[' ']);
    EXPECT_TRUE(lead[0x01] && lead[0x7F] && lead[0xC3] && lead[0xEF]); // ignorable, Ü, Ｂ
    // A text with no weight before it ends (only ignorable characters) is matched by no letter.
    EXPECT_FALSE(germanLeadBytes("\xC2\xAD")['a']);
    EXPECT_TRUE(germanLeadBytes("").all());
    EXPECT_TRUE(germanLeadBytes("\xC3(").all()); // damaged UTF-8: not narrowed
}
