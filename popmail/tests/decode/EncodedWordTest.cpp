// DecodeHeaderValue: RFC 2047 encoded words, raw 8-bit text and the clean-up
// that keeps a value on one line. Encoded texts were produced by an
// independent encoder (Python's codecs) from the strings in the comments.
#include <gtest/gtest.h>

#include "decode/Decode.h"

namespace popmail::decode {
namespace {

TEST(EncodedWord, Iso2022JpWithNecAndIbmCharacters) {
    // "①㈱髙橋の件": NEC row 13 and an NEC-selected IBM extension.
    EXPECT_EQ(DecodeHeaderValue("=?ISO-2022-JP?B?GyRCLSEtanxiNjYkTjdvGyhC?="), "①㈱髙橋の件");
    EXPECT_EQ(DecodeHeaderValue("=?iso-2022-jp?b?GyRCLSEtanxiNjYkTjdvGyhC?="), "①㈱髙橋の件");
    // "①Ⅹ㈱㍻髙﨑"
    EXPECT_EQ(DecodeHeaderValue("=?ISO-2022-JP?B?GyRCLSEtPi1qLV98Ynl1GyhC?="), "①Ⅹ㈱㍻髙﨑");
    // "日本語①ｶﾅ": half-width katakana through ESC ( I.
    EXPECT_EQ(DecodeHeaderValue("=?ISO-2022-JP?B?GyRCRnxLXDhsLSEbKEk2RRsoQg==?="), "日本語①ｶﾅ");
}

TEST(EncodedWord, ShiftJisLabelReadAsCp932) {
    // CP932 "①㈱髙～": 0x8160 is U+FF5E in CP932, where strict Shift_JIS
    // would give U+301C.
    const std::string expected = "①㈱髙～";
    EXPECT_EQ(DecodeHeaderValue("=?Shift_JIS?B?h0CHiu7ggWA=?="), expected);
    EXPECT_EQ(DecodeHeaderValue("=?x-sjis?B?h0CHiu7ggWA=?="), expected);
    EXPECT_EQ(DecodeHeaderValue("=?windows-31j?B?h0CHiu7ggWA=?="), expected);
    EXPECT_EQ(DecodeHeaderValue("=?CP932?Q?=87@=87=8A=EE=E0=81`?="), expected);
}

TEST(EncodedWord, EucJpWithExtensions) {
    EXPECT_EQ(DecodeHeaderValue("=?EUC-JP?B?raGt6vzitrakzrfv?="), "①㈱髙橋の件");
    EXPECT_EQ(DecodeHeaderValue("=?euc-jp?B?xvzL3LjsraGOto7F?="), "日本語①ｶﾅ");
}

TEST(EncodedWord, Utf8QAndB) {
    EXPECT_EQ(DecodeHeaderValue("=?UTF-8?Q?caf=C3=A9_au_lait?="), "café au lait");
    EXPECT_EQ(DecodeHeaderValue("=?utf-8?q?caf=c3=a9?="), "café");
    EXPECT_EQ(DecodeHeaderValue("=?utf-8?b?5pel5pys6Kqe?="), "日本語");
    EXPECT_EQ(DecodeHeaderValue("=?UTF-8?B?5pel5pys?="), "日本");
    EXPECT_EQ(DecodeHeaderValue("=?UTF-8?B?5pel5pys6Kqe?="), "日本語");
    EXPECT_EQ(DecodeHeaderValue("=?UTF-8?B?\?="), "");
}

TEST(EncodedWord, Utf8BWithoutPaddingStillDecodes) {
    EXPECT_EQ(DecodeHeaderValue("=?UTF-8?B?4oKs?="), "€");
    EXPECT_EQ(DecodeHeaderValue("=?UTF-8?B?w6k?="), "é");  // "w6k=" without its "="
}

TEST(EncodedWord, CharacterSplitAcrossWordsIsJoined) {
    // UTF-8 "日本" cut inside its first character.
    EXPECT_EQ(DecodeHeaderValue("=?UTF-8?B?5pc=?= =?UTF-8?B?peacrA==?="), "日本");
    // ISO-2022-JP "日本": the second word starts in the middle of "本" and
    // without an escape sequence of its own.
    EXPECT_EQ(DecodeHeaderValue("=?ISO-2022-JP?B?GyRCRnxL?=\r\n =?ISO-2022-JP?B?XBsoQg==?="),
              "日本");
    // CP932 "会議" with the lead byte of "議" ending the first word.
    EXPECT_EQ(DecodeHeaderValue("=?Shift_JIS?B?ie+L?= =?Shift_JIS?B?Yw==?="), "会議");
    // A word of another charset starts afresh: ISO-2022-JP left in its
    // double-byte mode does not swallow the next word's text.
    EXPECT_EQ(DecodeHeaderValue("=?ISO-2022-JP?B?GyRCRnw=?= =?UTF-8?Q?ab?="), "日ab");
    // Q and B words of one charset form one run too.
    EXPECT_EQ(DecodeHeaderValue("=?UTF-8?Q?=E6=97?= =?UTF-8?B?peacrA==?="), "日本");
}

TEST(EncodedWord, WhitespaceBetweenWordsIsDropped) {
    EXPECT_EQ(DecodeHeaderValue("=?UTF-8?Q?a?= =?UTF-8?Q?b?="), "ab");
    EXPECT_EQ(DecodeHeaderValue("=?UTF-8?Q?a?=\r\n\t =?UTF-8?Q?b?="), "ab");
    EXPECT_EQ(DecodeHeaderValue("=?ISO-8859-1?Q?caf=E9?=  =?UTF-8?Q?=E2=82=AC?="), "café€");
    // ... but not between a word and text, nor inside a word.
    EXPECT_EQ(DecodeHeaderValue("=?UTF-8?Q?a?= b =?UTF-8?Q?c?="), "a b c");
    EXPECT_EQ(DecodeHeaderValue("=?UTF-8?Q?a_?= =?UTF-8?Q?b?="), "a b");
    EXPECT_EQ(DecodeHeaderValue("Re:=?UTF-8?Q?a?=!"), "Re:a!");
}

TEST(EncodedWord, LanguageSuffixIsIgnored) {
    EXPECT_EQ(DecodeHeaderValue("=?ISO-2022-JP*ja?B?GyRCLSEtanxiNjYkTjdvGyhC?="), "①㈱髙橋の件");
    EXPECT_EQ(DecodeHeaderValue("=?UTF-8*en-US?Q?hi?="), "hi");
}

TEST(EncodedWord, CharsetOutsideTheAllowListStaysRaw) {
    EXPECT_EQ(DecodeHeaderValue("=?x-evil?B?aGk=?="), "=?x-evil?B?aGk=?=");
    EXPECT_EQ(DecodeHeaderValue("=?UTF-7?Q?+ZeVnLIqe-?="), "=?UTF-7?Q?+ZeVnLIqe-?=");
    EXPECT_EQ(DecodeHeaderValue("=?ISO-2022-JP-2?B?GyRCRnwbKEI=?="),
              "=?ISO-2022-JP-2?B?GyRCRnwbKEI=?=");
    // A raw word is text: the space before the next word stays.
    EXPECT_EQ(DecodeHeaderValue("=?x-evil?Q?a?= =?UTF-8?Q?b?="), "=?x-evil?Q?a?= b");
}

TEST(EncodedWord, MalformedWordsStayRaw) {
    for (const char* raw : {"=?UTF-8?B?a*b=?=", "=?UTF-8?B?abcde?=", "=?UTF-8?B?a===?=",
                            "=?UTF-8?Q?=ZZ?=", "=?UTF-8?Q?abc=?=", "=?UTF-8?X?abc?=",
                            "=?UTF-8?Q?abc", "=?\?Q?a?=", "=?UTF-8?Q?a b?=", "=?UTF-8?BB?abc?="}) {
        EXPECT_EQ(DecodeHeaderValue(raw), raw);
    }
    // A broken word does not hide a good one right after it.
    EXPECT_EQ(DecodeHeaderValue("=?=?UTF-8?Q?ok?="), "=?ok");
}

TEST(EncodedWord, InvalidBytesBecomeReplacementCharacters) {
    EXPECT_EQ(DecodeHeaderValue("=?UTF-8?Q?a=FFb=E6=97?="), "a\uFFFDb\uFFFD\uFFFD");
    EXPECT_EQ(DecodeHeaderValue("=?US-ASCII?Q?a=E9b?="), "a\uFFFDb");
    // A CP932 lead byte with nothing after it.
    EXPECT_EQ(DecodeHeaderValue("=?Shift_JIS?Q?a=89?="), "a\uFFFD");
    // ISO-2022-JP: an unknown escape and a half character.
    EXPECT_EQ(DecodeHeaderValue("=?ISO-2022-JP?Q?=1B=28Za=1B$BF?="), "\uFFFD(Za\uFFFD");
}

TEST(EncodedWord, SingleByteCharsets) {
    EXPECT_EQ(DecodeHeaderValue("=?ISO-8859-1?Q?caf=E9?="), "café");
    EXPECT_EQ(DecodeHeaderValue("=?ISO-8859-15?Q?=A4?="), "€");
    EXPECT_EQ(DecodeHeaderValue("=?ISO-8859-7?Q?=C5=EB=EB=DC=E4=E1?="), "Ελλάδα");
    EXPECT_EQ(DecodeHeaderValue("=?windows-1252?Q?=80?="), "€");
    EXPECT_EQ(DecodeHeaderValue("=?windows-1251?B?z/Do4uXy?="), "Привет");
    EXPECT_EQ(DecodeHeaderValue("=?KOI8-R?B?8NLJ18XU?="), "Привет");
    // The last letter must not wait for a combining mark that never comes.
    EXPECT_EQ(DecodeHeaderValue("=?windows-1258?Q?Vi=EAt?="), "Viêt");
    EXPECT_EQ(DecodeHeaderValue("=?windows-1255?Q?=F9=EC=E5=ED?="), "שלום");
    // Bytes a code page leaves unassigned.
    EXPECT_EQ(DecodeHeaderValue("=?windows-1252?Q?a=81b?="), "a\uFFFDb");
    EXPECT_EQ(DecodeHeaderValue("=?ISO-8859-3?Q?=A5?="), "\uFFFD");
}

TEST(EncodedWord, RawEightBitTextIsUtf8OrCp932) {
    EXPECT_EQ(DecodeHeaderValue("日本語のメール"), "日本語のメール");
    // CP932 "日本語①ｶﾅ" sent without any encoding.
    EXPECT_EQ(DecodeHeaderValue("\x93\xFA\x96{\x8C\xEA\x87@\xB6\xC5"), "日本語①ｶﾅ");
    // One value is read one way: here all of its raw text as CP932.
    EXPECT_EQ(DecodeHeaderValue("\x89\xEF\x8B"
                                "c =?UTF-8?Q?=C3=A9?= \x89\xEF\x8B"
                                "c"),
              "会議 é 会議");
    EXPECT_EQ(DecodeHeaderValue("\x80\xFD"), "\uFFFD\uFFFD");
}

TEST(EncodedWord, RawIso2022JpTextIsRead) {
    // Old Japanese mailers put ISO-2022-JP into headers without encoded words.
    EXPECT_EQ(DecodeHeaderValue("\x1B$B;3EDB@O:\x1B(B <taro@example.jp>"),
              "山田太郎 <taro@example.jp>");
    EXPECT_EQ(DecodeHeaderValue("Re: \x1B$BF|K\\\x1B(B =?UTF-8?Q?=C3=A9?="), "Re: 日本 é");
    // An escape that designates nothing Japanese is just a control.
    EXPECT_EQ(DecodeHeaderValue("a\x1B[1mb"), "a [1mb");
}

TEST(EncodedWord, ControlsBecomeOneSpaceEach) {
    EXPECT_EQ(DecodeHeaderValue("a\tb\x01"
                                "c\x7F"
                                "d"),
              "a b c d");
    EXPECT_EQ(DecodeHeaderValue("=?UTF-8?Q?a=0D=0Ab=09c=00d?="), "a  b c d");
    EXPECT_EQ(DecodeHeaderValue("=?UTF-8?Q?a=C2=85b?="), "a b");  // C1 NEL
    EXPECT_EQ(DecodeHeaderValue("=?ISO-8859-1?Q?a=85b?="), "a b");
    // ISO-2022-JP: CR LF inside the double-byte mode.
    EXPECT_EQ(DecodeHeaderValue("=?ISO-2022-JP?Q?=1B$BF|=0D=0AK\\=1B(B?="), "日  本");
}

TEST(EncodedWord, ValueIsUnfoldedAndTrimmed) {
    EXPECT_EQ(DecodeHeaderValue("  first\r\n second\n\tthird  "), "first second third");
    // A line break that is not folding is two controls.
    EXPECT_EQ(DecodeHeaderValue("a\r\nb"), "a  b");
    EXPECT_EQ(DecodeHeaderValue(" \t\r\n "), "");
}

}  // namespace
}  // namespace popmail::decode
