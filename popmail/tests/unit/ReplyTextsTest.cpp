// What the C entry point hands the program: the texts of a reply, made from
// the mailbox's status and the message summaries, and the bounds on each.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "api/ReplyTexts.h"
#include "core/Limits.h"
#include "core/Summary.h"

namespace popmail {
namespace {

using ::testing::ElementsAre;

Reply ListOf(std::vector<MessageSummary> summaries) {
    Reply reply;
    reply.isList = true;
    reply.summaries = std::move(summaries);
    return reply;
}

TEST(ReplyTexts, StatIsCountSpaceSize) {
    Reply reply;
    reply.isList = true;
    reply.status = MailboxStatus{3, 456};
    const api::ReplyTexts texts = api::TextsOf(reply);
    EXPECT_TRUE(texts.isList);
    EXPECT_THAT(texts.elements, ElementsAre("3 456"));
    EXPECT_EQ(api::StatusElement({2147483647, 0}), "2147483647 0");
}

TEST(ReplyTexts, SummariesKeepTheirOrderAndMarkers) {
    const Reply reply =
        ListOf({{"件名", "A <a@example.jp>", "Mon, 7 Dec 2026 09:00:00 +0900"}, {}});
    EXPECT_THAT(
        api::TextsOf(reply).elements,
        ElementsAre("Subject:件名\tFrom:A <a@example.jp>\tDate:Mon, 7 Dec 2026 09:00:00 +0900",
                    "Subject:\tFrom:\tDate:"));
}

TEST(ReplyTexts, ATextStaysOneText) {
    Reply reply;
    reply.text = "No Message+OK 0 0";
    const api::ReplyTexts texts = api::TextsOf(reply);
    EXPECT_FALSE(texts.isList);
    EXPECT_TRUE(texts.elements.empty());
    EXPECT_EQ(texts.text, "No Message+OK 0 0");
}

TEST(Summary, EachFieldIsCutAtACharacterBoundary) {
    constexpr std::string_view kThreeBytes = "日";
    std::string longJapanese;
    while (longJapanese.size() <= kMaxSummaryFieldBytes) {
        longJapanese += kThreeBytes;
    }
    const std::string longAscii(kMaxSummaryFieldBytes + 1, 'x');
    const MessageSummary summary =
        SummaryOf("Subject: " + longJapanese + "\r\nFrom: " + longAscii + "\r\nDate: 日本語\r\n");
    // The cap falls inside a character, which is dropped whole.
    const std::size_t wholeCharacters = kMaxSummaryFieldBytes / kThreeBytes.size();
    EXPECT_EQ(summary.subject.size(), wholeCharacters * kThreeBytes.size());
    EXPECT_TRUE(longJapanese.starts_with(summary.subject));
    EXPECT_EQ(summary.sender, longAscii.substr(0, kMaxSummaryFieldBytes));
    EXPECT_EQ(summary.date, "日本語");
}

}  // namespace
}  // namespace popmail
