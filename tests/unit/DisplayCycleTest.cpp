// The display cycle: the notices written tick by tick, the labelled
// summaries, and how the cycle ends.

#include <gmock/gmock.h>

#include "CheckFixture.h"
#include "notify/NoticeText.h"

namespace vantorel {
namespace {

using ::testing::ElementsAre;

class DisplayCycleTest : public fake::CheckFixture {
  protected:
    // What both timers were told, in the order it came.
    std::vector<std::string> timerLines() {
        std::vector<std::string> found;
        for (const std::string& line : fake.transcript.lines()) {
            if (line.starts_with("check timer") || line.starts_with("display timer")) {
                found.push_back(line);
            }
        }
        return found;
    }
};

TEST(NoticeText, TheMarkersOfASummaryBecomeTheUsersLabels) {
    const std::string entry = fake::Summary("見積もり", "sato@example.jp", "Tue, 2 Apr");
    EXPECT_EQ(LabelledEntry(entry, "Subject:", "From:", "Date:"),
              "Subject:見積もり From:sato@example.jp Date:Tue, 2 Apr");
    EXPECT_EQ(LabelledEntry(entry, "件名:", "差出人:", "日付:"),
              "件名:見積もり 差出人:sato@example.jp 日付:Tue, 2 Apr");
    // Empty labels: the subject comes first, sender and date after one space.
    EXPECT_EQ(LabelledEntry(entry, "", "", ""), "見積もり sato@example.jp Tue, 2 Apr");
    // A marker inside the subject is rewritten the same way.
    EXPECT_EQ(LabelledEntry(fake::Summary("a\tFrom:b", "c", "d"), "S:", "F:", "D:"),
              "S:a F:b F:c D:d");
    // The first 8 bytes are dropped whatever they say.
    EXPECT_EQ(LabelledEntry("Betreff:Hallo\tFrom:x\tDate:y", "S:", "F:", "D:"), "S:Hallo F:x D:y");
}

TEST(NoticeText, ShortOrOddEntriesShowTheLabelsWithEmptyFields) {
    for (const char* entry : {"", "Subj", "Subject", "件名:会議\tFrom:x\tDate:y", "\xE4\xBB"}) {
        EXPECT_EQ(LabelledEntry(entry, "S:", "F:", "D:"), "S: F: D:") << entry;
    }
    EXPECT_EQ(LabelledEntry("Subject:", "S:", "F:", "D:"), "S:");
    EXPECT_EQ(LabelledEntry("Subject:件名", "S:", "F:", "D:"), "S:件名");
}

TEST_F(DisplayCycleTest, WithoutTheRestoreOptionTheClosingNoticeStays) {
    startInTray();
    mark(ctl::RestoreTitles, false);
    mailbox(2);
    program->CheckMail();

    fake.transcript.clear();
    EXPECT_EQ(runCycle(), 3);
    EXPECT_THAT(timerLines(), ElementsAre("check timer off", "check timer off", "check timer off",
                                          "check timer on", "display timer off"));
    EXPECT_EQ(fake.windows.titleOf(fake::kEditor), "以上2通メールが来ています。");
    EXPECT_FALSE(program->display().restorePending());
}

TEST_F(DisplayCycleTest, TheRestoreOptionSwitchedOffBeforeTheLastTickKeepsTheNotice) {
    startInTray();
    mark(ctl::RestoreTitles, true);
    mailbox(1);
    program->CheckMail();
    fake.tick("display timer");
    fake.tick("display timer");
    ASSERT_TRUE(program->display().restorePending());

    mark(ctl::RestoreTitles, false);
    EXPECT_TRUE(fake.tick("display timer"));
    EXPECT_FALSE(program->display().restorePending());
    EXPECT_FALSE(timerOn("display timer"));
    EXPECT_EQ(fake.windows.titleOf(fake::kEditor), "以上1通メールが来ています。");
}

TEST_F(DisplayCycleTest, OnceOnlyNumbersTheNewMessagesFromOne) {
    startInTray();
    mark(ctl::OnceOnly, true);
    mailbox(2);
    program->CheckMail();
    runCycle();

    mailbox(5);
    fake.windows.titlesWritten.clear();
    program->CheckMail();
    runCycle();
    EXPECT_THAT(editorTitles(),
                ElementsAre("3通メールが来ています。", "1通目:" + fake::MessageShown(3),
                            "2通目:" + fake::MessageShown(4), "3通目:" + fake::MessageShown(5),
                            "以上3通メールが来ています。"));

    // With the option off again, every message is numbered from 1.
    mark(ctl::OnceOnly, false);
    fake.windows.titlesWritten.clear();
    program->CheckMail();
    EXPECT_EQ(runCycle(), 6);
    EXPECT_EQ(editorTitles().at(1), "1通目:" + fake::MessageShown(1));
    EXPECT_EQ(editorTitles().at(5), "5通目:" + fake::MessageShown(5));
}

TEST_F(DisplayCycleTest, ADisplayIntervalOfZeroUsesThreeSecondsSoTheCycleEnds) {
    acceptedSettings("3", "");  // a hand-edited file without a display interval
    fake.windows.add(fake::kEditor, fake::kEditorTitle);
    fake.windows.foreground = fake::kEditor;
    start();
    ASSERT_EQ(timer("display timer").period(), 0u);
    mailbox(1);

    timerCheck();
    EXPECT_EQ(timer("display timer").period(), vantorel::DisplayCycle::kDisplayTimerDesignPeriodMs);
    EXPECT_EQ(runCycle(), 2);
    EXPECT_TRUE(timerOn("check timer"));
    EXPECT_FALSE(timerOn("display timer"));
}

TEST_F(DisplayCycleTest, ANegativeCountFromALaterCheckLeavesTheCycleAlone) {
    startInTray();
    mailbox(3);
    program->CheckMail();
    fake.tick("display timer");
    fake.tick("display timer");
    // A hostile server reports a negative count to a check from the menu.
    fake.mail.answer = nullptr;
    fake.mail.replies.push_back(platform::MailReply::List({"-5 0"}));
    EXPECT_FALSE(program->CheckMail());
    EXPECT_TRUE(timerOn("display timer"));
    EXPECT_EQ(runCycle(), 2);
    EXPECT_EQ(fake.windows.titleOf(fake::kEditor), "以上3通メールが来ています。");
}

TEST_F(DisplayCycleTest, TheLargestIndexEndsTheListWithoutOverflow) {
    startInTray();
    Announcement last;
    last.lastIndex = kInt16Max;
    last.position = kInt16Max - 1;
    last.newCount = 2;
    last.targetWindow = fake::kEditor;
    program->display().show(last);
    EXPECT_EQ(runCycle(), 2);
    EXPECT_EQ(program->display().current().position, kInt16Max);
    EXPECT_EQ(fake.windows.titleOf(fake::kEditor), "以上2通メールが来ています。");
}

}  // namespace
}  // namespace vantorel
