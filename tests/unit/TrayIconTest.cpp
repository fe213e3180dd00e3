// The tray object: icon records, window and menu visibility, mouse codes.

#include "tray/TrayIcon.h"

#include <gmock/gmock.h>

#include "app/SettingsWindowLayout.h"
#include "fake/FakePlatform.h"

namespace vantorel {
namespace {

using ::testing::ElementsAre;

class Owner : public platform::FormEvents {
  public:
    void Click(platform::ControlId control) override { clicked.push_back(control); }
    void CloseRequested(platform::CloseReason) override {}
    std::vector<platform::ControlId> clicked;
};

class TrayIconTest : public ::testing::Test {
  protected:
    TrayIconTest()
        : form(fake.ui.createForm(SettingsWindowLayout(), owner)), tray(fake.tray, fake.ui) {
        tray.FormName(form.get());
        tray.MenuName(ctl::TrayMenu);
        tray.ToolTip("Vantorel");
        fake.transcript.clear();
    }
    fake::FakeForm& shown() { return *fake.ui.form("SettingsWindow"); }

    fake::FakePlatform fake;
    Owner owner;
    std::unique_ptr<platform::Form> form;
    TrayIcon tray;
};

TEST_F(TrayIconTest, TheIconRecordCarriesTheOwnerIconAndTooltip) {
    tray.Visible(true);
    ASSERT_EQ(fake.tray.icons.size(), 1u);
    const auto& record = fake.tray.icons.begin()->second;
    EXPECT_EQ(record.size, 88u);
    EXPECT_EQ(record.window, form->handle());
    EXPECT_EQ(record.id, 1u);
    EXPECT_EQ(record.flags, 7u);
    EXPECT_EQ(record.callbackMessage, 0x200u);
    EXPECT_EQ(record.icon, form->icon());
    EXPECT_EQ(record.tip, "Vantorel");
    EXPECT_TRUE(tray.Visible());
    EXPECT_FALSE(shown().isVisible());
}

TEST_F(TrayIconTest, EveryVisibleAssignmentAddsOrRemovesTheIconAgain) {
    tray.Visible(true);
    tray.Visible(true);  // the shell refuses the duplicate; the window is hidden again
    EXPECT_EQ(fake.tray.icons.size(), 1u);
    tray.Visible(false);
    tray.Visible(false);  // nothing to remove; the window is shown and the menu hidden
    EXPECT_THAT(fake.transcript.lines(),
                ElementsAre("tray add id=1 flags=7 msg=0x200 tip=Vantorel", "SettingsWindow hide",
                            "tray add id=1 flags=7 msg=0x200 tip=Vantorel refused",
                            "SettingsWindow hide", "tray delete id=1", "SettingsWindow show",
                            "SettingsWindow.TrayMenu visible = false", "tray delete id=1 refused",
                            "SettingsWindow show", "SettingsWindow.TrayMenu visible = false"));
}

TEST_F(TrayIconTest, ANewTooltipAppliesWhenTheIconIsNextAdded) {
    tray.Visible(true);
    tray.ToolTip("Other");
    EXPECT_EQ(fake.tray.icons.begin()->second.tip, "Vantorel");
    tray.Visible(false);
    tray.Visible(true);
    EXPECT_EQ(fake.tray.icons.begin()->second.tip, "Other");
}

TEST_F(TrayIconTest, ALeftDoubleClickShowsTheWindowAndKeepsVisibleTrue) {
    tray.Visible(true);
    fake.transcript.clear();
    tray.MouseEvent(platform::tray_code::kLeftDoubleClick *
                    15.0f);  // as a framework converts the code to twips
    EXPECT_TRUE(fake.tray.icons.empty());
    EXPECT_TRUE(shown().isVisible());
    EXPECT_TRUE(tray.Visible());
    EXPECT_THAT(fake.transcript.lines(), ElementsAre("tray delete id=1", "SettingsWindow show",
                                                     "SettingsWindow.TrayMenu visible = false"));
}

TEST_F(TrayIconTest, ARightButtonPressPopsUpTheTrayMenuAndRunsTheChosenItem) {
    tray.Visible(true);
    fake.transcript.clear();
    fake.ui.popupChoices.push_back(ctl::CheckNow);
    tray.MouseCode(platform::tray_code::kRightButtonDown);
    EXPECT_THAT(fake.transcript.lines(), ElementsAre("SettingsWindow.TrayMenu visible = true",
                                                     "SettingsWindow popup TrayMenu"));
    EXPECT_THAT(owner.clicked, ElementsAre(ctl::CheckNow));
}

TEST_F(TrayIconTest, OtherMouseCodesAndRealMouseMovesDoNothing) {
    tray.Visible(true);
    fake.transcript.clear();
    for (int code : {0x200, 0x201, 0x202, 0x205, 0x206, 0x207, 0x208, 0x209}) {
        tray.MouseCode(code);
        tray.MouseEvent(static_cast<float>(code * 15));
    }
    tray.MouseEvent(3165.0f);  // the far edge of the shown window
    tray.MouseEvent(1e30f);
    tray.MouseEvent(-7.5f);
    EXPECT_TRUE(fake.transcript.lines().empty());
    // X is rounded before the division: 7724.6 twips round to 7725 = 515 * 15.
    tray.MouseEvent(7724.6f);
    EXPECT_TRUE(fake.tray.icons.empty());
}

TEST_F(TrayIconTest, AFailingShellStepIsSkippedAndTheWindowStillHidesAndShows) {
    fake.tray.throwOnCall = true;
    tray.Visible(true);
    EXPECT_FALSE(shown().isVisible());
    tray.Visible(false);
    EXPECT_TRUE(shown().isVisible());
    EXPECT_FALSE(shown().isControlVisible(ctl::TrayMenu));
}

}  // namespace
}  // namespace vantorel
