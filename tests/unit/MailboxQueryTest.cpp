// The mailbox query: one command through the mail library, the reply filed
// in the reply lists and, for "STAT", the message count taken from it.

#include <gmock/gmock.h>

#include "CheckFixture.h"
#include "platform/RuntimeFailure.h"

namespace vantorel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class MailboxQuery : public fake::CheckFixture {
  protected:
    bool stat(const std::string& element) {
        fake.mail.replies.push_back(platform::MailReply::List({element}));
        return program->mailCheck().query("STAT");
    }
};

TEST_F(MailboxQuery, TheStatusIsFiledAndGivesTheCount) {
    App& app = startInTray();
    EXPECT_TRUE(stat("3 456"));
    EXPECT_EQ(app.mailCheck().messageCount(), 3);
    EXPECT_TRUE(app.mailCheck().mailPresent());
    EXPECT_THAT(app.mailCheck().filed(), ElementsAre("3 456"));
    EXPECT_THAT(app.mailCheck().lastReply(), ElementsAre("", "3 456"));
    EXPECT_THAT(lines("RcvMail"),
                ElementsAre("RcvMail mail.example bob [password] STAT /opt/vantorel/save"));
    EXPECT_THAT(fake.mail.passwords, ElementsAre("secret"));

    // An edited settings file takes effect at the next command.
    fake.profile.set("USERINFO", "REMOTEHOST", "pop.example.org");
    fake.profile.set("USERINFO", "PASSWORD", "");
    stat("0 0");
    EXPECT_EQ(lines("RcvMail").back(),
              "RcvMail pop.example.org bob [no password] STAT /opt/vantorel/save");
    EXPECT_EQ(fake.mail.passwords.back(), "");
}

TEST_F(MailboxQuery, TheCountIsTheLeadingNumberBeforeTheFirstSpace) {
    const std::pair<const char*, int> cases[] = {{"0 0", 0},        {"12abc 99", 12}, {" 7", 0},
                                                 {"2.5 1", 2},      {"3.5 1", 4},     {"-4 0", -4},
                                                 {"32767 1", 32767}};
    App& app = startInTray();
    for (const auto& [element, count] : cases) {
        EXPECT_TRUE(stat(element)) << element;
        EXPECT_EQ(app.mailCheck().messageCount(), count) << element;
        EXPECT_EQ(app.mailCheck().mailPresent(), count != 0) << element;
    }
}

TEST_F(MailboxQuery, AStatusWithoutACountIsARunTimeFailure) {
    App& app = startInTray();
    stat("2 100");
    for (const char* element : {"3", "", "40000 1", "-40000 1"}) {
        EXPECT_THROW(stat(element), RuntimeFailure) << element;
        EXPECT_EQ(app.mailCheck().messageCount(), 2) << element;
    }
    fake.mail.replies.push_back(platform::MailReply::List({}));
    EXPECT_THROW(program->mailCheck().query("STAT"), RuntimeFailure);
}

TEST_F(MailboxQuery, AFailureTextIsShownOnlyWithTheErrorMarkAndNeverForNoMessages) {
    App& app = startInTray();
    stat("2 100");
    stat("0 0");
    ASSERT_FALSE(app.mailCheck().mailPresent());

    mark(ctl::ShowErrors, false);
    fake.mail.replies.push_back(platform::MailReply::Text("-ERR no such user"));
    EXPECT_FALSE(app.mailCheck().query("STAT"));
    EXPECT_THAT(fake.ui.messageBoxes, IsEmpty());
    EXPECT_TRUE(app.mailCheck().mailPresent());
    EXPECT_EQ(app.mailCheck().messageCount(), 0);

    mark(ctl::ShowErrors, true);
    fake.mail.replies.push_back(platform::MailReply::Text("-ERR no such user"));
    EXPECT_FALSE(app.mailCheck().query("STAT"));
    fake.mail.replies.push_back(platform::MailReply::Text("No Message+OK 0 0"));
    EXPECT_FALSE(app.mailCheck().query("LIST 1-0"));
    EXPECT_THAT(lines("box "), ElementsAre("box [Vantorel] \"-ERR no such user\""));
    EXPECT_THAT(app.mailCheck().filed(), ElementsAre("2 100", "0 0"));
    EXPECT_THAT(app.mailCheck().lastReply(), ElementsAre("", "0 0"));
}

TEST_F(MailboxQuery, TheListFollowsTheStatusSoThatIndexJIsMessageJ) {
    App& app = startInTray();
    stat("2 100");
    fake.mail.replies.push_back(
        platform::MailReply::List({fake::MessageSummary(1), fake::MessageSummary(2)}));
    EXPECT_TRUE(app.mailCheck().query("LIST 1-2"));
    EXPECT_TRUE(app.mailCheck().mailPresent());
    EXPECT_EQ(app.mailCheck().messageCount(), 2);
    EXPECT_THAT(app.mailCheck().filed(),
                ElementsAre("2 100", fake::MessageSummary(1), fake::MessageSummary(2)));
    EXPECT_THAT(app.mailCheck().lastReply(),
                ElementsAre("", fake::MessageSummary(1), fake::MessageSummary(2)));
}

TEST_F(MailboxQuery, ACheckFilesNoMoreElementsThanItsCountCanNumber) {
    App& app = startInTray();
    fake.mail.replies.push_back(
        platform::MailReply::List(std::vector<std::string>(kInt16Max + 1, "x")));
    EXPECT_THROW(app.mailCheck().query("LIST 1-32768"), RuntimeFailure);
    EXPECT_EQ(app.mailCheck().filed().size(), static_cast<std::size_t>(kInt16Max));
}

}  // namespace
}  // namespace vantorel
