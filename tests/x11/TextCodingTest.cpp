// Text conversions between UTF-8 and the encodings X titles come in.

#include "platform/qt/x11/TextCoding.h"

#include <gtest/gtest.h>

namespace vantorel::x11 {
namespace {

TEST(TextCodingTest, Latin1AndUtf8ConvertBothWays) {
    EXPECT_EQ(Latin1ToUtf8("Caf\xE9 \xFF"), "Café ÿ");
    EXPECT_EQ(Utf8ToLatin1("Café ÿ"), std::optional<std::string>("Caf\xE9 \xFF"));
    EXPECT_EQ(Utf8ToLatin1(""), std::optional<std::string>(""));
}

TEST(TextCodingTest, TextBeyondLatin1OrBrokenHasNoLatin1Form) {
    EXPECT_FALSE(Utf8ToLatin1("受信 mail"));
    EXPECT_FALSE(Utf8ToLatin1("€"));
    EXPECT_FALSE(Utf8ToLatin1("Caf\xE9"));  // Latin-1 bytes are not UTF-8
}

TEST(TextCodingTest, CompoundTextWithoutConvertersKeepsItsLatin1Parts) {
    // ESC - A designates Latin-1's right half; ESC $ ( B designates JIS X 0208.
    EXPECT_EQ(CompoundTextAsLatin1("Caf\x1B-A\xE9"), "Café");
    EXPECT_EQ(CompoundTextAsLatin1("a\x1B$(B"), "a");
    EXPECT_EQ(CompoundTextAsLatin1("x\x9B"
                                   "1]y"),
              "xy");                                       // a direction sequence
    EXPECT_EQ(CompoundTextAsLatin1("tail\x1B$"), "tail");  // cut escape
}

}  // namespace
}  // namespace vantorel::x11
