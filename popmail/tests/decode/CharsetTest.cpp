// CharsetToUtf8: the allow-list with its aliases, and the Japanese charsets
// read with the Windows extensions. The JIS codes are the published ones of
// JIS X 0208, NEC row 13 and the NEC-selected IBM rows 89-92.
#include <gtest/gtest.h>

#include <string>

#include "decode/Decode.h"

namespace popmail::decode {
namespace {

// CP932 "①㈱髙～".
constexpr std::string_view kCp932Sample = "\x87@\x87\x8A\xEE\xE0\x81`";
constexpr std::string_view kCp932SampleText = "①㈱髙～";

TEST(Charset, JapaneseAliasesInAnyLetterCase) {
    for (const char* name : {"Shift_JIS", "SHIFT-JIS", "sjis", "x-sjis", "MS_Kanji", "csShiftJIS",
                             "CP932", "Windows-31J", "ms932", "x-ms-cp932"}) {
        EXPECT_EQ(CharsetToUtf8(name, kCp932Sample), kCp932SampleText) << name;
    }
    for (const char* name : {"ISO-2022-JP", "csISO2022JP", "iso-2022-jp-ms", "CP50220"}) {
        EXPECT_EQ(CharsetToUtf8(name, "\x1B$B-!\x1B(B"), "①") << name;
    }
    for (const char* name : {"EUC-JP", "eucjp", "x-euc-jp", "eucJP-ms", "CP51932"}) {
        EXPECT_EQ(CharsetToUtf8(name, "\xAD\xA1"), "①") << name;
    }
}

TEST(Charset, NumberedFamilies) {
    EXPECT_EQ(CharsetToUtf8("iso8859-1", "\xE9"), "é");
    EXPECT_EQ(CharsetToUtf8("ISO_8859-15", "\xA4"), "€");
    EXPECT_EQ(CharsetToUtf8("latin1", "\xE9"), "é");
    EXPECT_EQ(CharsetToUtf8("cp1251", "\xCF"), "П");
    EXPECT_EQ(CharsetToUtf8("WINDOWS-1250", "\x8A"), "Š");
    EXPECT_EQ(CharsetToUtf8("koi8-r", "\xF0"), "П");
    EXPECT_EQ(CharsetToUtf8("US-ASCII", "plain"), "plain");
}

TEST(Charset, EverythingElseIsRefused) {
    for (const char* name :
         {"x-evil", "UTF-7", "utf-16", "ISO-2022-JP-2", "iso-8859-12", "iso-8859-16", "iso-8859-0",
          "windows-1249", "windows-1259", "cp936", "GB2312", "", "*", "utf-8 ", "../../etc/passwd",
          "CP932//TRANSLIT", "EUC-JP-MS//IGNORE"}) {
        EXPECT_EQ(CharsetToUtf8(name, "abc"), std::nullopt) << name;
    }
    EXPECT_EQ(CharsetToUtf8(std::string(1000, 'a'), "abc"), std::nullopt);
    EXPECT_EQ(CharsetToUtf8(std::string_view("utf-8\0x", 7), "abc"), std::nullopt);
}

TEST(Charset, Iso2022JpModes) {
    // JIS-Roman is read as ASCII; ESC & @ only announces a revision.
    EXPECT_EQ(CharsetToUtf8("ISO-2022-JP", "\x1B(Ja\\b~"), "a\\b~");
    EXPECT_EQ(CharsetToUtf8("ISO-2022-JP", "\x1B&@\x1B$BF|\x1B(B"), "日");
    EXPECT_EQ(CharsetToUtf8("ISO-2022-JP", "\x1B$@F|\x1B(B"), "日");
    // Half-width katakana by designation and by shift-out / shift-in.
    EXPECT_EQ(CharsetToUtf8("ISO-2022-JP", "\x1B(I6E\x1B(BA"), "ｶﾅA");
    EXPECT_EQ(CharsetToUtf8("ISO-2022-JP",
                            "\x0E"
                            "6E\x0F"
                            "A"),
              "ｶﾅA");
    // The NEC-selected IBM extension 髙 (row 92) and NEC row 13.
    EXPECT_EQ(CharsetToUtf8("ISO-2022-JP", "\x1B$B|b-j-4\x1B(B"), "髙㈱⑳");
}

TEST(Charset, Iso2022JpDamageIsContained) {
    // JIS X 0212 is outside the repertoire: one U+FFFD per character.
    EXPECT_EQ(CharsetToUtf8("ISO-2022-JP", "\x1B$(D+!+\"\x1B(Bok"), "\uFFFD\uFFFDok");
    // A row that holds no characters.
    EXPECT_EQ(CharsetToUtf8("ISO-2022-JP", "\x1B$B)!F|\x1B(B"), "\uFFFD日");
    EXPECT_EQ(CharsetToUtf8("ISO-2022-JP", "\x1B$BF\x1B(B"), "\uFFFD");
    EXPECT_EQ(CharsetToUtf8("ISO-2022-JP",
                            "a\xE9"
                            "b\x1B"),
              "a\uFFFDb\uFFFD");
    // Never terminated: the text still counts.
    EXPECT_EQ(CharsetToUtf8("ISO-2022-JP", "\x1B$BF|K\\"), "日本");
}

TEST(Charset, EucJp) {
    EXPECT_EQ(CharsetToUtf8("EUC-JP", "\xC6\xFC\xCB\xDC\xFC\xE2\x8E\xB6!"), "日本髙ｶ!");
    // JIS X 0212 (three bytes after 0x8F) becomes one U+FFFD.
    EXPECT_EQ(CharsetToUtf8("EUC-JP", "\x8F\xB0\xA1x"), "\uFFFDx");
    EXPECT_EQ(CharsetToUtf8("EUC-JP", "\xC6x\x8E\xFF\xA1"), "\uFFFDx\uFFFD\uFFFD\uFFFD");
}

TEST(Charset, Cp932Details) {
    // IBM extension codes read like their NEC-selected twins.
    EXPECT_EQ(CharsetToUtf8("CP932", "\xFB\xFC\xEE\xE0"), "髙髙");
    // Single bytes Windows maps to private-use or C1 characters.
    EXPECT_EQ(CharsetToUtf8("CP932", "\x80\xA0\xFD\xFE\xFF"), "\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");
    // A lead byte without a trail byte keeps the byte after it.
    EXPECT_EQ(CharsetToUtf8("CP932", "\x93 a"), "\uFFFD a");
    // A well-formed but unassigned code does not take its neighbours along.
    EXPECT_EQ(CharsetToUtf8("CP932", "\x93\xFA\x85\x40\x96{"), "日\uFFFD本");
    // The user-defined area is private use.
    EXPECT_EQ(CharsetToUtf8("CP932", "\xF0\x40"), "\uE000");
}

}  // namespace
}  // namespace popmail::decode
