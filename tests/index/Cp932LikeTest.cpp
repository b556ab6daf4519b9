#include "index/Cp932Like.h"
#include "core/Cp932.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

struct LikeCase {
    const char* pattern;
    const char* text;
    bool matches;
};

class Cp932LikeTest : public ::testing::TestWithParam<LikeCase> {};

TEST_P(Cp932LikeTest, MatchesWholeCharacters) {
    const LikeCase& c = GetParam();
    EXPECT_EQ(cp932Like(toCp932(QString::fromUtf8(c.pattern)), toCp932(QString::fromUtf8(c.text))),
              c.matches)
        << c.pattern << " LIKE " << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Cp932LikeTest,
    ::testing::Values(LikeCase{"%ヤマダ%", "ヤマダ タロウ", true},
                      LikeCase{"%タロウ", "ヤマダ タロウ", true},
                      LikeCase{"%abc%", "xABCx", true},      // single-byte letters fold
                      LikeCase{"%ａｂｃ%", "ＡＢＣ", false}, // full-width letters do not
                      LikeCase{"%ア%", "ヂ", false}, // 83 41 against 83 61: trail bytes never fold
                      LikeCase{"%ダ%", "ア", false}, // 83 5F: a trail byte "_" is no wildcard
                      LikeCase{"%ダ%", "ヤマダ", true},
                      LikeCase{"%ソ%", "ソ", true}, // 83 5C: a trail byte "\" is plain
                      LikeCase{"%A%", "ア", false}, // never matches inside a character
                      LikeCase{"%@%", "ァ", false}, // 83 40
                      LikeCase{"%_%", "", false}, LikeCase{"_", "あ", true},
                      LikeCase{"__", "あ", false}, LikeCase{"%1_3%", "0123", true},
                      LikeCase{"%", "", true}, LikeCase{"", "", true}, LikeCase{"", "a", false},
                      LikeCase{"%a%b%c%", "aXbYc", true}, LikeCase{"%a%b%c%", "aXcYb", false},
                      LikeCase{"%%%", "x", true}, LikeCase{"%'%", "O'Neil", true},
                      LikeCase{"%\"%", "a\"b", true},
                      LikeCase{"%ﾀｱ%", "ﾀｱ", true})); // half-width kana C0 B1: no UTF-8 sequence

TEST(Cp932Like, ALoneLeadByteAtTheEndIsOneCharacter) {
    EXPECT_TRUE(cp932Like(QByteArray("%\x83"), QByteArray("a\x83")));
    EXPECT_FALSE(cp932Like(QByteArray("%\x83"), QByteArray("\x83\x41")));
}

// A plainly recursive matcher over whole characters, to hold the backtracking one against.
std::vector<QByteArray> units(const QByteArray& s) {
    std::vector<QByteArray> out;
    for (int i = 0; i < s.size();) {
        const int n = isCp932LeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
        out.push_back(s.mid(i, n));
        i += n;
    }
    return out;
}

bool referenceLike(const std::vector<QByteArray>& p, size_t i, const std::vector<QByteArray>& t,
                   size_t j) {
    if (i == p.size())
        return j == t.size();
    if (p[i] == "%")
        return referenceLike(p, i + 1, t, j) || (j < t.size() && referenceLike(p, i, t, j + 1));
    if (j == t.size())
        return false;
    const bool same =
        p[i] == "_" || (p[i].size() == 1 && p[i].toUpper() == t[j].toUpper()) || p[i] == t[j];
    return same && referenceLike(p, i + 1, t, j + 1);
}

TEST(Cp932Like, AgreesWithAPlainRecursiveMatcher) {
    // Few distinct bytes, so that matches, near misses and trail bytes that look like
    // wildcards or letters all turn up often.
    const char alphabet[] = {'%', '_', 'a', 'A', 'b', '\x83', '\x41', '\x61', '\x5F', '\xE0'};
    std::mt19937 random(932);
    auto make = [&](int maxLength) {
        QByteArray s;
        const int length = int(random() % unsigned(maxLength + 1));
        for (int i = 0; i < length; ++i)
            s += alphabet[random() % sizeof alphabet];
        return s;
    };
    for (int n = 0; n < 20000; ++n) {
        const QByteArray pattern = make(6);
        QByteArray text = make(8);
        text.replace('%', 'b');
        const bool expected = referenceLike(units(pattern), 0, units(text), 0);
        ASSERT_EQ(cp932Like(pattern, text), expected)
            << pattern.toHex().constData() << " LIKE " << text.toHex().constData();
    }
}

} // namespace
