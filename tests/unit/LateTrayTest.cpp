// A tray that is not there yet when the program starts (at login the panel
// often comes up after the programs it starts): the window stays on the
// screen meanwhile and goes to the tray once the tray appears.

#include <gmock/gmock.h>

#include "fake/ProgramFixture.h"

namespace vantorel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kAdd = "tray: show \"Vantorel\"";

class LateTray : public fake::ProgramFixture {
  protected:
    void pressOKAfterAGoodCheck() {
        fake.mail.answer = [](const std::string&) { return platform::MailReply::List({"0 0"}); };
        mainForm().userTypes(ctl::ServerBox, "mail.example");
        mainForm().userTypes(ctl::UserBox, "bob");
        mainForm().userTypes(ctl::PasswordBox, "pw");
        mainForm().userTypes(ctl::IntervalBox, "5");
        mainForm().userTypes(ctl::DisplayIntervalBox, "2");
        mainForm().userClicks(ctl::OkButton);
    }
};

TEST_F(LateTray, AStartInTrayModeKeepsTheWindowUntilTheTrayAppears) {
    acceptedSettings();
    fake.tray.present = false;
    start();
    EXPECT_TRUE(mainForm().isVisible());
    EXPECT_FALSE(fake.tray.icon.has_value());
    // Checking goes on as usual meanwhile.
    EXPECT_TRUE(timer("check timer").isEnabled());

    fake.transcript.clear();
    fake.tray.appear();
    EXPECT_THAT(fake.transcript.lines(), ElementsAre("tray: appears", kAdd, "SettingsWindow hide"));
    EXPECT_TRUE(fake.tray.icon.has_value());
    EXPECT_FALSE(mainForm().isVisible());

    // The panel restarts: the icon comes back, the window stays hidden.
    fake.tray.disappear();
    fake.tray.appear();
    EXPECT_TRUE(fake.tray.icon.has_value());
    EXPECT_FALSE(mainForm().isVisible());
}

TEST_F(LateTray, AFirstRunsOKWithoutATrayGoesToTheTrayWhenOneAppears) {
    fake.tray.present = false;
    start();
    pressOKAfterAGoodCheck();
    EXPECT_THAT(fake.mail.commands, ElementsAre("STAT"));
    EXPECT_TRUE(mainForm().isVisible());
    EXPECT_TRUE(timer("check timer").isEnabled());
    EXPECT_THAT(fake.ui.messageBoxes, IsEmpty());

    fake.tray.appear();
    EXPECT_TRUE(fake.tray.icon.has_value());
    EXPECT_FALSE(mainForm().isVisible());
}

TEST_F(LateTray, AWindowShownOnPurposeStaysWhenATrayAppears) {
    // A first run shows the settings window whatever the tray does.
    fake.tray.present = false;
    start();
    fake.tray.appear();
    EXPECT_TRUE(mainForm().isVisible());
    EXPECT_FALSE(fake.tray.icon.has_value());

    // "設定変更" brings the window back from the tray; a panel restart
    // meanwhile does not take it away again.
    acceptedSettings();
    start();
    mainForm().userClicks(ctl::OpenSettings);
    fake.tray.disappear();
    fake.tray.appear();
    EXPECT_TRUE(mainForm().isVisible());
    EXPECT_FALSE(fake.tray.icon.has_value());

    // Nor does one after the icon was double-clicked.
    mainForm().userClicks(ctl::OkButton);
    ASSERT_FALSE(mainForm().isVisible());
    fake.trayAction(platform::TrayAction::DoubleClicked);
    fake.tray.appear();
    EXPECT_TRUE(mainForm().isVisible());
}

TEST_F(LateTray, AnIconRefusedWithATrayThereStillHidesTheWindow) {
    acceptedSettings();
    fake.tray.refuseAll = true;
    start();
    EXPECT_FALSE(mainForm().isVisible());
}

TEST_F(LateTray, TheTrayIsNoLongerWatchedOnceTheTrayObjectIsGone) {
    start();
    EXPECT_TRUE(fake.tray.watched());
    program.reset();
    EXPECT_FALSE(fake.tray.watched());
    fake.tray.appear();  // would reach a destroyed object
}

}  // namespace
}  // namespace vantorel
