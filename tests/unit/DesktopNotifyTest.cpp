// Where no title can take an announcement, a desktop notification carries
// it: the arrival notice as its summary and the first messages as
// "subject — sender" lines. "デスクトップにも通知する" shows one with
// every announcement, as well as the title.

#include <gmock/gmock.h>

#include <string>

#include "CheckFixture.h"
#include "notify/DesktopNotice.h"

namespace vantorel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class DesktopNotify : public fake::CheckFixture {};

TEST_F(DesktopNotify, NoWindowInFrontGivesOneNotificationWithTheMessages) {
    startInTray();
    fake.windows.foreground = 0;
    fake.mail.answer = [](const std::string& command) {
        if (command == "STAT") {
            return platform::MailReply::List({"2 4096"});
        }
        return platform::MailReply::List(
            {fake::Summary("会議の件", "山田 <yamada@example.jp>", "Mon"),
             fake::Summary("請求書", "billing@example.com", "Tue")});
    };
    mainForm().userClicks(ctl::CheckNow);
    runCycle();
    EXPECT_THAT(lines("notify"), ElementsAre("notify 2通メールが来ています。 | 会議の件 — 山田 "
                                             "<yamada@example.jp> / 請求書 — billing@example.com"));
}

TEST_F(DesktopNotify, ARefusedTitleWriteFallsBackToANotification) {
    startInTray();
    fake.windows.windows[fake::kEditor].alive = false;
    mailbox(1);
    mainForm().userClicks(ctl::CheckNow);
    EXPECT_THAT(lines("notify"),
                ElementsAre("notify 1通メールが来ています。 | 件名1 — sender1@example.jp"));
}

TEST_F(DesktopNotify, AWrittenTitleGivesNoNotificationUnlessTheOptionAsks) {
    startInTray();
    mailbox(1);
    mainForm().userClicks(ctl::CheckNow);
    runCycle();
    EXPECT_THAT(lines("notify"), IsEmpty());
    EXPECT_EQ(editorTitles().front(), "1通メールが来ています。");

    fake.transcript.clear();
    mainForm().userClicks(ctl::NotifyDesktop);
    EXPECT_THAT(lines("ini write"), ElementsAre("ini write [OPTION] NOTIFY = True"));
    mainForm().userClicks(ctl::CheckNow);
    const auto all = fake.transcript.lines();
    const auto title =
        std::find(all.begin(), all.end(), "title 0x10 := \"1通メールが来ています。\"");
    const auto notice = std::find(all.begin(), all.end(),
                                  "notify 1通メールが来ています。 | 件名1 — sender1@example.jp");
    ASSERT_NE(title, all.end()) << fake.transcript.dump();
    EXPECT_LT(title, notice);

    fake.transcript.clear();
    mainForm().userClicks(ctl::NotifyDesktop);
    EXPECT_THAT(lines("ini write"), ElementsAre("ini write [OPTION] NOTIFY = False"));
}

TEST_F(DesktopNotify, TheOptionIsReadAtStartWithFalseForAMissingOrOddValue) {
    const std::pair<const char*, bool> cases[] = {
        {"True", true}, {"False", false}, {"", false}, {"yes", false}, {"1", true}};
    for (const auto& [value, checked] : cases) {
        fake.profile.clear();
        if (*value != '\0') {
            fake.profile.set("OPTION", "NOTIFY", value);
        }
        startInTray();
        EXPECT_EQ(marked(ctl::NotifyDesktop), checked) << value;
    }
}

TEST_F(DesktopNotify, AMissingNotificationServiceIsToldOnStandardErrorOnly) {
    startInTray();
    fake.windows.foreground = 0;
    fake.notifier.missing = true;
    mailbox(1);
    mainForm().userClicks(ctl::CheckNow);
    EXPECT_THAT(lines("stderr"),
                ElementsAre("stderr: the desktop notification could not be shown"));
    EXPECT_THAT(fake.ui.messageBoxes, IsEmpty());
}

TEST_F(DesktopNotify, AFailedCheckWithErrorsShownUsesTheBoxNotANotification) {
    startInTray();
    fake.windows.foreground = 0;
    fake.mail.answer = [](const std::string&) { return platform::MailReply::Text("timed out"); };
    mainForm().userClicks(ctl::CheckNow);
    EXPECT_THAT(lines("notify"), IsEmpty());
    EXPECT_FALSE(fake.ui.messageBoxes.empty());
}

Announcement Announced(int mailCount, int first) {
    Announcement a;
    a.lastIndex = static_cast<std::int16_t>(mailCount);
    a.position = static_cast<std::int16_t>(first);
    a.newCount = static_cast<std::int16_t>(mailCount - first + 1);
    a.entries.emplace_back();
    for (int n = 1; n <= mailCount; ++n) {
        a.entries.push_back(fake::MessageSummary(n));
    }
    a.subjectLabel = "Subject:";
    a.fromLabel = "From:";
    a.dateLabel = "Date:";
    return a;
}

TEST(AnnouncementNotice, ListsTheFirstNewMessagesAndCountsTheRest) {
    const platform::DesktopNotice notice = AnnouncementNotice(Announced(9, 3));
    EXPECT_EQ(notice.summary, "7通メールが来ています。");
    EXPECT_EQ(notice.body,
              "件名3 — sender3@example.jp\n件名4 — sender4@example.jp\n件名5 — sender5@example.jp\n"
              "件名6 — sender6@example.jp\n件名7 — sender7@example.jp\nほか2通");
}

TEST(AnnouncementNotice, UsesTheUsersOwnLabelsAndCopesWithOddOrMissingEntries) {
    Announcement a = Announced(3, 1);
    a.subjectLabel = "件名:";
    a.fromLabel = "差出人:";
    a.entries[2] = "odd";
    a.entries.resize(3);  // message 3 was not listed
    EXPECT_EQ(AnnouncementNotice(a).body,
              "件名:件名1 — 差出人:sender1@example.jp\n件名: — 差出人:\n件名: — 差出人:");
}

TEST(AnnouncementNotice, AnAnnouncementOfNoMailHasNoLines) {
    Announcement a = Announced(0, 1);
    a.newCount = 0;
    const platform::DesktopNotice notice = AnnouncementNotice(a);
    EXPECT_EQ(notice.summary, "0通メールが来ています。");
    EXPECT_EQ(notice.body, "");
}

}  // namespace
}  // namespace vantorel
