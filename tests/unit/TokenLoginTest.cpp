// Logins with an OAuth 2.0 access token from the user's token command: the
// command runs once per check, its token goes only to the mail library, and
// a command that gives no token ends in the failure text with its reason.

#include <gmock/gmock.h>

#include "CheckFixture.h"
#include "dialogs/Layouts.h"

namespace vantorel {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using Kind = platform::TokenCommandOutcome::Kind;
using fake::FakeTokenCommand;

constexpr const char* kTokenCommand = "oauth2-helper --user bob@example.jp";
constexpr const char* kToken = "ya29.a0AfB_byC-token-of-the-first-check";
constexpr const char* kSecondToken = "ya29.a0AfB_byC-token-of-the-second-check";
constexpr const char* kCheckSettingsBox =
    "[Vantorel] エラー:設定が正しいか、又はオンラインか確認してください。";

class TokenLogin : public fake::CheckFixture {
  protected:
    App& startWithTokenCommand() {
        fake.profile.set("USERINFO", "TOKENCMD", kTokenCommand);
        return startInTray();
    }

    // True when `secret` appears nowhere the user or a log could see it:
    // the transcript (boxes, standard error, settings written), the boxes
    // and the settings file.
    bool exposed(const std::string& secret) {
        for (const std::string& line : fake.transcript.lines()) {
            if (line.find(secret) != std::string::npos) {
                return true;
            }
        }
        for (const std::string& box : fake.ui.messageBoxes) {
            if (box.find(secret) != std::string::npos) {
                return true;
            }
        }
        for (const char* key : {"TOKENCMD", "PASSWORD", "USERNAME", "REMOTEHOST"}) {
            if (fake.profile.value("USERINFO", key).value_or("").find(secret) !=
                std::string::npos) {
                return true;
            }
        }
        return false;
    }

    std::vector<std::string> mailCalls() { return lines("RcvMail"); }
};

TEST_F(TokenLogin, TheCheckLogsInWithTheCommandsTokenAndNeverShowsIt) {
    startWithTokenCommand();
    mark(ctl::ShowErrors, true);
    mailbox(2);
    fake.tokenCommand.outcomes.push_back(FakeTokenCommand::Printing(kToken));

    timerCheck();
    // One run per check, with the 30 s limit; STAT and LIST share its token,
    // so the library can keep the STAT's session for the LIST.
    EXPECT_THAT(lines("token command"), ElementsAre(std::string("token command `") + kTokenCommand +
                                                    "` limit=30000ms -> Token"));
    EXPECT_THAT(mailCalls(),
                ElementsAre("RcvMailOAuth2 mail.example bob [access token] STAT /opt/vantorel/save",
                            "RcvMailOAuth2 mail.example bob [access token] LIST 1-2 "
                            "/opt/vantorel/save"));
    EXPECT_THAT(fake.mail.accessTokens, ElementsAre(kToken, kToken));
    EXPECT_THAT(lines("ini read [USERINFO] PASSWORD"), IsEmpty()) << "the password is not used";
    EXPECT_THAT(editorTitles(), ElementsAre("2通メールが来ています。"));
    EXPECT_FALSE(exposed(kToken)) << fake.transcript.dump();

    // The next check asks the command anew: a token is not kept between checks.
    runCycle();
    fake.tokenCommand.outcomes.push_back(FakeTokenCommand::Printing(kSecondToken));
    timerCheck();
    EXPECT_EQ(lines("token command").size(), 2U);
    EXPECT_THAT(fake.mail.accessTokens, ElementsAre(kToken, kToken, kSecondToken, kSecondToken));
    EXPECT_FALSE(exposed(kSecondToken)) << fake.transcript.dump();
    EXPECT_THAT(fake.ui.messageBoxes, IsEmpty());
}

TEST_F(TokenLogin, ACommandWithoutATokenShowsWhyAndNothingGoesToTheServer) {
    struct Case {
        const char* name;
        platform::TokenCommandOutcome outcome;
        const char* box;
    };
    const Case cases[] = {
        {"fails with its standard error",
         FakeTokenCommand::Ending(Kind::Failed, "error: invalid_grant (refresh token expired)", 1),
         "トークンを取得できませんでした: error: invalid_grant (refresh token expired)"},
        {"fails silently", FakeTokenCommand::Ending(Kind::Failed, "", 2),
         "トークンを取得できませんでした: コマンドが終了コード 2 で終了しました"},
        {"hangs past the limit", FakeTokenCommand::Ending(Kind::TimedOut, ""),
         "トークンを取得できませんでした: "
         "コマンドが制限時間内に終わらなかったため、終了させました"},
        {"prints nothing", FakeTokenCommand::Ending(Kind::NoOutput, ""),
         "トークンを取得できませんでした: コマンドが何も出力しませんでした"},
    };
    startWithTokenCommand();
    mark(ctl::ShowErrors, true);
    mailbox(2);
    for (const Case& c : cases) {
        fake.transcript.clear();
        fake.ui.messageBoxes.clear();
        fake.tokenCommand.outcomes.push_back(c.outcome);
        EXPECT_FALSE(program->CheckMail()) << c.name;
        EXPECT_THAT(lines("token command"), ElementsAre(HasSubstr("limit=30000ms"))) << c.name;
        EXPECT_THAT(mailCalls(), IsEmpty()) << c.name;
        EXPECT_THAT(fake.ui.messageBoxes,
                    ElementsAre(std::string("[Vantorel] ") + c.box, kCheckSettingsBox))
            << c.name;
    }

    // Without the error mark the user sees nothing, and checking goes on.
    mark(ctl::ShowErrors, false);
    fake.ui.messageBoxes.clear();
    timer("check timer").setEnabled(false);
    fake.tokenCommand.outcomes.push_back(FakeTokenCommand::Ending(Kind::TimedOut, ""));
    EXPECT_FALSE(program->CheckMail());
    EXPECT_THAT(fake.ui.messageBoxes, IsEmpty());
    EXPECT_TRUE(timerOn("check timer"));
    EXPECT_THAT(mailCalls(), IsEmpty());
}

TEST_F(TokenLogin, OutsideACheckEachLoginRunsTheCommand) {
    App& app = startWithTokenCommand();
    fake.tokenCommand.outcomes.push_back(FakeTokenCommand::Printing(kToken));
    fake.tokenCommand.outcomes.push_back(FakeTokenCommand::Printing(kSecondToken));
    fake.mail.replies.push_back(
        platform::MailReply::Text("アクセストークンが無効か、有効期限が切れているため、アクセストー"
                                  "クンの取得方法とアカウントを確認してください"));
    fake.mail.replies.push_back(platform::MailReply::List({"1 10"}));

    EXPECT_FALSE(app.mailCheck().query("STAT"));
    EXPECT_TRUE(app.mailCheck().query("STAT"));
    EXPECT_EQ(app.mailCheck().messageCount(), 1);
    EXPECT_THAT(fake.mail.accessTokens, ElementsAre(kToken, kSecondToken));
    EXPECT_EQ(lines("token command").size(), 2U);
}

TEST_F(TokenLogin, WithoutATokenCommandTheLoginTakesThePasswordAgain) {
    startWithTokenCommand();
    mailbox(0);
    fake.profile.set("USERINFO", "TOKENCMD", "");
    program->CheckMail();
    EXPECT_THAT(mailCalls(),
                ElementsAre("RcvMail mail.example bob [password] STAT /opt/vantorel/save"));
    EXPECT_THAT(lines("token command"), IsEmpty());
}

// ---- the token command window

class TokenCommandWindow : public fake::CheckFixture {
  protected:
    fake::FakeForm& open() {
        fake.transcript.clear();
        mainForm().userClicks(ctl::OpenTokenCommand);
        return *fake.ui.form("TokenCommandWindow");
    }
};

TEST_F(TokenCommandWindow, ShowsTheCommandAndOKKeepsWhatWasTyped) {
    fake.profile.set("USERINFO", "TOKENCMD", kTokenCommand);
    startInTray();
    fake::FakeForm& window = open();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.caption(), "OAuth2 トークンコマンド");
    EXPECT_EQ(window.textOf(ctl::token::CommandBox), kTokenCommand);
    EXPECT_THAT(lines("ini"),
                ElementsAre(std::string("ini read [USERINFO] TOKENCMD -> ") + kTokenCommand));

    // Blanks around the line mean nothing to the shell and are dropped.
    window.userTypes(ctl::token::CommandBox, "  oauth2ms --encode-xoauth2=no  ");
    window.userClicks(ctl::token::OkButton);
    EXPECT_THAT(lines("ini write"),
                ElementsAre("ini write [USERINFO] TOKENCMD = oauth2ms --encode-xoauth2=no"));
    EXPECT_TRUE(window.isClosed());

    // A line of blanks is no command: logins take the password again.
    fake::FakeForm& again = open();
    EXPECT_EQ(again.textOf(ctl::token::CommandBox), "oauth2ms --encode-xoauth2=no");
    again.userTypes(ctl::token::CommandBox, "   ");
    again.userClicks(ctl::token::OkButton);
    EXPECT_EQ(fake.profile.value("USERINFO", "TOKENCMD"), "");
}

TEST_F(TokenCommandWindow, CancelAndTheCloseBoxKeepTheStoredCommand) {
    startInTray();
    for (bool closeBox : {false, true}) {
        fake::FakeForm& window = open();
        EXPECT_EQ(window.textOf(ctl::token::CommandBox), "");
        window.userTypes(ctl::token::CommandBox, "gcloud auth print-access-token");
        if (closeBox) {
            window.userCloses();
        } else {
            window.userClicks(ctl::token::CancelButton);
        }
        EXPECT_TRUE(window.isClosed());
        EXPECT_THAT(lines("ini write"), IsEmpty());
    }
}

TEST_F(TokenCommandWindow, ARefusedWriteKeepsTheWindowWithWhatWasTyped) {
    startInTray();
    fake.profile.refusedKeys.insert("TOKENCMD");
    fake::FakeForm& window = open();
    window.userTypes(ctl::token::CommandBox, "oauth2ms");
    window.userClicks(ctl::token::OkButton);
    EXPECT_FALSE(window.isClosed());
    EXPECT_EQ(window.textOf(ctl::token::CommandBox), "oauth2ms");
    EXPECT_THAT(fake.ui.messageBoxes, ElementsAre(HasSubstr("設定を保存できませんでした。")));
}

TEST(TokenCommandMenu, TheItemComesAfterEveryDesignedItemOfTheOptionMenu) {
    std::vector<std::string> items;
    for (const auto& control : SettingsWindowLayout().controls) {
        if (control.parent == ctl::OptionMenu) {
            items.push_back(control.name);
        }
    }
    // The notification option comes next; later additions follow them.
    constexpr std::size_t kThroughNotify = 12;
    ASSERT_GE(items.size(), kThroughNotify);
    items.resize(kThroughNotify);
    EXPECT_THAT(items, ElementsAre("OpenSoundSettings", "OnceOnly", "OpenTitleLabels",
                                   "RestoreTitles", "AnnounceZero", "UnderMouse",
                                   "OptionMenuSeparator1", "CheckServer", "ShowErrors",
                                   "OptionMenuSeparator2", "OpenTokenCommand", "NotifyDesktop"));
    EXPECT_EQ(SettingsWindowLayout().find(ctl::OpenTokenCommand)->caption,
              "OAuth2 トークンコマンド…");
}

}  // namespace
}  // namespace vantorel
