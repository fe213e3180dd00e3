// A check started from the tray menu while an announcement runs: when it
// announces nothing, the running announcement goes on exactly where it
// stood, with its own messages, numbering and window.

#include <gmock/gmock.h>

#include "CheckFixture.h"

namespace vantorel {
namespace {

using ::testing::ElementsAre;

constexpr platform::WindowHandle kBrowser = 0x40;
constexpr const char* kBrowserTitle = "Browser";

class CheckDuringAnnouncement : public fake::CheckFixture {
  protected:
    // Three messages announced with the restore option; the first message
    // notice stands in the editor's title bar.
    void announceThreeAndShowTheFirst(bool onceOnly = false) {
        startInTray();
        mark(ctl::RestoreTitles, true);
        mark(ctl::OnceOnly, onceOnly);
        fake.windows.add(kBrowser, kBrowserTitle);
        mailbox(3);
        ASSERT_TRUE(program->CheckMail());
        ASSERT_TRUE(fake.tick("display timer"));
        fake.windows.titlesWritten.clear();
    }

    // The user chooses "今すぐチェック".
    void checkNow() { mainForm().userClicks(ctl::CheckNow); }

    // What the rest of the running announcement writes, from its second
    // message to the editor's own title.
    void expectTheRestOfTheFirstAnnouncement(const std::string& exit) {
        EXPECT_TRUE(timerOn("display timer")) << exit;
        EXPECT_EQ(runCycle(), 4) << exit;
        EXPECT_THAT(editorTitles(),
                    ElementsAre("2通目:" + fake::MessageShown(2), "3通目:" + fake::MessageShown(3),
                                "以上3通メールが来ています。", "以上3通メールが来ています。",
                                fake::kEditorTitle))
            << exit;
        EXPECT_TRUE(fake.windows.titlesWritten[kBrowser].empty()) << exit;
    }
};

TEST_F(CheckDuringAnnouncement, AnEmptyMailboxLeavesTheAnnouncementRunning) {
    announceThreeAndShowTheFirst();
    mailbox(0);
    checkNow();
    EXPECT_EQ(fake.mail.commands.back(), "STAT");
    expectTheRestOfTheFirstAnnouncement("empty mailbox");
}

TEST_F(CheckDuringAnnouncement, NothingNewOrFewerMessagesUnderOnceOnlyLeaveItRunning) {
    for (const int waiting : {3, 2}) {
        const std::string exit = waiting == 3 ? "nothing new" : "fewer than announced";
        announceThreeAndShowTheFirst(true);
        mailbox(waiting);
        checkNow();
        expectTheRestOfTheFirstAnnouncement(exit);
        program.reset();
        fake.windows.titlesWritten.clear();
    }
}

TEST_F(CheckDuringAnnouncement, AServerThatCannotBeReachedLeavesItRunning) {
    for (const bool errorsShown : {false, true}) {
        const std::string exit = errorsShown ? "error box" : "errors hidden";
        announceThreeAndShowTheFirst();
        mark(ctl::ShowErrors, errorsShown);
        fake.mail.answer = nullptr;
        fake.mail.replies.push_back(platform::MailReply::Text("connect: timed out"));
        checkNow();
        EXPECT_EQ(fake.ui.messageBoxes.size(), errorsShown ? 2u : 0u) << exit;
        expectTheRestOfTheFirstAnnouncement(exit);
        program.reset();
        fake.ui.messageBoxes.clear();
        fake.windows.titlesWritten.clear();
    }
}

TEST_F(CheckDuringAnnouncement, ACheckThatFailsLeavesItRunning) {
    // A status without a count fails before any window is chosen.
    announceThreeAndShowTheFirst();
    fake.mail.answer = nullptr;
    fake.mail.replies.push_back(platform::MailReply::List({"garbage"}));
    checkNow();
    EXPECT_TRUE(timerOn("check timer"));
    expectTheRestOfTheFirstAnnouncement("status without a count");
}

TEST_F(CheckDuringAnnouncement, AFailureWhileTheListIsFetchedLeavesItInItsOwnWindow) {
    // The new check has already chosen the browser in front when the mail
    // library goes missing: neither window's title may change.
    announceThreeAndShowTheFirst();
    fake.windows.foreground = kBrowser;
    mailbox(4);
    fake.mail.duringCall = [&] { fake.mail.missing = fake.mail.commands.back() == "STAT"; };
    checkNow();
    EXPECT_EQ(fake.windows.titleOf(kBrowser), kBrowserTitle);
    fake.mail.duringCall = nullptr;
    fake.mail.missing = false;
    expectTheRestOfTheFirstAnnouncement("missing library while listing");
}

TEST_F(CheckDuringAnnouncement, AFollowingAnnouncementStillReplacesIt) {
    announceThreeAndShowTheFirst();
    mailbox(4);
    checkNow();
    EXPECT_EQ(runCycle(), 6);
    EXPECT_THAT(editorTitles(),
                ElementsAre("4通メールが来ています。", "1通目:" + fake::MessageShown(1),
                            "2通目:" + fake::MessageShown(2), "3通目:" + fake::MessageShown(3),
                            "4通目:" + fake::MessageShown(4), "以上4通メールが来ています。",
                            "以上4通メールが来ています。", fake::kEditorTitle));
}

}  // namespace
}  // namespace vantorel
