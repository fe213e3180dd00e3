// The Windows CP932 codec: what it accepts, what it refuses so that nothing
// is stored as "?", and how it reads bytes that are not CP932.

#include <gtest/gtest.h>

#include "platform/win32/Cp932Codec.h"

namespace vantorel::win32 {
namespace {

TEST(Cp932Codec, JapaneseTextRoundTripsThroughShiftJis) {
    Cp932Codec codec;
    const std::string text = "件名:ﾊﾞｰｼﾞｮﾝ ① 髙 ～ Date:";
    const auto bytes = codec.utf8ToCp932(text);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(bytes->substr(0, 4), "\x8c\x8f\x96\xbc");  // 件名
    EXPECT_EQ(codec.cp932ToUtf8(*bytes), text);
    EXPECT_EQ(codec.utf8ToCp932(""), std::string());
}

TEST(Cp932Codec, RefusesWhatWouldNotReadBackAsWritten) {
    Cp932Codec codec;
    EXPECT_FALSE(codec.utf8ToCp932("música").has_value());    // no ú in CP932
    EXPECT_FALSE(codec.utf8ToCp932("\xc2\xa5").has_value());  // ¥ only "best fits" to a backslash
    EXPECT_FALSE(codec.utf8ToCp932("😀").has_value());
    EXPECT_FALSE(codec.utf8ToCp932("\xff\xfe broken").has_value());
}

TEST(Cp932Codec, BytesThatAreNotCp932ReadAsReplacementCharacters) {
    Cp932Codec codec;
    // A lead byte at the end, and a lead byte followed by a byte that
    // cannot follow it: only the bad bytes are lost.
    EXPECT_EQ(codec.cp932ToUtf8("ab\x82"), "ab\xef\xbf\xbd");
    EXPECT_EQ(codec.cp932ToUtf8("\x82\x0a"
                                "c"),
              "\xef\xbf\xbd\nc");
    EXPECT_EQ(codec.cp932ToUtf8("\x82\xa0"), "あ");
    // Bytes the system's table passes through without a character of 932.
    EXPECT_EQ(codec.cp932ToUtf8("x\x80\xa0\xfdy"), "x\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbdy");
    EXPECT_FALSE(codec.utf8ToCp932("\xc2\x80").has_value());
}

}  // namespace
}  // namespace vantorel::win32
