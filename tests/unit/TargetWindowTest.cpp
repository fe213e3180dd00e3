// The target window: climbing to the outermost window, saving its title
// and writing into it.

#include <gmock/gmock.h>

#include "CheckFixture.h"
#include "notify/TopLevelWindow.h"

namespace vantorel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class TargetWindow : public fake::CheckFixture {
  protected:
    platform::WindowHandle climb(platform::WindowHandle from) {
        fake.transcript.clear();
        return TopLevelWindowOf(fake.windows, from);
    }
};

TEST_F(TargetWindow, TheClimbFollowsParentsAndOwnersToTheOutermostWindow) {
    fake.windows.add(0x10, "Application");
    fake.windows.add(0x11, "Dialog", 0x10);  // owned by the application
    fake.windows.add(0x12, "", 0x11);        // an edit control in the dialog
    EXPECT_EQ(climb(0x12), 0x10u);
    EXPECT_THAT(lines("parent of"), ElementsAre("parent of 0x12 -> 0x11", "parent of 0x11 -> 0x10",
                                                "parent of 0x10 -> 0x0"));
    EXPECT_EQ(climb(0x10), 0x10u);
    EXPECT_EQ(climb(0), 0u);
}

TEST_F(TargetWindow, TheClimbStopsAtSelfParentsAndHandlesThatNameNoWindow) {
    fake.windows.add(0x20, "Self", 0x20);
    EXPECT_EQ(climb(0x20), 0x20u);

    fake.windows.add(0x30, "Child", 0x80000000);  // negative as a 32-bit handle
    EXPECT_EQ(climb(0x30), 0x30u);
    fake.windows.add(0x31, "Child", 0xFFFFFFFE);
    EXPECT_EQ(climb(0x31), 0x31u);
    fake.windows.add(0x32, "Child", 0x100000000);  // low 32 bits 0
    EXPECT_EQ(climb(0x32), 0x32u);

    fake.windows.add(0x33, "Child", 0x7FFFFFFF);  // the largest positive handle
    fake.windows.add(0x7FFFFFFF, "Top");
    EXPECT_EQ(climb(0x33), 0x7FFFFFFFu);
}

TEST_F(TargetWindow, TheClimbEndsInACycleOfOwnersAndInAnEndlessChain) {
    fake.windows.add(0x41, "A", 0x42);
    fake.windows.add(0x42, "B", 0x43);
    fake.windows.add(0x43, "C", 0x41);
    EXPECT_EQ(climb(0x41), 0x43u);
    EXPECT_EQ(lines("parent of").size(), 3u);

    constexpr platform::WindowHandle kFirst = 0x1000;
    constexpr int kChain = 100;
    for (int i = 0; i < kChain; ++i) {
        fake.windows.add(kFirst + i, "link", kFirst + i + 1);
    }
    EXPECT_EQ(climb(kFirst), kFirst + 64);
    EXPECT_EQ(lines("parent of").size(), 65u);
}

TEST_F(TargetWindow, WithTheMouseOptionTheWindowUnderThePointerIsTheTarget) {
    startInTray();
    mark(ctl::UnderMouse, true);
    fake.windows.add(0x50, "Mailer");
    fake.windows.add(0x51, "Compose", 0x50);
    fake.windows.add(0x52, "", 0x51);
    fake.windows.cursor = {120, 340};
    fake.windows.underCursor = 0x52;
    mailbox(1);
    fake.transcript.clear();

    program->CheckMail();
    EXPECT_EQ(program->display().current().targetWindow, 0x50u);
    EXPECT_EQ(program->display().current().savedTitle, "Mailer");
    // The pointer, the window under it, the climb and the outermost window's title, in order.
    std::vector<std::string> reads;
    for (const std::string& line : fake.transcript.lines()) {
        for (const char* prefix : {"pointer", "window at", "parent of", "title 0x50 ->"}) {
            if (line.rfind(prefix, 0) == 0) {
                reads.push_back(line);
            }
        }
    }
    EXPECT_THAT(reads, ElementsAre("pointer -> (120,340)", "window at (120,340) -> 0x52",
                                   "parent of 0x52 -> 0x51", "parent of 0x51 -> 0x50",
                                   "parent of 0x50 -> 0x0", "title 0x50 -> \"Mailer\""));
    EXPECT_THAT(lines("foreground"), IsEmpty());
    EXPECT_EQ(fake.windows.titleOf(0x50), "1通メールが来ています。");
    EXPECT_EQ(fake.windows.titleOf(fake::kEditor), fake::kEditorTitle);
}

TEST_F(TargetWindow, LongAndEmptyTitlesAreGivenBackAsTheyWere) {
    std::string longTitle;
    for (int i = 0; i < 200; ++i) {
        longTitle += "長い題名";
    }
    for (const std::string& title : {longTitle, std::string()}) {
        startInTray();
        mark(ctl::RestoreTitles, true);
        fake.windows.add(fake::kEditor, title);
        mailbox(1);
        program->CheckMail();
        runCycle();
        EXPECT_EQ(editorTitles().back(), title);
        program.reset();
    }
}

TEST_F(TargetWindow, ATitleThatCouldNotBeReadIsNeverRestored) {
    // At the end of the cycle: the closing notice stays.
    startInTray();
    mark(ctl::RestoreTitles, true);
    fake.windows.windows[fake::kEditor].unreadable = true;
    mailbox(1);
    program->CheckMail();
    EXPECT_FALSE(program->display().current().savedTitleRead);
    runCycle();
    EXPECT_EQ(editorTitles().back(), "以上1通メールが来ています。");
    EXPECT_EQ(fake.windows.titleOf(fake::kEditor), "以上1通メールが来ています。");

    // Nor when the program ends in the middle of an announcement.
    mailbox(2);
    program->CheckMail();
    fake.tick("display timer");
    const std::size_t written = editorTitles().size();
    mainForm().userClicks(ctl::Exit);
    EXPECT_EQ(editorTitles().size(), written);

    // A title read again later is restored as usual.
    program.reset();
    startInTray();
    mark(ctl::RestoreTitles, true);
    mailbox(1);
    program->CheckMail();
    EXPECT_TRUE(program->display().current().savedTitleRead);
    runCycle();
    EXPECT_EQ(editorTitles().back(), fake::kEditorTitle);
}

TEST_F(TargetWindow, WithoutAForegroundWindowTheAnnouncementRunsIntoNothing) {
    startInTray();
    mark(ctl::RestoreTitles, true);
    fake.windows.foreground = 0;
    mailbox(1);
    EXPECT_TRUE(program->CheckMail());
    EXPECT_EQ(program->display().current().targetWindow, 0u);
    EXPECT_EQ(program->display().current().savedTitle, "");
    EXPECT_TRUE(fake.transcript.contains("window 0x0 exists -> false"));
    EXPECT_EQ(runCycle(), 3);
    EXPECT_THAT(titleWrites(),
                ElementsAre("title 0x0 := \"1通メールが来ています。\" failed",
                            "title 0x0 := \"1通目:" + fake::MessageShown(1) + "\" failed",
                            "title 0x0 := \"以上1通メールが来ています。\" failed",
                            "title 0x0 := \"以上1通メールが来ています。\" failed",
                            "title 0x0 := \"\" failed"));
    EXPECT_TRUE(timerOn("check timer"));
}

}  // namespace
}  // namespace vantorel
