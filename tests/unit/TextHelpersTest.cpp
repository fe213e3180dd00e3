// ASCII letter case and text replacement.

#include <gtest/gtest.h>

#include "text/AsciiCase.h"
#include "text/ReplaceAll.h"

namespace vantorel::text {
namespace {

TEST(AsciiCase, OnlyTheLettersAToZChangeCase) {
    EXPECT_EQ(AsciiLower("Vantorel.INI"), "vantorel.ini");
    EXPECT_EQ(AsciiLower("@[`{"), "@[`{");  // the neighbours of A-Z and a-z
    // Bytes of CP932 and UTF-8 characters stay as they are, whatever the locale.
    EXPECT_EQ(AsciiLower("\x82\x60\xC3\x89"), "\x82\x60\xC3\x89");
    EXPECT_EQ(AsciiLower('Z'), 'z');
    EXPECT_EQ(AsciiLower('\xC9'), '\xC9');
}

TEST(AsciiCase, EqualityIgnoresLetterCaseButNotLength) {
    EXPECT_TRUE(EqualsIgnoringAsciiCase("USERINFO", "UserInfo"));
    EXPECT_TRUE(EqualsIgnoringAsciiCase("", ""));
    EXPECT_FALSE(EqualsIgnoringAsciiCase("open", "opened"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase("open", "opem"));
    // A byte above 0x7F never matches a letter: 0xC9 is 'É' in Latin-1.
    EXPECT_FALSE(EqualsIgnoringAsciiCase("\xC9", "\xE9"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase("[", "{"));
}

TEST(ReplaceAll, EveryOccurrenceIsReplacedAndReplacementsAreNotSearchedAgain) {
    std::string text = "a\tFrom:b\tFrom:c";
    ReplaceAll(text, "\tFrom:", " \tFrom:");
    EXPECT_EQ(text, "a \tFrom:b \tFrom:c");

    text = "aaa";
    ReplaceAll(text, "a", "aa");
    EXPECT_EQ(text, "aaaaaa");

    text = "case Case";
    ReplaceAll(text, "Case", "");
    EXPECT_EQ(text, "case ");

    text = "unchanged";
    ReplaceAll(text, "", "x");
    EXPECT_EQ(text, "unchanged");
}

}  // namespace
}  // namespace vantorel::text
