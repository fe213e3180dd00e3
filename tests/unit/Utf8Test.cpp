// UTF-8 checks and repair: settings values, window titles and a token
// command's messages all pass through them.

#include "text/Utf8.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace vantorel::text {
namespace {

constexpr std::string_view kFffd = kReplacementCharacter;

TEST(Utf8CharacterLength, AcceptsOnlyWellFormedCharactersAtTheirEdges) {
    EXPECT_EQ(Utf8CharacterLength("a"), 1u);
    EXPECT_EQ(Utf8CharacterLength("\xC2\x80"), 2u);          // U+0080, the first two-byte one
    EXPECT_EQ(Utf8CharacterLength("\xE0\xA0\x80"), 3u);      // U+0800
    EXPECT_EQ(Utf8CharacterLength("\xF0\x90\x80\x80"), 4u);  // U+10000
    EXPECT_EQ(Utf8CharacterLength("\xF4\x8F\xBF\xBF"), 4u);  // U+10FFFF
    EXPECT_EQ(Utf8CharacterLength("日本"), 3u);              // only the first character

    EXPECT_EQ(Utf8CharacterLength(""), 0u);
    EXPECT_EQ(Utf8CharacterLength("\x80"), 0u);              // stray continuation byte
    EXPECT_EQ(Utf8CharacterLength("\xC1\xBF"), 0u);          // overlong U+007F
    EXPECT_EQ(Utf8CharacterLength("\xE0\x9F\xBF"), 0u);      // overlong U+07FF
    EXPECT_EQ(Utf8CharacterLength("\xF0\x8F\xBF\xBF"), 0u);  // overlong U+FFFF
    EXPECT_EQ(Utf8CharacterLength("\xED\xA0\x80"), 0u);      // surrogate U+D800
    EXPECT_EQ(Utf8CharacterLength("\xED\xBF\xBF"), 0u);      // surrogate U+DFFF
    EXPECT_EQ(Utf8CharacterLength("\xF4\x90\x80\x80"), 0u);  // past U+10FFFF
    EXPECT_EQ(Utf8CharacterLength("\xF8\x88\x80\x80\x80"), 0u);
    EXPECT_EQ(Utf8CharacterLength("\xE6\x97"), 0u);   // cut off
    EXPECT_EQ(Utf8CharacterLength("\xE6\x97x"), 0u);  // a continuation byte missing
}

TEST(DecodeUtf8At, MovesPastACharacterOnlyWhenItIsOne) {
    const std::string_view text = "a\xC3\xA9\xFF\xF0\x9F\x93\xA7";  // a é (bad byte) 📧
    std::size_t pos = 0;
    EXPECT_EQ(DecodeUtf8At(text, pos), U'a');
    EXPECT_EQ(pos, 1u);
    EXPECT_EQ(DecodeUtf8At(text, pos), U'\u00E9');
    EXPECT_EQ(pos, 3u);
    EXPECT_EQ(DecodeUtf8At(text, pos), std::nullopt);
    EXPECT_EQ(pos, 3u);
    pos = 4;
    EXPECT_EQ(DecodeUtf8At(text, pos), U'\U0001F4E7');
    EXPECT_EQ(pos, text.size());
    EXPECT_EQ(DecodeUtf8At(text, pos), std::nullopt);  // at the end
}

TEST(AppendUtf8, EveryCodePointReadsBackAsItself) {
    for (char32_t codePoint = 0; codePoint <= 0x10FFFF; ++codePoint) {
        if (codePoint >= 0xD800 && codePoint <= 0xDFFF) {
            continue;
        }
        std::string encoded;
        AppendUtf8(encoded, codePoint);
        std::size_t pos = 0;
        const std::optional<char32_t> decoded = DecodeUtf8At(encoded, pos);
        if (decoded != codePoint || pos != encoded.size()) {
            FAIL() << "U+" << std::hex << static_cast<std::uint32_t>(codePoint);
        }
    }
    std::string text = "x";
    AppendUtf8(text, 0x65E5);
    EXPECT_EQ(text, "x日");
}

TEST(SanitizeUtf8, EachBadByteBecomesOneReplacementCharacter) {
    EXPECT_EQ(SanitizeUtf8("件名: 日本語"), "件名: 日本語");
    EXPECT_EQ(SanitizeUtf8(""), "");
    EXPECT_EQ(SanitizeUtf8("a\xFF"
                           "b"),
              "a" + std::string(kFffd) + "b");
    const std::string two = std::string(kFffd) + std::string(kFffd);
    EXPECT_EQ(SanitizeUtf8("\xE6\x97"), two);                           // cut sequence
    EXPECT_EQ(SanitizeUtf8("\xC0\xAF"), two);                           // overlong '/'
    EXPECT_EQ(SanitizeUtf8("\xED\xA0\x80"), two + std::string(kFffd));  // surrogate
    EXPECT_EQ(SanitizeUtf8("\xF4\x90\x80\x80").find(kFffd), 0u);        // above U+10FFFF
    EXPECT_EQ(SanitizeUtf8("\xF0\x9F\x93\xA7"), "\xF0\x9F\x93\xA7");    // four bytes, valid
    // A cut sequence does not swallow the character after it.
    EXPECT_EQ(SanitizeUtf8("\xE6\x97日"), two + "日");
}

TEST(IsValidUtf8, RefusesAnyTextWithABadSequence) {
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("トークン"));
    EXPECT_FALSE(IsValidUtf8("\x83g\x81[\x83N\x83\x93"));  // トークン in CP932
    EXPECT_FALSE(IsValidUtf8("ok\xED\xA0\x80"));
    EXPECT_FALSE(IsValidUtf8("cut\xE3\x81"));
    EXPECT_TRUE(IsValidUtf8(SanitizeUtf8("\xFF\xFE mixed 日本\xE6")));
}

TEST(HasReplacementCharacter, FindsTheMarkOfUnreadableBytes) {
    EXPECT_FALSE(HasReplacementCharacter("日本語"));
    EXPECT_TRUE(HasReplacementCharacter(SanitizeUtf8("a\xFF")));
    EXPECT_FALSE(HasReplacementCharacter("\xEF\xBF"));  // only part of it
}

TEST(CutAtCharacter, NeverEndsInsideACharacter) {
    const std::string_view text = "ab日本";  // 2 + 3 + 3 bytes
    EXPECT_EQ(CutAtCharacter(text, 8), text);
    EXPECT_EQ(CutAtCharacter(text, 100), text);
    EXPECT_EQ(CutAtCharacter(text, 7), "ab日");
    EXPECT_EQ(CutAtCharacter(text, 5), "ab日");
    EXPECT_EQ(CutAtCharacter(text, 4), "ab");
    EXPECT_EQ(CutAtCharacter(text, 2), "ab");
    EXPECT_EQ(CutAtCharacter(text, 0), "");
    EXPECT_EQ(CutAtCharacter("日", 2), "");
}

}  // namespace
}  // namespace vantorel::text
