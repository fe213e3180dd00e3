// The tray object: the icon shown and removed with the owner window hidden
// and shown, its look kept in step, and the two actions on it.

#include "tray/TrayIcon.h"

#include <gmock/gmock.h>

#include "app/SettingsWindowLayout.h"
#include "fake/FakePlatform.h"

namespace vantorel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class Owner : public platform::FormEvents {
  public:
    void Click(platform::ControlId control) override { clicked.push_back(control); }
    void CloseRequested(platform::CloseReason) override {}
    std::vector<platform::ControlId> clicked;
};

constexpr platform::TrayMark kNoMark{};
constexpr platform::TrayMark kThreeNew{platform::TrayMark::Kind::NewMail, 3};

class TrayIconTest : public ::testing::Test {
  protected:
    TrayIconTest()
        : form(fake.ui.createForm(SettingsWindowLayout(), owner)),
          tray(fake.tray, *form, ctl::TrayMenu, [this] { fake.transcript.add("seen"); }) {
        fake.transcript.clear();
    }
    fake::FakeForm& shown() { return *fake.ui.form("SettingsWindow"); }

    fake::FakePlatform fake;
    Owner owner;
    std::unique_ptr<platform::Form> form;
    TrayIcon tray;
};

TEST_F(TrayIconTest, TheIconCarriesTheOwnersIconAndTooltipAndTheOwnerHides) {
    tray.show(kNoMark, "Vantorel");
    ASSERT_TRUE(fake.tray.icon.has_value());
    EXPECT_EQ(fake.tray.icon->owner, form->handle());
    EXPECT_EQ(fake.tray.icon->look.icon, form->icon());
    EXPECT_EQ(fake.tray.icon->look.tip, "Vantorel");
    EXPECT_FALSE(shown().isVisible());
}

TEST_F(TrayIconTest, EveryShowOrHideAsksTheShellAgain) {
    tray.show(kNoMark, "Vantorel");
    tray.show(kNoMark, "Vantorel");  // the shell refuses the duplicate; the window is hidden again
    EXPECT_TRUE(fake.tray.icon.has_value());
    tray.hide();
    tray.hide();  // nothing to remove; the window is shown and the menu hidden
    EXPECT_THAT(fake.transcript.lines(),
                ElementsAre("tray: show \"Vantorel\"", "SettingsWindow hide",
                            "tray: show \"Vantorel\" refused", "SettingsWindow hide",
                            "tray: remove", "SettingsWindow show",
                            "SettingsWindow.TrayMenu visible = false", "tray: remove refused",
                            "SettingsWindow show", "SettingsWindow.TrayMenu visible = false"));
}

TEST_F(TrayIconTest, AStatusReachesTheIconAtOnceInTheTrayAndWithTheNextShowOtherwise) {
    tray.showStatus(kThreeNew, "Vantorel - 新着3通");
    EXPECT_THAT(fake.transcript.lines(), IsEmpty()) << "no icon to change";
    tray.show(kThreeNew, "Vantorel - 新着3通");
    tray.showStatus(kNoMark, "Vantorel - 新着なし");
    tray.showStatus(kNoMark, "Vantorel - 新着なし");  // the same again changes nothing
    tray.hide();
    tray.showStatus(kThreeNew, "Vantorel - 新着3通");
    fake.tray.appear();  // not in the tray: the icon stays away
    EXPECT_THAT(fake.transcript.matching("tray"),
                ElementsAre("tray: show \"Vantorel - 新着3通\" mark=new-mail(3)",
                            "tray: update \"Vantorel - 新着なし\" mark=none", "tray: remove",
                            "tray: appears"));
}

TEST_F(TrayIconTest, ATrayAppearingBringsBackTheIconWithTheLatestStatus) {
    tray.show(kNoMark, "Vantorel");
    fake.tray.disappear();
    tray.showStatus(kThreeNew, "Vantorel - 新着3通");  // refused: no tray
    fake.transcript.clear();
    fake.tray.appear();
    EXPECT_THAT(fake.transcript.lines(),
                ElementsAre("tray: appears", "tray: show \"Vantorel - 新着3通\" mark=new-mail(3)",
                            "SettingsWindow hide"));
}

TEST_F(TrayIconTest, ADoubleClickRemovesTheIconShowsTheWindowAndTellsSeen) {
    tray.show(kNoMark, "Vantorel");
    fake.transcript.clear();
    tray.onAction(platform::TrayAction::DoubleClicked);
    EXPECT_FALSE(fake.tray.icon.has_value());
    EXPECT_TRUE(shown().isVisible());
    EXPECT_THAT(fake.transcript.lines(),
                ElementsAre("tray: remove", "SettingsWindow show",
                            "SettingsWindow.TrayMenu visible = false", "seen"));
}

TEST_F(TrayIconTest, AMenuRequestTellsSeenThenPopsUpTheTrayMenuAndRunsTheChosenItem) {
    tray.show(kNoMark, "Vantorel");
    fake.transcript.clear();
    fake.ui.popupChoices.push_back(ctl::CheckNow);
    tray.onAction(platform::TrayAction::MenuRequested);
    EXPECT_THAT(fake.transcript.lines(),
                ElementsAre("seen", "SettingsWindow.TrayMenu visible = true",
                            "SettingsWindow popup TrayMenu"));
    EXPECT_THAT(owner.clicked, ElementsAre(ctl::CheckNow));
    EXPECT_TRUE(fake.tray.icon.has_value()) << "the icon stays while the menu is used";
}

TEST_F(TrayIconTest, AFailingShellStepIsSkippedAndTheWindowStillHidesAndShows) {
    fake.tray.throwOnCall = true;
    tray.show(kNoMark, "Vantorel");
    EXPECT_FALSE(shown().isVisible());
    tray.showStatus(kThreeNew, "Vantorel - 新着3通");
    tray.hide();
    EXPECT_TRUE(shown().isVisible());
    EXPECT_FALSE(shown().isControlVisible(ctl::TrayMenu));
}

}  // namespace
}  // namespace vantorel
