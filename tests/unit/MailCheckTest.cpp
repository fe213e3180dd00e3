// The mail check, from the check timer's tick to the restored title: what
// the user sees in the title bar, which boxes come up and how the two
// timers are left.

#include <gmock/gmock.h>

#include "CheckFixture.h"

namespace vantorel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kLibraryMissingBox =
    "[Vantorel] エラー:メールライブラリ(popmail)を読み込めませんでした。";

class MailCheck : public fake::CheckFixture {};

TEST_F(MailCheck, ThreeNewMailsAreAnnouncedFromTickToRestoredTitle) {
    startInTray();
    mark(ctl::RestoreTitles, true);
    mailbox(3);

    timerCheck();
    EXPECT_THAT(lines("RcvMail"),
                ElementsAre("RcvMail mail.example bob [password] STAT /opt/vantorel/save",
                            "RcvMail mail.example bob [password] LIST 1-3 /opt/vantorel/save"));
    EXPECT_THAT(editorTitles(), ElementsAre("3通メールが来ています。"));
    EXPECT_TRUE(fake.transcript.contains("flash 0x10 3 times"));
    EXPECT_FALSE(timerOn("check timer"));
    EXPECT_TRUE(timerOn("display timer"));
    EXPECT_EQ(program->display().current().position, 1);
    EXPECT_EQ(program->display().current().shownBase, 0);

    EXPECT_EQ(runCycle(), 5);
    EXPECT_THAT(editorTitles(),
                ElementsAre("3通メールが来ています。", "1通目:" + fake::MessageShown(1),
                            "2通目:" + fake::MessageShown(2), "3通目:" + fake::MessageShown(3),
                            "以上3通メールが来ています。", "以上3通メールが来ています。",
                            fake::kEditorTitle));
    EXPECT_EQ(fake.windows.titleOf(fake::kEditor), fake::kEditorTitle);
    EXPECT_TRUE(timerOn("check timer"));
    EXPECT_FALSE(timerOn("display timer"));
    EXPECT_THAT(fake.ui.messageBoxes, IsEmpty());
}

// How each way out of a check leaves the timers, for a check the check
// timer started (the check timer is off on entry).
TEST_F(MailCheck, EachWayOutOfACheckLeavesBothTimersAsExpected) {
    struct Case {
        const char* name;
        std::function<void()> setUp;
        bool checkTimerOn;
        bool displayTimerOn;
        bool result;
    };
    const Case cases[] = {
        {"server not reached, errors shown",
         [&] {
             mark(ctl::ShowErrors, true);
             fake.mail.replies.push_back(platform::MailReply::Text("connection refused"));
         },
         false, false, false},
        {"empty mailbox", [&] { mailbox(0); }, true, false, true},
        {"nothing new under once-only",
         [&] {
             announcedOnce(3);
             mailbox(3);
         },
         true, false, false},
        {"fewer than announced",
         [&] {
             announcedOnce(5);
             mailbox(3);
         },
         true, false, false},
        {"announcement", [&] { mailbox(2); }, false, true, true},
        {"status without a count",
         [&] { fake.mail.replies.push_back(platform::MailReply::List({"3"})); }, true, false,
         false},
    };
    for (const Case& c : cases) {
        startInTray();
        c.setUp();
        timer("check timer").setEnabled(false);
        EXPECT_EQ(program->CheckMail(), c.result) << c.name;
        EXPECT_EQ(timerOn("check timer"), c.checkTimerOn) << c.name;
        EXPECT_EQ(timerOn("display timer"), c.displayTimerOn) << c.name;
        // Only an announcement touches a title.
        EXPECT_EQ(fake.windows.titlesWritten.empty(), !c.displayTimerOn) << c.name;
        program.reset();
        fake.mail.replies.clear();
        fake.ui.messageBoxes.clear();
        fake.windows.titlesWritten.clear();
    }
}

TEST_F(MailCheck, AFailedStatusWithErrorsShownGivesTheServersTextThenTheSettingsHint) {
    startInTray();
    mark(ctl::ShowErrors, true);
    fake.mail.replies.push_back(platform::MailReply::Text("-ERR authentication failed"));

    EXPECT_FALSE(program->CheckMail());
    EXPECT_THAT(
        lines("box "),
        ElementsAre(
            "box [Vantorel] \"-ERR authentication failed\"",
            "box [Vantorel] \"エラー:設定が正しいか、又はオンラインか確認してください。\""));
    EXPECT_THAT(fake.mail.commands, ElementsAre("STAT"));
    EXPECT_THAT(titleWrites(), IsEmpty());
}

TEST_F(MailCheck, AFailedStatusWithErrorsHiddenNeverAnnouncesAnEarlierCount) {
    startInTray();
    mark(ctl::ShowErrors, false);
    mailbox(2);
    timerCheck();
    runCycle();
    fake.transcript.clear();

    fake.mail.answer = nullptr;  // the server is gone
    fake.mail.replies.push_back(platform::MailReply::Text("connect: timed out"));
    timer("check timer").setEnabled(false);
    EXPECT_FALSE(program->CheckMail());
    EXPECT_TRUE(timerOn("check timer"));
    EXPECT_FALSE(timerOn("display timer"));
    EXPECT_THAT(titleWrites(), IsEmpty());
    EXPECT_THAT(lines("box "), IsEmpty());
    EXPECT_THAT(lines("flash "), IsEmpty());
    EXPECT_EQ(fake.mail.commands.back(), "STAT");
}

TEST_F(MailCheck, ZeroMailsAreAnnouncedWithTheZeroOptionWithoutBoxOrSound) {
    fake.profile.set("SOUND", "ENABLE", "TRUE");
    startInTray();
    mark(ctl::AnnounceZero, true);
    mark(ctl::RestoreTitles, true);
    mark(ctl::ShowErrors, true);
    mailbox(0);

    EXPECT_TRUE(program->CheckMail());
    EXPECT_THAT(fake.mail.commands, ElementsAre("STAT", "LIST 1-0"));
    EXPECT_THAT(lines("box "), IsEmpty());
    EXPECT_THAT(lines("sound play"), IsEmpty());
    EXPECT_EQ(runCycle(), 2);
    EXPECT_THAT(editorTitles(),
                ElementsAre("0通メールが来ています。", "以上0通メールが来ています。",
                            "以上0通メールが来ています。", fake::kEditorTitle));
}

TEST_F(MailCheck, TheSoundPlaysWithTheAnnouncementAndStopsWithTheCycle) {
    fake.profile.set("SOUND", "ENABLE", "TRUE");
    fake.profile.set("SOUND", "WAVEPATH", "/sounds/old.wav");
    App& app = startInTray();
    fake.profile.set("SOUND", "WAVEPATH", "/sounds/new.wav");
    mailbox(3);

    timerCheck();
    EXPECT_TRUE(app.display().soundOn());
    EXPECT_THAT(lines("sound "), ElementsAre("sound play \"/sounds/new.wav\""));
    EXPECT_TRUE(fake.player.playing);
    runCycle();
    EXPECT_FALSE(fake.player.open);
    EXPECT_EQ(lines("sound ").back(), "sound stop");
}

TEST_F(MailCheck, TheLabelsAreReadFromTheSettingsAtEachAnnouncement) {
    fake.profile.set("TITLEBAR", "SUBJECT", "件名:");
    fake.profile.set("TITLEBAR", "FROM", "差出人:");
    fake.profile.set("TITLEBAR", "DATE", "日付:");
    startInTray();
    fake.mail.replies = {platform::MailReply::List({"1 300"}),
                         platform::MailReply::List({fake::Summary("会議", "tanaka", "Mon")})};
    program->CheckMail();
    runCycle();
    EXPECT_THAT(editorTitles(),
                ElementsAre("1通メールが来ています。", "1通目:件名:会議 差出人:tanaka 日付:Mon",
                            "以上1通メールが来ています。"));
}

// The once-only option over five checks of a mailbox holding 3, 5, 5, 4
// and 4 messages.
TEST_F(MailCheck, OnceOnlyAnnouncesOnlyWhatIsNewUntilMessagesAreRemoved) {
    startInTray();
    mark(ctl::OnceOnly, true);

    mailbox(3);
    EXPECT_TRUE(program->CheckMail());
    EXPECT_EQ(program->display().current().position, 1);
    EXPECT_EQ(program->display().current().shownBase, 0);
    EXPECT_EQ(program->mailCheck().announced(), 3);
    runCycle();

    mailbox(5);
    fake.windows.titlesWritten.clear();
    EXPECT_TRUE(program->CheckMail());
    EXPECT_EQ(fake.mail.commands.back(), "LIST 1-5");
    EXPECT_EQ(program->display().current().position, 4);
    EXPECT_EQ(program->display().current().shownBase, 3);
    EXPECT_EQ(program->mailCheck().announced(), 5);
    runCycle();
    EXPECT_THAT(editorTitles(),
                ElementsAre("2通メールが来ています。", "1通目:" + fake::MessageShown(4),
                            "2通目:" + fake::MessageShown(5), "以上2通メールが来ています。"));

    fake.windows.titlesWritten.clear();
    EXPECT_FALSE(program->CheckMail());  // nothing new
    EXPECT_EQ(program->mailCheck().announced(), 5);

    mailbox(4);
    EXPECT_FALSE(program->CheckMail());  // one removed: all again next time
    EXPECT_EQ(program->mailCheck().announced(), 0);
    EXPECT_THAT(editorTitles(), IsEmpty());

    EXPECT_TRUE(program->CheckMail());
    EXPECT_EQ(program->display().current().newCount, 4);
    EXPECT_EQ(program->display().current().position, 1);
    EXPECT_EQ(program->mailCheck().announced(), 4);
}

TEST_F(MailCheck, AMailboxOfSixtyMessagesIsAnnouncedWhole) {
    startInTray();
    mailbox(60);
    timerCheck();
    EXPECT_EQ(fake.mail.commands.back(), "LIST 1-60");
    EXPECT_EQ(runCycle(), 61);
    const auto titles = editorTitles();
    ASSERT_EQ(titles.size(), 62u);
    EXPECT_EQ(titles.front(), "60通メールが来ています。");
    EXPECT_EQ(titles[51], "51通目:" + fake::MessageShown(51));
    EXPECT_EQ(titles[60], "60通目:" + fake::MessageShown(60));
    EXPECT_EQ(titles.back(), "以上60通メールが来ています。");
}

TEST_F(MailCheck, AFailedListShowsEmptyEntriesNeverAnEarlierChecksMail) {
    startInTray();
    mailbox(3);
    program->CheckMail();
    runCycle();
    fake.windows.titlesWritten.clear();

    fake.mail.answer = nullptr;
    fake.mail.replies = {platform::MailReply::List({"2 100"}),
                         platform::MailReply::Text("-ERR mailbox locked")};
    EXPECT_TRUE(program->CheckMail());
    runCycle();
    EXPECT_THAT(editorTitles(),
                ElementsAre("2通メールが来ています。", "1通目:Subject: From: Date:",
                            "2通目:Subject: From: Date:", "以上2通メールが来ています。"));
}

// A check from the tray menu while an announcement still runs on the same
// window: the title given back at the end is the window's own.
TEST_F(MailCheck, ASecondAnnouncementOnTheSameWindowRestoresTheWindowsOwnTitle) {
    startInTray();
    mark(ctl::RestoreTitles, true);
    mailbox(2);
    program->CheckMail();
    fake.tick("display timer");  // "1通目:..." in the title now

    mailbox(3);
    fake.transcript.clear();
    EXPECT_TRUE(program->CheckMail());
    EXPECT_EQ(program->display().current().savedTitle, fake::kEditorTitle);
    EXPECT_THAT(titleReads(), IsEmpty());
    runCycle();
    EXPECT_EQ(fake.windows.titleOf(fake::kEditor), fake::kEditorTitle);
}

TEST_F(MailCheck, ASecondAnnouncementOnAnotherWindowGivesTheFirstItsTitleBack) {
    constexpr platform::WindowHandle kBrowser = 0x40;
    startInTray();
    mark(ctl::RestoreTitles, true);
    fake.windows.add(kBrowser, "Browser");
    mailbox(2);
    program->CheckMail();
    fake.tick("display timer");

    fake.windows.foreground = kBrowser;
    mailbox(3);
    program->CheckMail();
    EXPECT_EQ(fake.windows.titleOf(fake::kEditor), fake::kEditorTitle);
    EXPECT_EQ(fake.windows.titleOf(kBrowser), "3通メールが来ています。");
    runCycle();
    EXPECT_EQ(fake.windows.titleOf(kBrowser), "Browser");
}

TEST_F(MailCheck, ANewAnnouncementIsNotSwallowedByAPendingRestore) {
    startInTray();
    mark(ctl::RestoreTitles, true);
    mailbox(1);
    program->CheckMail();
    fake.tick("display timer");
    fake.tick("display timer");  // the closing notice; the next tick would restore
    ASSERT_TRUE(program->display().restorePending());

    mailbox(2);
    EXPECT_TRUE(program->CheckMail());
    EXPECT_FALSE(program->display().restorePending());
    fake.windows.titlesWritten.clear();
    runCycle();
    EXPECT_THAT(editorTitles(),
                ElementsAre("1通目:" + fake::MessageShown(1), "2通目:" + fake::MessageShown(2),
                            "以上2通メールが来ています。", "以上2通メールが来ています。",
                            fake::kEditorTitle));
}

TEST_F(MailCheck, AFailingCheckLeavesARunningAnnouncementAndItsSoundAsTheyWere) {
    fake.profile.set("SOUND", "ENABLE", "TRUE");
    startInTray();
    mark(ctl::RestoreTitles, true);
    mailbox(3);
    program->CheckMail();
    fake.tick("display timer");
    ASSERT_TRUE(fake.player.playing);
    const std::string notice = fake.windows.titleOf(fake::kEditor);

    fake.mail.answer = nullptr;
    fake.mail.replies.push_back(platform::MailReply::List({"garbage"}));
    EXPECT_FALSE(program->CheckMail());
    EXPECT_TRUE(timerOn("check timer"));
    EXPECT_TRUE(timerOn("display timer"));
    EXPECT_TRUE(fake.player.playing);
    EXPECT_EQ(fake.windows.titleOf(fake::kEditor), notice);
}

TEST_F(MailCheck, ACountOutOfRangeDuringAnAnnouncementLetsItEndAsUsual) {
    startInTray();
    mailbox(3);
    program->CheckMail();
    fake.tick("display timer");
    fake.windows.titlesWritten.clear();

    fake.mail.answer = nullptr;
    fake.mail.replies.push_back(platform::MailReply::List({"99999 1"}));  // out of range
    EXPECT_FALSE(program->CheckMail());
    EXPECT_EQ(runCycle(), 3);
    EXPECT_THAT(editorTitles(),
                ElementsAre("2通目:" + fake::MessageShown(2), "3通目:" + fake::MessageShown(3),
                            "以上3通メールが来ています。"));
}

TEST_F(MailCheck, ACheckAskedForDuringACheckIsIgnored) {
    startInTray();
    mark(ctl::ShowErrors, true);
    fake.mail.replies.push_back(platform::MailReply::Text("-ERR busy"));
    bool nestedResult = true;
    bool asked = false;
    int minutesDuringBox = -1;
    fake.ui.whileMessageBoxOpen = [&](const std::string&) {
        if (asked) {
            return;
        }
        asked = true;
        const std::int16_t before = program->scheduler().minutes();
        nestedResult = program->CheckMail();    // "check now" from the tray menu
        EXPECT_TRUE(fake.tick("check timer"));  // a minute passes meanwhile
        minutesDuringBox = program->scheduler().minutes() - before;
    };
    timer("check timer").setEnabled(true);  // a check from the menu: the check timer runs

    EXPECT_FALSE(program->CheckMail());
    EXPECT_FALSE(nestedResult);
    EXPECT_EQ(minutesDuringBox, 0);
    EXPECT_THAT(fake.mail.commands, ElementsAre("STAT"));
    EXPECT_THAT(lines("connection"), IsEmpty());
    EXPECT_TRUE(timerOn("check timer"));  // periodic checking goes on
}

TEST_F(MailCheck, AMissingMailLibraryIsShownOnceWhenErrorsAreShown) {
    startInTray();
    mark(ctl::ShowErrors, false);
    fake.mail.missing = true;
    timer("check timer").setEnabled(false);
    EXPECT_FALSE(program->CheckMail());
    EXPECT_TRUE(timerOn("check timer"));
    EXPECT_FALSE(timerOn("display timer"));
    EXPECT_THAT(fake.ui.messageBoxes, IsEmpty());

    mark(ctl::ShowErrors, true);
    EXPECT_FALSE(program->CheckMail());
    EXPECT_FALSE(program->CheckMail());
    EXPECT_THAT(fake.ui.messageBoxes, ElementsAre(kLibraryMissingBox));

    // Other failures of the check show nothing.
    fake.mail.missing = false;
    fake.mail.replies.push_back(platform::MailReply::List({}));  // a status without elements
    EXPECT_FALSE(program->CheckMail());
    EXPECT_EQ(fake.ui.messageBoxes.size(), 1u);
}

}  // namespace
}  // namespace vantorel

namespace vantorel {
namespace {

using ::testing::IsEmpty;

class ExitDuringACheck : public fake::CheckFixture {};

TEST_F(ExitDuringACheck, ACheckWaitingOnTheServerEndsWithoutTouchingAnyWindow) {
    startInTray();
    mailbox(3);
    // The user ends the program from the tray menu while the server is asked.
    fake.mail.duringCall = [&] { mainForm().userClicks(ctl::Exit); };

    EXPECT_FALSE(program->CheckMail());
    EXPECT_TRUE(fake.ui.quitRequested);
    EXPECT_THAT(fake.mail.commands, ::testing::ElementsAre("STAT"));
    EXPECT_THAT(titleWrites(), IsEmpty());
    EXPECT_THAT(lines("foreground"), IsEmpty());
    EXPECT_FALSE(timer("check timer").isEnabled());
    EXPECT_FALSE(timer("display timer").isEnabled());
    EXPECT_FALSE(fake.tray.icon.has_value());
}

TEST_F(ExitDuringACheck, AnExitWhileTheListIsFetchedWritesNoNotice) {
    startInTray();
    mailbox(2);
    fake.mail.duringCall = [&] {
        if (fake.mail.commands.size() == 2) {  // "LIST 1-2"
            mainForm().userClicks(ctl::Exit);
        }
    };

    EXPECT_FALSE(program->CheckMail());
    EXPECT_THAT(titleWrites(), IsEmpty());
    EXPECT_THAT(lines("flash "), IsEmpty());
    EXPECT_FALSE(timer("check timer").isEnabled());
    EXPECT_FALSE(timer("display timer").isEnabled());
}

}  // namespace
}  // namespace vantorel
