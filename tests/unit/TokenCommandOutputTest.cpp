// What every backend's token command shares: the outcome a command's end
// and output mean, its standard error made fit for a message, and the text
// that tells the user why no token came.

#include "platform/TokenCommandOutput.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vantorel::platform {
namespace {

using Kind = TokenCommandOutcome::Kind;
using ::testing::HasSubstr;

BoundedOutput Output(std::string_view bytes, std::size_t limit = kMaxTokenLineBytes) {
    BoundedOutput output(limit);
    output.Append(bytes);
    return output;
}

constexpr CommandEnd kExitedOk{CommandEnd::Kind::Exited, 0};

TEST(TokenCommandOutcome, TheFirstLineOfASuccessfulCommandIsTheToken) {
    const auto outcome =
        OutcomeOf(kExitedOk, Output("  ya29.a0-Token_x \r\nsecond line\n"), "warn");
    EXPECT_EQ(outcome.kind, Kind::Token);
    EXPECT_EQ(outcome.token, "ya29.a0-Token_x");
    EXPECT_EQ(outcome.errorOutput, "");
    EXPECT_EQ(OutcomeOf(kExitedOk, Output("no line end"), "").token, "no line end");
}

TEST(TokenCommandOutcome, FailuresKeepStandardErrorAndNeverTheToken) {
    const auto failed =
        OutcomeOf(CommandEnd{CommandEnd::Kind::Exited, 2}, Output("ya29.printed-before-failing\n"),
                  "refresh failed for ya29.printed-before-failing\n");
    EXPECT_EQ(failed.kind, Kind::Failed);
    EXPECT_EQ(failed.exitStatus, 2);
    EXPECT_EQ(failed.token, "");
    EXPECT_EQ(failed.errorOutput, "refresh failed for ***");
    const auto killed =
        OutcomeOf(CommandEnd{CommandEnd::Kind::Signalled, 9}, Output("ya29.token\n"), "");
    EXPECT_EQ(killed.kind, Kind::Failed);
    EXPECT_TRUE(killed.signalled);
    EXPECT_EQ(OutcomeOf(CommandEnd{CommandEnd::Kind::TimedOut, 0}, Output("ya29.token\n"), "").kind,
              Kind::TimedOut);
}

TEST(TokenCommandOutcome, AnEmptyOrEndlessFirstLineIsNoToken) {
    EXPECT_EQ(OutcomeOf(kExitedOk, Output(""), "").kind, Kind::NoOutput);
    EXPECT_EQ(OutcomeOf(kExitedOk, Output(" \r\ntoken on the second line\n"), "").kind,
              Kind::NoOutput);
    EXPECT_EQ(OutcomeOf(kExitedOk, Output(std::string(20, 'x'), 10), "").kind, Kind::TooLong);
    EXPECT_EQ(OutcomeOf(kExitedOk, Output("short\n" + std::string(20, 'x'), 10), "").token,
              "short");
}

TEST(BoundedOutput, KeepsUpToItsBoundAndSaysWhenItDropped) {
    BoundedOutput output(5);
    output.Append("abc");
    EXPECT_FALSE(output.Truncated());
    output.Append("defg");
    output.Append("h");
    EXPECT_EQ(output.Kept(), "abcde");
    EXPECT_TRUE(output.Truncated());
}

TEST(CleanErrorOutput, GivesValidUtf8LinesWithoutControlCharactersOrBlankLines) {
    EXPECT_EQ(CleanErrorOutput("\r\n  error: \x1b[31mno\x1b[0m grant\r\n\r\n\tline two \n\n"),
              "error:  [31mno [0m grant\nline two");
    EXPECT_EQ(CleanErrorOutput("bad \xff\xfe byte, \xe3\x81 cut, \xed\xa0\x80 surrogate"),
              "bad ?? byte, ?? cut, ??? surrogate");
    EXPECT_EQ(CleanErrorOutput("トークンの更新に失敗"), "トークンの更新に失敗");
}

TEST(TokenCommandFailureDetail, SaysWhyNoTokenCame) {
    TokenCommandOutcome outcome;
    outcome.kind = Kind::Failed;
    outcome.exitStatus = 3;
    EXPECT_EQ(TokenCommandFailureDetail(outcome), "コマンドが終了コード 3 で終了しました");
    outcome.errorOutput = "invalid_grant";
    EXPECT_EQ(TokenCommandFailureDetail(outcome), "invalid_grant");
    outcome.kind = Kind::TimedOut;
    EXPECT_EQ(TokenCommandFailureDetail(outcome),
              "コマンドが制限時間内に終わらなかったため、終了させました（invalid_grant）");
    outcome.kind = Kind::NoOutput;
    outcome.errorOutput.clear();
    EXPECT_EQ(TokenCommandFailureDetail(outcome), "コマンドが何も出力しませんでした");
    outcome.kind = Kind::NotStarted;
    outcome.errorOutput = "No such file or directory";
    EXPECT_THAT(TokenCommandFailureDetail(outcome), HasSubstr("起動できません"));
    outcome.kind = Kind::Failed;
    outcome.errorOutput.clear();
    outcome.signalled = true;
    outcome.exitStatus = 15;
    EXPECT_EQ(TokenCommandFailureDetail(outcome), "コマンドがシグナル 15 で終了しました");
    outcome.kind = Kind::TooLong;
    EXPECT_THAT(TokenCommandFailureDetail(outcome), HasSubstr("長すぎます"));
}

}  // namespace
}  // namespace vantorel::platform
