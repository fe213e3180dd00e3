// The failure texts: one Japanese sentence saying what went wrong and what
// to check, the server, then the server's or the system's own words under
// their labels, never at the end of the sentence.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/FailureText.h"

namespace popmail {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

constexpr std::string_view kSentenceEnd = "。";

// Every kind, MissingHost being the first and NotEnoughMessages the last.
std::vector<FailureKind> AllKinds() {
    std::vector<FailureKind> kinds;
    for (int kind = static_cast<int>(FailureKind::MissingHost);
         kind <= static_cast<int>(FailureKind::NotEnoughMessages); ++kind) {
        kinds.push_back(static_cast<FailureKind>(kind));
    }
    return kinds;
}

std::string TextOf(const Failure& failure) {
    return FailureText(failure, SecretMask{});
}

// The sentence, up to its end, before any quoted words.
std::string SentenceOf(const std::string& text) {
    const std::size_t end = text.find(kSentenceEnd);
    return end == std::string::npos ? text : text.substr(0, end + kSentenceEnd.size());
}

TEST(FailureText, EveryCauseIsOneSentenceSayingWhatToCheckThenTheQuotedWords) {
    std::vector<Failure> failures;
    for (const FailureKind kind : AllKinds()) {
        failures.push_back(Fail(kind));
    }
    for (const char* code : {"IN-USE", "LOGIN-DELAY", "AUTH", "SYS/TEMP", "SYS/PERM"}) {
        failures.push_back(Fail(FailureKind::CommandRefused, {}, code));
    }
    for (Failure& failure : failures) {
        failure.server = "mail.example.jp:995";
        failure.reply = "-ERR Mailbox gone.";
        failure.detail = "Connection reset by peer";
        const std::string text = TextOf(failure);
        const std::string sentence = SentenceOf(text);
        SCOPED_TRACE(text);
        EXPECT_THAT(sentence, HasSubstr("ため、"));
        EXPECT_THAT(sentence, EndsWith("ください（サーバー mail.example.jp:995）。"));
        EXPECT_EQ(text.substr(sentence.size()),
                  "サーバーの応答: -ERR Mailbox gone. 詳細: Connection reset by peer");
    }
}

TEST(FailureText, EachResponseCodeHasItsOwnCauseWhateverTheKind) {
    std::vector<std::string> sentences;
    for (const char* code : {"IN-USE", "LOGIN-DELAY", "AUTH", "SYS/TEMP", "SYS/PERM"}) {
        sentences.push_back(TextOf(Fail(FailureKind::CommandRefused, {}, code)));
        EXPECT_EQ(TextOf(Fail(FailureKind::LoginRefused, {}, code)), sentences.back());
    }
    std::sort(sentences.begin(), sentences.end());
    EXPECT_EQ(std::unique(sentences.begin(), sentences.end()), sentences.end());
    EXPECT_EQ(TextOf(Fail(FailureKind::CommandRefused, {}, "AUTH")),
              TextOf(Fail(FailureKind::LoginRefused)));
    // A code the library does not know leaves the kind's own cause.
    EXPECT_EQ(TextOf(Fail(FailureKind::CommandRefused, {}, "UTF8")),
              TextOf(Fail(FailureKind::CommandRefused)));
}

TEST(FailureText, AServerNameTypoAndAWrongPasswordSayWhatToCheck) {
    Failure typo = Fail(FailureKind::ResolveFailed, "Name or service not known");
    typo.server = "pop.exmaple.com:995";
    EXPECT_EQ(TextOf(typo),
              "メールサーバーの名前が見つからないため、サーバー名のつづりとネットワークの接続を確認"
              "してください（サーバー pop.exmaple.com:995）。詳細: Name or service not known");

    Failure refused =
        FailWithReply(FailureKind::LoginRefused, "-ERR [AUTH] Authentication failed.", "AUTH");
    refused.server = "127.0.0.1:34331";
    EXPECT_EQ(TextOf(refused),
              "ログインできないため、ユーザー名（アカウント）とパスワードを確認してください"
              "（サーバー 127.0.0.1:34331）。サーバーの応答: -ERR [AUTH] Authentication failed.");
}

TEST(FailureText, WithoutServerOrQuotedWordsTheSentenceStandsAlone) {
    EXPECT_EQ(TextOf(Fail(FailureKind::MissingHost)),
              "メールサーバーが設定されていないため、メールサーバーの名前を設定してください。");
}

TEST(FailureText, AdviceTakesThePlaceOfTheUsualCheck) {
    Failure failure = Fail(FailureKind::TlsNotOffered);
    failure.advice = "サーバーを pop3://mail.example.jp と書いてください";
    const std::string text = TextOf(failure);
    EXPECT_THAT(text, StartsWith("メールサーバーが暗号化（STLS）に対応していないため、サーバーを "
                                 "pop3://mail.example.jp と書いてください"));
    EXPECT_THAT(text, Not(HasSubstr("ポート番号")));
}

TEST(FailureText, QuotedWordsAreMaskedAndMadeSafe) {
    Failure failure = FailWithReply(FailureKind::LoginRefused, "-ERR bad\x01pass\xff word");
    failure.detail = "detail pass";
    failure.server = "mail.example.jp:995";
    SecretMask secrets;
    secrets.AddPassword("alice", "pass");
    const std::string text = FailureText(failure, secrets);
    EXPECT_THAT(text, HasSubstr("mail.example.jp:995"));
    EXPECT_THAT(text, HasSubstr("サーバーの応答: -ERR bad ***? word 詳細: detail ***"));
    EXPECT_EQ(QuotableServerText(std::string(1000, 'x')).size(), 200u);
    EXPECT_EQ(QuotableServerText("日本語\r\n"), "日本語  ");
    EXPECT_EQ(QuotableServerText("\xe6\x97"), "??");
}

}  // namespace
}  // namespace popmail
