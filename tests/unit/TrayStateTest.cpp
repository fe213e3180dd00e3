// The tray icon tells the state of the program at a glance: new mail until
// the user looks, a failed check until one succeeds (also with errors
// hidden), a pause while "一時停止" is checked; the tooltip says the same
// with the time of the last check.

#include <gmock/gmock.h>

#include <string>

#include "CheckFixture.h"
#include "tray/TrayStatus.h"

namespace vantorel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr auto kDoubleClick = platform::TrayAction::DoubleClicked;
constexpr auto kMenu = platform::TrayAction::MenuRequested;

class TrayState : public fake::CheckFixture {
  protected:
    std::string shownTip() { return fake.tray.icon->look.tip; }
    std::string shownMark() { return fake::MarkText(fake.tray.icon->look.mark); }
    void failingServer(const std::string& text) {
        fake.mail.answer = [text](const std::string&) { return platform::MailReply::Text(text); };
    }
};

TEST_F(TrayState, BeforeAnyCheckTheIconIsPlainAndSaysOnlyTheName) {
    acceptedSettings();
    start();
    EXPECT_THAT(lines("tray"), ElementsAre("tray: show \"Vantorel\""));
}

TEST_F(TrayState, NewMailIsMarkedUntilADoubleClickAndComesBackPlainAfterOK) {
    startInTray();
    fake.clock.time = {9, 5};
    mailbox(3);
    mainForm().userClicks(ctl::CheckNow);
    EXPECT_THAT(
        lines("tray"),
        ElementsAre("tray: update \"Vantorel - 新着3通 (最終確認 09:05)\" mark=new-mail(3)"));
    runCycle();
    // The end of the announcement does not take the mark away.
    EXPECT_EQ(shownMark(), "new-mail(3)");

    fake.transcript.clear();
    fake.trayAction(kDoubleClick);
    EXPECT_THAT(lines("tray"), ElementsAre("tray: remove"));
    fake.transcript.clear();
    mainForm().userClicks(ctl::OkButton);
    EXPECT_THAT(lines("tray"), ElementsAre("tray: show \"Vantorel - 新着なし (最終確認 09:05)\""));
}

TEST_F(TrayState, OpeningTheTrayMenuClearsTheMarkBeforeTheMenuShows) {
    startInTray();
    mailbox(2);
    mainForm().userClicks(ctl::CheckNow);
    runCycle();
    fake.transcript.clear();
    fake.trayAction(kMenu);
    const auto all = fake.transcript.lines();
    const auto modify = std::find(
        all.begin(), all.end(), "tray: update \"Vantorel - 新着なし (最終確認 14:06)\" mark=none");
    const auto popup = std::find(all.begin(), all.end(), "SettingsWindow popup TrayMenu");
    ASSERT_NE(modify, all.end()) << fake.transcript.dump();
    ASSERT_NE(popup, all.end()) << fake.transcript.dump();
    EXPECT_LT(modify, popup);
    // Looking again changes nothing more.
    fake.transcript.clear();
    fake.trayAction(kMenu);
    EXPECT_THAT(lines("tray"), IsEmpty());
}

TEST_F(TrayState, AFailedCheckWithErrorsHiddenShowsOnTheIconUntilACheckSucceeds) {
    startInTray();
    mark(ctl::ShowErrors, false);
    failingServer("接続できませんでした\r\n(詳細)");
    mainForm().userClicks(ctl::CheckNow);
    EXPECT_THAT(fake.ui.messageBoxes, IsEmpty());
    EXPECT_THAT(lines("tray"), ElementsAre("tray: update \"Vantorel - "
                                           "エラー: 接続できませんでした (14:06)\" mark=error"));
    // Looking at the icon is no cure for a failure.
    fake.trayAction(kMenu);
    EXPECT_EQ(shownMark(), "error");

    fake.transcript.clear();
    fake.clock.time = {14, 9};
    mailbox(0);
    mainForm().userClicks(ctl::CheckNow);
    EXPECT_THAT(lines("tray"),
                ElementsAre("tray: update \"Vantorel - 新着なし (最終確認 14:09)\" mark=none"));
}

TEST_F(TrayState, AFailureWithErrorsShownMarksTheIconBeforeTheSettingsBoxOpens) {
    startInTray();
    failingServer("-ERR [AUTH] Authentication failed.");
    std::string markDuringBox;
    fake.ui.whileMessageBoxOpen = [&](const std::string& text) {
        if (text.find("設定が正しいか") != std::string::npos) {
            markDuringBox = shownMark();
        }
    };
    mainForm().userClicks(ctl::CheckNow);
    EXPECT_EQ(fake.ui.messageBoxes.size(), 2U);  // the library's text, then the designed one
    EXPECT_EQ(markDuringBox, "error");
    EXPECT_EQ(shownTip(), "Vantorel - エラー: -ERR [AUTH] Authentication failed. (14:06)");
}

TEST_F(TrayState, AMissingMailLibraryIsAFailureOnTheIcon) {
    startInTray();
    mark(ctl::ShowErrors, false);
    fake.mail.missing = true;
    mainForm().userClicks(ctl::CheckNow);
    EXPECT_EQ(shownMark(), "error");
    // The program's own text, without a second "エラー:".
    EXPECT_EQ(shownTip(),
              "Vantorel - エラー: メールライブラリ(popmail)を読み込めませんでした。 (14:06)");
}

TEST_F(TrayState, APauseShowsAndACheckByHandDuringItStillReportsItsNews) {
    startInTray();
    mainForm().userClicks(ctl::Pause);
    EXPECT_THAT(lines("tray"), ElementsAre("tray: update \"Vantorel - 一時停止中\" mark=paused"));

    fake.transcript.clear();
    mailbox(2);
    mainForm().userClicks(ctl::CheckNow);
    EXPECT_THAT(lines("tray"),
                ElementsAre("tray: update \"Vantorel - "
                            "一時停止中 - 新着2通 (最終確認 14:06)\" mark=new-mail(2)"));
    runCycle();
    fake.trayAction(kMenu);
    EXPECT_EQ(shownMark(), "paused");
    EXPECT_EQ(shownTip(), "Vantorel - 一時停止中 - 新着なし (最終確認 14:06)");

    mainForm().userClicks(ctl::Pause);
    EXPECT_EQ(shownMark(), "none");
    EXPECT_EQ(shownTip(), "Vantorel - 新着なし (最終確認 14:06)");
}

TEST_F(TrayState, UnderOnceOnlyTheUnseenCountGrowsWithEachAnnouncement) {
    startInTray();
    mark(ctl::OnceOnly, true);
    mailbox(2);
    mainForm().userClicks(ctl::CheckNow);
    runCycle();
    mailbox(3);
    mainForm().userClicks(ctl::CheckNow);
    runCycle();
    EXPECT_EQ(shownMark(), "new-mail(3)");
    // Without the option every announcement counts the whole mailbox.
    mark(ctl::OnceOnly, false);
    mailbox(2);
    mainForm().userClicks(ctl::CheckNow);
    EXPECT_EQ(shownMark(), "new-mail(2)");
}

TEST_F(TrayState, ChangesWhileTheWindowIsShownWaitForTheNextAdd) {
    startInTray();
    fake.trayAction(kDoubleClick);  // the window is on the screen, no icon
    mark(ctl::ShowErrors, false);
    failingServer("timed out");
    fake.transcript.clear();
    mainForm().userClicks(ctl::CheckServer);
    EXPECT_THAT(lines("tray"), IsEmpty());
    mainForm().userClicks(ctl::OkButton);
    EXPECT_THAT(lines("tray"),
                ElementsAre("tray: show \"Vantorel - エラー: timed out (14:06)\" mark=error"));
}

TEST(TrayStatusTip, ALongReasonIsCutSoThatTheTipFitsTheShellAndKeepsItsTime) {
    const std::string reasons[] = {
        std::string(300, 'x'),
        // Characters beyond the basic plane take two UTF-16 units each.
        [] {
            std::string text;
            for (int i = 0; i < 100; ++i) {
                text += "\xF0\x9F\x93\xAE";  // U+1F4EE
            }
            return text;
        }(),
        std::string(200, 'a') + "\n second line",
    };
    for (const std::string& reason : reasons) {
        for (const bool paused : {false, true}) {
            TrayStatus status("Vantorel");
            status.Paused(paused);
            status.CheckFailed({23, 59}, reason);
            const std::string tip = status.ToolTip();
            EXPECT_LE(Utf16Length(tip), TrayStatus::kTipLimit) << tip;
            EXPECT_THAT(tip, ::testing::EndsWith("… (23:59)"));
            EXPECT_EQ(tip.find("second"), std::string::npos);
        }
    }
}

TEST(TrayStatusTip, CuttingNeverSplitsACharacter) {
    const std::string text =
        "a\xF0\x9F\x93\xAE"
        "b";  // 1 + 2 + 1 units
    EXPECT_EQ(FitUtf16(text, 2), "a");
    EXPECT_EQ(FitUtf16(text, 3), "a\xF0\x9F\x93\xAE");
    EXPECT_EQ(ShortReason("日本語のテキスト", 3), "日本語…");
    EXPECT_EQ(ShortReason("短い  \nあと", 10), "短い");
}

}  // namespace
}  // namespace vantorel
