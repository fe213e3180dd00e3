// SummarizeHeaders: finding Subject, From and Date in a raw header block and
// joining them into the one line the program announces.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "decode/Decode.h"
#include "decode/Limits.h"

namespace popmail::decode {
namespace {

TEST(Summary, JapaneseMessage) {
    const std::string block =
        "Return-Path: <taro@example.jp>\r\n"
        "Subject: =?ISO-2022-JP?B?GyRCLSEtanxiNjYkTjdvGyhC?=\r\n"
        " =?ISO-2022-JP?B?GyRCMnE1RBsoQg==?=\r\n"
        "From: =?ISO-2022-JP?B?GyRCOzNFREJATzobKEI=?= <taro@example.jp>\r\n"
        "Date:   Mon, 1 Jan 2024 09:00:00 +0900  \r\n"
        "\r\n";
    EXPECT_EQ(SummarizeHeaders(block),
              "Subject:①㈱髙橋の件会議\tFrom:山田太郎 <taro@example.jp>\t"
              "Date:Mon, 1 Jan 2024 09:00:00 +0900");
}

TEST(Summary, FoldedFieldsAndBareLineFeeds) {
    EXPECT_EQ(SummarizeHeaders("Subject: first\n second\n\tthird\nFrom: a@b\nDate: d"),
              "Subject:first second third\tFrom:a@b\tDate:d");
    EXPECT_EQ(SummarizeHeaders("Subject: one\r\n\ttwo\r\nX-Other: x\r\n three\r\n"),
              "Subject:one two\tFrom:\tDate:");
}

TEST(Summary, NamesMatchWithoutCaseAndFirstFieldWins) {
    EXPECT_EQ(SummarizeHeaders("SUBJECT: a\r\nfrom: b\r\ndAtE: c\r\n"
                               "Subject: later\r\nFrom: later\r\nDate: later\r\n"),
              "Subject:a\tFrom:b\tDate:c");
    // Obsolete whitespace before the colon; look-alike names do not count.
    EXPECT_EQ(SummarizeHeaders("Subjects: no\r\nResent-From: no\r\nSubject : yes\r\n"),
              "Subject:yes\tFrom:\tDate:");
}

TEST(Summary, MissingFieldsAreEmpty) {
    EXPECT_EQ(SummarizeHeaders(""), "Subject:\tFrom:\tDate:");
    EXPECT_EQ(SummarizeHeaders("\r\n"), "Subject:\tFrom:\tDate:");
    EXPECT_EQ(SummarizeHeaders("From: a@b\r\n"), "Subject:\tFrom:a@b\tDate:");
    EXPECT_EQ(SummarizeHeaders("Subject:\r\nFrom: \r\nDate:\r\n"), "Subject:\tFrom:\tDate:");
}

TEST(Summary, OnlyTheHeaderIsRead) {
    EXPECT_EQ(SummarizeHeaders("From: a@b\r\n\r\nSubject: in the body\r\n"),
              "Subject:\tFrom:a@b\tDate:");
    // An mbox separator, garbage and a stray continuation line are skipped.
    EXPECT_EQ(SummarizeHeaders(" stray\r\nFrom a@b Mon Jan  1 00:00:00 2024\r\n"
                               "garbage\r\n: empty name\r\n continued\r\nSubject: s\r\n"),
              "Subject:s\tFrom:\tDate:");
}

TEST(Summary, FieldsHoldNoSeparatorsOrControls) {
    const std::string summary = SummarizeHeaders(
        "Subject: a\tFrom:x\x01y\r\nFrom: =?UTF-8?Q?b=09Date:=0Dz?=\r\nDate: c\x0B\r\n");
    EXPECT_EQ(summary, "Subject:a From:x y\tFrom:b Date: z\tDate:c");
    EXPECT_EQ(std::count(summary.begin(), summary.end(), '\t'), 2);
}

TEST(Summary, RawEightBitFields) {
    // UTF-8 and CP932 sent without encoded words.
    EXPECT_EQ(SummarizeHeaders("Subject: 日本語\r\nFrom: \x8ER\x93"
                               "c <y@example.jp>\r\n"),
              "Subject:日本語\tFrom:山田 <y@example.jp>\tDate:");
}

TEST(Summary, HugeFieldIsBounded) {
    const std::string block = "Subject: " + std::string(200 * 1024, 'x') + "\r\nFrom: f\r\n";
    const std::string summary = SummarizeHeaders(block);
    EXPECT_LE(summary.size(), 3 * kMaxFieldTextBytes + 32);
    EXPECT_TRUE(summary.ends_with("…\tFrom:f\tDate:"));
}

TEST(Summary, HugeFoldedFieldIsBounded) {
    std::string block = "Subject: start";
    for (int i = 0; i < 200000; ++i) {
        block += "\r\n =?UTF-8?B?5pel?=";
    }
    block += "\r\nDate: d\r\n";
    const std::string summary = SummarizeHeaders(block);
    EXPECT_TRUE(summary.starts_with("Subject:start 日日日"));
    // Cut between characters: whole three-byte characters up to the ellipsis.
    const std::size_t subjectEnd = summary.find('\t');
    EXPECT_EQ((subjectEnd - std::string_view("Subject:start ").size()) % 3, 0u);
    EXPECT_LE(summary.size(), 3 * kMaxFieldTextBytes + 32);
    EXPECT_TRUE(summary.ends_with("…\tFrom:\tDate:"));  // Date lies beyond the block limit
}

TEST(Summary, FieldsBeyondTheBlockLimitAreNotRead) {
    std::string block;
    while (block.size() < kMaxHeaderBlockBytes) {
        block += "Received: from somewhere by somewhere else\r\n";
    }
    block += "Subject: too late\r\n";
    EXPECT_EQ(SummarizeHeaders(block), "Subject:\tFrom:\tDate:");
}

}  // namespace
}  // namespace popmail::decode
