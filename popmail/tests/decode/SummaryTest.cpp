// SummarizeHeaders: finding Subject, From and Date in a raw header block and
// decoding each into the text the program announces.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "decode/Decode.h"
#include "decode/Limits.h"

namespace popmail::decode {

void PrintTo(const MessageSummary& summary, std::ostream* out) {
    *out << "{\"" << summary.subject << "\", \"" << summary.sender << "\", \"" << summary.date
         << "\"}";
}

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
              (MessageSummary{"①㈱髙橋の件会議", "山田太郎 <taro@example.jp>",
                              "Mon, 1 Jan 2024 09:00:00 +0900"}));
}

TEST(Summary, FoldedFieldsAndBareLineFeeds) {
    EXPECT_EQ(SummarizeHeaders("Subject: first\n second\n\tthird\nFrom: a@b\nDate: d"),
              (MessageSummary{"first second third", "a@b", "d"}));
    EXPECT_EQ(SummarizeHeaders("Subject: one\r\n\ttwo\r\nX-Other: x\r\n three\r\n"),
              (MessageSummary{"one two", "", ""}));
}

TEST(Summary, NamesMatchWithoutCaseAndFirstFieldWins) {
    EXPECT_EQ(SummarizeHeaders("SUBJECT: a\r\nfrom: b\r\ndAtE: c\r\n"
                               "Subject: later\r\nFrom: later\r\nDate: later\r\n"),
              (MessageSummary{"a", "b", "c"}));
    // Obsolete whitespace before the colon; look-alike names do not count.
    EXPECT_EQ(SummarizeHeaders("Subjects: no\r\nResent-From: no\r\nSubject : yes\r\n"),
              (MessageSummary{"yes", "", ""}));
}

TEST(Summary, MissingFieldsAreEmpty) {
    const MessageSummary empty;
    EXPECT_EQ(SummarizeHeaders(""), empty);
    EXPECT_EQ(SummarizeHeaders("\r\n"), empty);
    EXPECT_EQ(SummarizeHeaders("From: a@b\r\n"), (MessageSummary{"", "a@b", ""}));
    EXPECT_EQ(SummarizeHeaders("Subject:\r\nFrom: \r\nDate:\r\n"), empty);
}

TEST(Summary, OnlyTheHeaderIsRead) {
    EXPECT_EQ(SummarizeHeaders("From: a@b\r\n\r\nSubject: in the body\r\n"),
              (MessageSummary{"", "a@b", ""}));
    // An mbox separator, garbage and a stray continuation line are skipped.
    EXPECT_EQ(SummarizeHeaders(" stray\r\nFrom a@b Mon Jan  1 00:00:00 2024\r\n"
                               "garbage\r\n: empty name\r\n continued\r\nSubject: s\r\n"),
              (MessageSummary{"s", "", ""}));
}

TEST(Summary, FieldsHoldNoSeparatorsOrControls) {
    const MessageSummary summary = SummarizeHeaders(
        "Subject: a\tFrom:x\x01y\r\nFrom: =?UTF-8?Q?b=09Date:=0Dz?=\r\nDate: c\x0B\r\n");
    EXPECT_EQ(summary, (MessageSummary{"a From:x y", "b Date: z", "c"}));
}

TEST(Summary, RawEightBitFields) {
    // UTF-8 and CP932 sent without encoded words.
    EXPECT_EQ(SummarizeHeaders("Subject: 日本語\r\nFrom: \x8ER\x93"
                               "c <y@example.jp>\r\n"),
              (MessageSummary{"日本語", "山田 <y@example.jp>", ""}));
}

TEST(Summary, HugeFieldIsBounded) {
    const std::string block = "Subject: " + std::string(200 * 1024, 'x') + "\r\nFrom: f\r\n";
    const MessageSummary summary = SummarizeHeaders(block);
    EXPECT_LE(summary.subject.size(), kMaxFieldTextBytes);
    EXPECT_TRUE(summary.subject.ends_with("…"));
    EXPECT_EQ(summary.sender, "f");
    EXPECT_EQ(summary.date, "");
}

TEST(Summary, HugeFoldedFieldIsBounded) {
    std::string block = "Subject: start";
    for (int i = 0; i < 200000; ++i) {
        block += "\r\n =?UTF-8?B?5pel?=";
    }
    block += "\r\nDate: d\r\n";
    const MessageSummary summary = SummarizeHeaders(block);
    EXPECT_TRUE(summary.subject.starts_with("start 日日日"));
    // Cut between characters: whole three-byte characters up to the ellipsis.
    EXPECT_EQ((summary.subject.size() - std::string_view("start ").size()) % 3, 0u);
    EXPECT_LE(summary.subject.size(), kMaxFieldTextBytes);
    EXPECT_TRUE(summary.subject.ends_with("…"));
    EXPECT_EQ(summary.sender, "");
    EXPECT_EQ(summary.date, "");  // Date lies beyond the block limit
}

TEST(Summary, FieldsBeyondTheBlockLimitAreNotRead) {
    std::string block;
    while (block.size() < kMaxHeaderBlockBytes) {
        block += "Received: from somewhere by somewhere else\r\n";
    }
    block += "Subject: too late\r\n";
    EXPECT_EQ(SummarizeHeaders(block), MessageSummary{});
}

}  // namespace
}  // namespace popmail::decode
