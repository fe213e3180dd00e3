// The basic-settings window's OK and CANCEL.

#include <gmock/gmock.h>

#include "fake/ProgramFixture.h"

namespace vantorel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kNotSaved =
    "[Vantorel] 設定を保存できませんでした。\n/opt/vantorel/vantorel.ini";

class BasicSettings : public fake::ProgramFixture {
  protected:
    // The user fills the five boxes as given.
    void type(const std::string& host, const std::string& user, const std::string& password,
              const std::string& interval, const std::string& timerText) {
        mainForm().userTypes(ctl::ServerBox, host);
        mainForm().userTypes(ctl::UserBox, user);
        mainForm().userTypes(ctl::PasswordBox, password);
        mainForm().userTypes(ctl::IntervalBox, interval);
        mainForm().userTypes(ctl::DisplayIntervalBox, timerText);
    }
    void pressOK() { mainForm().userClicks(ctl::OkButton); }
    std::optional<std::string> stored(const std::string& key) {
        return fake.profile.value("USERINFO", key);
    }
    // The window brought back from the tray with "設定変更".
    App& startFromTrayIntoSettings() {
        acceptedSettings();
        App& app = start();
        mainForm().userClicks(ctl::OpenSettings);
        fake.transcript.clear();
        return app;
    }
};

TEST_F(BasicSettings, AnIntervalBelowOneIsRejectedWithFocusOnTheBox) {
    startFromTrayIntoSettings();
    for (const char* bad : {"0", "abc", "0.5", "", "-3"}) {
        fake.transcript.clear();
        type("mail.example", "bob", "pw", bad, "2");
        pressOK();
        EXPECT_THAT(
            fake.transcript.lines(),
            ElementsAre("exists /opt/vantorel/save -> false", "MkDir /opt/vantorel/save",
                        "box [Vantorel] \"数値が不正です\"", "SettingsWindow.IntervalBox focus",
                        "SettingsWindow.IntervalBox selectAll"))
            << bad;
        fake.files.existing.clear();
    }
    // Nothing was saved and the window is still there, checking still off.
    EXPECT_EQ(stored("INTERVAL"), "3");
    EXPECT_TRUE(mainForm().isVisible());
    EXPECT_FALSE(timer("check timer").isEnabled());
    EXPECT_FALSE(fake.tray.icon.has_value());
}

TEST_F(BasicSettings, TheCheckIntervalIsExaminedBeforeTheDisplayInterval) {
    startFromTrayIntoSettings();
    type("h", "u", "p", "0", "0");
    pressOK();
    EXPECT_EQ(mainForm().focused(), ctl::IntervalBox);
    EXPECT_EQ(fake.ui.messageBoxes.size(), 1u);

    type("h", "u", "p", "2", "0.5");
    pressOK();
    EXPECT_EQ(mainForm().focused(), ctl::DisplayIntervalBox);
    EXPECT_THAT(lines("SettingsWindow.DisplayIntervalBox"),
                ElementsAre("SettingsWindow.DisplayIntervalBox focus",
                            "SettingsWindow.DisplayIntervalBox selectAll"));
    EXPECT_THAT(lines("ini write"), IsEmpty());
}

TEST_F(BasicSettings, AcceptedValuesAreSavedAsTypedAndTheProgramGoesToTheTray) {
    const std::pair<const char*, const char*> accepted[] = {
        {"1", "1"}, {"1.5", "2.5"}, {"3 apples", "10秒"}};
    const std::uint32_t periods[] = {1000, 2500, 10000};
    int i = 0;
    for (const auto& [interval, seconds] : accepted) {
        App& app = startFromTrayIntoSettings();
        app.scheduler().setMinutes(7);
        type("pop.example.net", "alice", "", interval, seconds);
        pressOK();
        EXPECT_THAT(
            lines("ini write"),
            ElementsAre("ini write [USERINFO] USERNAME = alice", "ini write [USERINFO] PASSWORD = ",
                        "ini write [USERINFO] REMOTEHOST = pop.example.net",
                        "ini write [USERINFO] INTERVAL = " + std::string(interval),
                        "ini write [USERINFO] TIMER = " + std::string(seconds),
                        "ini write [USERINFO] STARTUP = True"))
            << interval;
        EXPECT_EQ(stored("INTERVAL"), interval);
        EXPECT_EQ(app.scheduler().minutes(), 0);  // the count starts again from the OK
        EXPECT_TRUE(timer("check timer").isEnabled());
        EXPECT_EQ(timer("display timer").period(), periods[i++]);
        EXPECT_FALSE(timer("display timer").isEnabled());
        EXPECT_TRUE(fake.tray.icon.has_value());
        EXPECT_FALSE(mainForm().isVisible());
        // Settings accepted before: no check at the moment of OK.
        EXPECT_THAT(fake.mail.commands, IsEmpty());
        EXPECT_THAT(fake.ui.messageBoxes, IsEmpty());
        program.reset();
        fake.profile.clear();
        fake.tray.icon.reset();
    }
}

TEST_F(BasicSettings, AnExistingSaveFolderIsLeftAloneAndOneThatCannotBeMadeDoesNotStopOK) {
    startFromTrayIntoSettings();
    fake.files.existing.insert("/opt/vantorel/save");
    pressOK();
    EXPECT_THAT(lines("MkDir"), IsEmpty());
    EXPECT_TRUE(fake.tray.icon.has_value());

    mainForm().userClicks(ctl::OpenSettings);
    fake.files.existing.clear();
    fake.files.failCreate = true;
    fake.transcript.clear();
    pressOK();
    EXPECT_THAT(lines("MkDir"), ElementsAre("MkDir /opt/vantorel/save failed"));
    EXPECT_THAT(lines("stderr"),
                ElementsAre("stderr: the folder /opt/vantorel/save cannot be created"));
    EXPECT_THAT(fake.ui.messageBoxes, IsEmpty());
    EXPECT_TRUE(fake.tray.icon.has_value());
    EXPECT_TRUE(timer("check timer").isEnabled());
}

TEST_F(BasicSettings, ASettingsFileThatCannotBeWrittenKeepsTheWindowOpen) {
    startFromTrayIntoSettings();
    type("new.example", "carol", "pw2", "4", "2");
    fake.profile.refusedKeys = {"REMOTEHOST"};
    pressOK();
    // Every box was still tried, so that as much as possible is kept.
    EXPECT_EQ(lines("ini write").size(), 5u);
    EXPECT_EQ(stored("TIMER"), "2");
    EXPECT_EQ(stored("REMOTEHOST"), "mail.example");
    EXPECT_THAT(fake.ui.messageBoxes, ElementsAre(kNotSaved));
    EXPECT_THAT(lines("box "), ElementsAre(testing::EndsWith("(information)")));
    // The window stays with what was typed; checking goes on with the
    // settings accepted earlier, and nothing goes to the tray.
    EXPECT_TRUE(mainForm().isVisible());
    EXPECT_EQ(mainForm().textOf(ctl::ServerBox), "new.example");
    EXPECT_FALSE(fake.tray.icon.has_value());
    EXPECT_TRUE(timer("check timer").isEnabled());
    EXPECT_THAT(lines("display timer"), IsEmpty());

    // Once the file can be written again, OK goes to the tray.
    fake.profile.refusedKeys.clear();
    pressOK();
    EXPECT_EQ(stored("REMOTEHOST"), "new.example");
    EXPECT_TRUE(fake.tray.icon.has_value());
}

TEST_F(BasicSettings, AnAcceptanceMarkThatCannotBeWrittenKeepsTheWindowOpen) {
    startFromTrayIntoSettings();
    fake.profile.set("USERINFO", "STARTUP", "true");  // accepted, but not as start-up reads it
    fake.profile.refusedKeys = {"startup"};
    pressOK();
    EXPECT_THAT(fake.ui.messageBoxes, ElementsAre(kNotSaved));
    EXPECT_TRUE(mainForm().isVisible());
    EXPECT_FALSE(fake.tray.icon.has_value());
    EXPECT_TRUE(timer("check timer").isEnabled());
    EXPECT_EQ(stored("STARTUP"), "true");
}

TEST_F(BasicSettings, OnAFirstRunAFileThatCannotBeWrittenLeavesCheckingOff) {
    start();
    type("h", "u", "p", "3", "2");
    fake.profile.failWrites = true;
    pressOK();
    EXPECT_THAT(fake.ui.messageBoxes, ElementsAre(kNotSaved));
    EXPECT_FALSE(timer("check timer").isEnabled());
    EXPECT_TRUE(mainForm().isVisible());
    EXPECT_THAT(fake.mail.commands, IsEmpty());
}

TEST_F(BasicSettings, CancelPutsTheStoredValuesBackAndTouchesNothingElse) {
    App& app = startFromTrayIntoSettings();
    app.scheduler().setMinutes(2);
    type("x", "y", "z", "9", "9");
    mainForm().userClicks(ctl::CancelButton);
    EXPECT_EQ(mainForm().textOf(ctl::ServerBox), "mail.example");
    EXPECT_EQ(mainForm().textOf(ctl::UserBox), "bob");
    EXPECT_EQ(mainForm().textOf(ctl::PasswordBox), "secret");
    EXPECT_EQ(mainForm().textOf(ctl::IntervalBox), "3");
    EXPECT_EQ(mainForm().textOf(ctl::DisplayIntervalBox), "1");
    EXPECT_THAT(lines("ini write"), IsEmpty());
    EXPECT_THAT(lines("check timer"), IsEmpty());
    EXPECT_THAT(lines("display timer"), IsEmpty());
    EXPECT_THAT(lines("tray"), IsEmpty());
    EXPECT_EQ(app.scheduler().minutes(), 2);
    EXPECT_TRUE(mainForm().isVisible());
}

TEST_F(BasicSettings, CancelWithoutASettingsFileGivesEmptyBoxesAndIntervalThree) {
    start();
    type("x", "y", "z", "9", "9");
    mainForm().userClicks(ctl::CancelButton);
    EXPECT_EQ(mainForm().textOf(ctl::ServerBox), "");
    EXPECT_EQ(mainForm().textOf(ctl::UserBox), "");
    EXPECT_EQ(mainForm().textOf(ctl::PasswordBox), "");
    EXPECT_EQ(mainForm().textOf(ctl::IntervalBox), "3");
    EXPECT_EQ(mainForm().textOf(ctl::DisplayIntervalBox), "");
    EXPECT_THAT(lines("ini write"), IsEmpty());
}

// ---- the first acceptance runs one check

TEST_F(BasicSettings, OnAFirstRunAGoodCheckPutsTheProgramIntoTheTray) {
    start();
    fake.mail.answer = [](const std::string&) { return platform::MailReply::List({"0 0"}); };
    type("mail.example", "bob", "pw", "5", "2");
    pressOK();
    EXPECT_THAT(fake.mail.commands, ElementsAre("STAT"));
    EXPECT_EQ(stored("STARTUP"), "True");
    EXPECT_EQ(program->scheduler().minutes(), 0);
    EXPECT_TRUE(timer("check timer").isEnabled());
    EXPECT_EQ(timer("display timer").period(), 2000u);
    EXPECT_TRUE(fake.tray.icon.has_value());
    EXPECT_FALSE(mainForm().isVisible());
    EXPECT_THAT(fake.ui.messageBoxes, IsEmpty());
}

TEST_F(BasicSettings, OnAFirstRunAFailedCheckKeepsTheWindowForCorrection) {
    start();
    fake.mail.answer = [](const std::string&) {
        return platform::MailReply::Text("connection refused");
    };
    type("wrong.example", "bob", "pw", "5", "2");
    pressOK();
    EXPECT_THAT(
        lines("box "),
        testing::Contains("box [Vantorel] \"エラーです。設定しなおしてください\" (information)"));
    // The values are saved, but the settings are not marked as accepted.
    EXPECT_EQ(stored("REMOTEHOST"), "wrong.example");
    EXPECT_EQ(stored("STARTUP"), "FALSE");
    EXPECT_FALSE(timer("check timer").isEnabled());
    EXPECT_TRUE(mainForm().isVisible());
    EXPECT_FALSE(fake.tray.icon.has_value());
    EXPECT_EQ(timer("display timer").period(), 0u);

    // A restart comes back to the window with the new values; the next OK
    // checks again.
    program.reset();
    start();
    EXPECT_TRUE(mainForm().isVisible());
    EXPECT_EQ(mainForm().textOf(ctl::ServerBox), "wrong.example");
    fake.mail.answer = [](const std::string&) { return platform::MailReply::List({"0 0"}); };
    pressOK();
    EXPECT_EQ(stored("STARTUP"), "True");
    EXPECT_TRUE(fake.tray.icon.has_value());
}

TEST_F(BasicSettings, AFailedFirstCheckWhoseMarkCannotBeWrittenSaysSoToo) {
    start();
    fake.mail.answer = [](const std::string&) {
        return platform::MailReply::Text("connection refused");
    };
    type("wrong.example", "bob", "pw", "5", "2");
    fake.profile.refusedKeys = {"STARTUP"};
    pressOK();
    ASSERT_GE(fake.ui.messageBoxes.size(), 2u);
    EXPECT_EQ(fake.ui.messageBoxes.back(), kNotSaved);
    EXPECT_EQ(stored("STARTUP"), std::nullopt);
    EXPECT_FALSE(timer("check timer").isEnabled());
    EXPECT_TRUE(mainForm().isVisible());
}

TEST_F(BasicSettings, AnAcceptanceMarkThatIsNoBooleanTextCountsAsNeverAccepted) {
    acceptedSettings();
    fake.profile.set("USERINFO", "STARTUP", "maybe");
    start();  // not exactly "True": the window is shown
    fake.mail.answer = [](const std::string&) { return platform::MailReply::List({"0 0"}); };
    pressOK();
    EXPECT_THAT(fake.mail.commands, ElementsAre("STAT"));
    EXPECT_EQ(stored("STARTUP"), "True");
    EXPECT_TRUE(fake.tray.icon.has_value());
}

}  // namespace
}  // namespace vantorel
