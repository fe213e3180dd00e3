#include "platform/posix/IconvCodec.h"

#include <gtest/gtest.h>

namespace vantorel::posix {
namespace {

TEST(IconvCodec, JapaneseAndTheNecAndIbmExtensionsRoundTrip) {
    IconvCodec codec;
    // 新着 (JIS X 0208), ｱ (half-width kana), ① and ㈱ (NEC row 13), 髙 (IBM extension).
    const std::string text =
        "a\\~ \xE6\x96\xB0\xE7\x9D\x80\xEF\xBD\xB1\xE2\x91\xA0\xE3\x88\xB1\xE9\xAB\x99";
    const std::optional<std::string> bytes = codec.utf8ToCp932(text);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, "a\\~ \x90\x56\x92\x85\xB1\x87\x40\x87\x8A\xFB\xFC");
    EXPECT_EQ(codec.cp932ToUtf8(*bytes), text);
}

TEST(IconvCodec, RefusesWhatCp932CannotHoldExactlyInsteadOfSubstituting) {
    IconvCodec codec;
    EXPECT_FALSE(codec.utf8ToCp932("m\xC3\xBAsica.wav"));  // música.wav
    EXPECT_FALSE(codec.utf8ToCp932("Jos\xC3\xA9"));        // José
    EXPECT_FALSE(
        codec.utf8ToCp932("\xC2\xA5"
                          "100"));                       // ¥ would come back as "\"
    EXPECT_FALSE(codec.utf8ToCp932("\xE3\x80\x9C"));     // 〜 would come back as ～
    EXPECT_FALSE(codec.utf8ToCp932("broken \xE6\x96"));  // cut-off UTF-8
    EXPECT_FALSE(codec.utf8ToCp932("stray \x80 byte"));
    EXPECT_EQ(codec.utf8ToCp932(""), std::string());
}

TEST(IconvCodec, BytesThatAreNotCp932BecomeReplacementCharacters) {
    IconvCodec codec;
    const std::string fffd = "\xEF\xBF\xBD";
    EXPECT_EQ(codec.cp932ToUtf8("a\x80"
                                "b"),
              "a" + fffd + "b");
    EXPECT_EQ(codec.cp932ToUtf8("\xFF\xFF"), fffd + fffd);
    EXPECT_EQ(codec.cp932ToUtf8("end\x90"), "end" + fffd);  // lead byte without its second
    EXPECT_EQ(codec.cp932ToUtf8("\x81"
                                "\x20"
                                "x"),
              fffd + " x");
}

TEST(IconvCodec, ConvertsTextLargerThanItsWorkingBuffer) {
    IconvCodec codec;
    constexpr int kCharacters = 50000;
    std::string cp932;
    std::string utf8;
    for (int i = 0; i < kCharacters; ++i) {
        cp932 += "\x82\xA0";  // あ
        utf8 += "\xE3\x81\x82";
    }
    EXPECT_EQ(codec.cp932ToUtf8(cp932), utf8);
    EXPECT_EQ(codec.utf8ToCp932(utf8), cp932);
}

}  // namespace
}  // namespace vantorel::posix
