#include "index/Cp932Like.h"
#include "core/Cp932.h"

#include <gtest/gtest.h>

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

} // namespace
