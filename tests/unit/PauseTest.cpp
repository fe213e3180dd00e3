// "一時停止" holds: while it carries its check mark, no check and no display
// cycle switches periodic checking back on, nor does the basic-settings OK.
// A check asked for by hand still runs, and clearing the mark resumes.

#include <gmock/gmock.h>

#include <functional>

#include "CheckFixture.h"

namespace vantorel {
namespace {

using ::testing::ElementsAre;

class Pause : public fake::CheckFixture {
  protected:
    void pause() {
        mainForm().userClicks(ctl::Pause);
        ASSERT_TRUE(marked(ctl::Pause));
        ASSERT_FALSE(timerOn("check timer"));
    }

    // Clearing the mark resumes: the count starts again from 0.
    void expectResumeOnClearing() {
        program->scheduler().setMinutes(2);
        mainForm().userClicks(ctl::Pause);
        EXPECT_FALSE(marked(ctl::Pause));
        EXPECT_TRUE(timerOn("check timer"));
        EXPECT_EQ(program->scheduler().minutes(), 0);
    }
};

TEST_F(Pause, ACheckByHandRunsButLeavesCheckingPausedWhateverItsEnd) {
    struct Case {
        const char* name;
        std::function<void()> setUp;
    };
    const Case cases[] = {
        {"empty mailbox", [&] { mailbox(0); }},
        {"server not reached, errors hidden",
         [&] {
             mark(ctl::ShowErrors, false);
             fake.mail.replies.push_back(platform::MailReply::Text("connect: timed out"));
         }},
        {"nothing new under once-only",
         [&] {
             announcedOnce(2);
             mailbox(2);
         }},
        {"fewer than announced",
         [&] {
             announcedOnce(5);
             mailbox(2);
         }},
        {"status without a count",
         [&] { fake.mail.replies.push_back(platform::MailReply::List({"3"})); }},
        {"announcement", [&] { mailbox(2); }},
    };
    for (const Case& c : cases) {
        startInTray();
        pause();
        c.setUp();
        mainForm().userClicks(ctl::CheckNow);
        EXPECT_THAT(fake.mail.commands, testing::Contains("STAT")) << c.name;
        runCycle();
        EXPECT_FALSE(timerOn("check timer")) << c.name;
        EXPECT_FALSE(timerOn("display timer")) << c.name;
        EXPECT_TRUE(marked(ctl::Pause)) << c.name;
        expectResumeOnClearing();
        program.reset();
        fake.mail.commands.clear();
        fake.mail.replies.clear();
    }
}

TEST_F(Pause, TheBasicSettingsOKGoesToTheTrayWithCheckingStillPaused) {
    startInTray();
    pause();
    mainForm().userClicks(ctl::OpenSettings);
    mainForm().userTypes(ctl::IntervalBox, "7");
    mainForm().userClicks(ctl::OkButton);
    EXPECT_EQ(fake.profile.value("USERINFO", "INTERVAL"), "7");
    EXPECT_FALSE(mainForm().isVisible());
    EXPECT_TRUE(fake.tray.icon.has_value());
    EXPECT_FALSE(timerOn("check timer"));
    EXPECT_TRUE(marked(ctl::Pause));
    expectResumeOnClearing();
}

TEST_F(Pause, AnOKWhoseSettingsCannotBeWrittenLeavesCheckingPaused) {
    startInTray();
    pause();
    mainForm().userClicks(ctl::OpenSettings);
    fake.profile.refusedKeys = {"REMOTEHOST"};
    mainForm().userClicks(ctl::OkButton);
    EXPECT_TRUE(mainForm().isVisible());
    EXPECT_THAT(fake.ui.messageBoxes,
                ElementsAre(testing::HasSubstr("設定を保存できませんでした")));
    EXPECT_FALSE(timerOn("check timer"));
}

}  // namespace
}  // namespace vantorel
