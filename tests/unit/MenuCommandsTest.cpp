// The tray menu and the option menu: what each command does to the marks,
// the settings file and the timers, and how the program ends.

#include <gmock/gmock.h>

#include <algorithm>

#include "fake/ProgramFixture.h"
#include "tray/TaskTray.h"

namespace vantorel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class MenuCommands : public fake::ProgramFixture {
  protected:
    // The user right-clicks the tray icon and chooses `item`.
    void chooseFromTray(platform::ControlId item) {
        fake.ui.popupChoices.push_back(item);
        fake.trayMouse(tray_code::kRightButtonDown);
    }
    int count(const std::string& line) {
        const auto& all = fake.transcript.lines();
        return static_cast<int>(std::count(all.begin(), all.end(), line));
    }
    std::optional<std::string> option(const std::string& key) {
        return fake.profile.value("OPTION", key);
    }
};

TEST_F(MenuCommands, EachOptionToggleWritesItsMarkAtOnceUnderItsOwnKey) {
    start();  // first run: only "エラーを表示" carries its mark
    const std::pair<platform::ControlId, const char*> options[] = {
        {ctl::mnuCHKOnceOnly, "CHECKONCE"}, {ctl::mnuTitleBack, "TitleCallBack"},
        {ctl::mnuZeroCheck, "ZEROCHECK"},   {ctl::mnuMouse, "ONMOUSE"},
        {ctl::mnuErrPop, "IGNOREERR"},
    };
    for (const auto& [item, key] : options) {
        const bool before = marked(item);
        mainForm().userClicks(item);
        EXPECT_EQ(marked(item), !before) << key;
        EXPECT_EQ(option(key), before ? "False" : "True") << key;
        mainForm().userClicks(item);
        EXPECT_EQ(marked(item), before) << key;
        EXPECT_EQ(option(key), before ? "True" : "False") << key;
    }
    // Exactly the keys the file has always used, and nothing else.
    EXPECT_THAT(
        lines("ini write"),
        ElementsAre("ini write [OPTION] CHECKONCE = True", "ini write [OPTION] CHECKONCE = False",
                    "ini write [OPTION] TitleCallBack = True",
                    "ini write [OPTION] TitleCallBack = False",
                    "ini write [OPTION] ZEROCHECK = True", "ini write [OPTION] ZEROCHECK = False",
                    "ini write [OPTION] ONMOUSE = True", "ini write [OPTION] ONMOUSE = False",
                    "ini write [OPTION] IGNOREERR = False", "ini write [OPTION] IGNOREERR = True"));
    EXPECT_FALSE(fake.ui.quitRequested);
}

TEST_F(MenuCommands, AFailedOptionWriteKeepsTheMarkForThisRun) {
    start();
    fake.profile.failWrites = true;
    mainForm().userClicks(ctl::mnuZeroCheck);
    EXPECT_TRUE(marked(ctl::mnuZeroCheck));
    EXPECT_EQ(option("ZEROCHECK"), std::nullopt);
    EXPECT_THAT(fake.ui.messageBoxes, IsEmpty());
}

TEST_F(MenuCommands, ClearingShowOnceOnlyForgetsWhatWasShown) {
    StartUpForm& form = start();
    form.ShownCount = 4;
    mainForm().userClicks(ctl::mnuCHKOnceOnly);  // set: what was shown stays shown
    EXPECT_TRUE(marked(ctl::mnuCHKOnceOnly));
    EXPECT_EQ(form.ShownCount, 4);
    mainForm().userClicks(ctl::mnuCHKOnceOnly);  // cleared: every waiting message is new again
    EXPECT_FALSE(marked(ctl::mnuCHKOnceOnly));
    EXPECT_EQ(form.ShownCount, 0);
    EXPECT_EQ(option("CHECKONCE"), "False");
}

TEST_F(MenuCommands, PauseStopsTheCheckTimerAndResumeRestartsTheCount) {
    acceptedSettings("5");
    StartUpForm& form = start();
    ASSERT_EQ(form.MinuteCount, 5);
    fake.transcript.clear();

    chooseFromTray(ctl::mnuTempStop);
    EXPECT_TRUE(marked(ctl::mnuTempStop));
    EXPECT_FALSE(timer("Timer1").isEnabled());
    EXPECT_EQ(form.MinuteCount, 0);

    form.MinuteCount = 3;  // as if ticks had counted before the pause
    chooseFromTray(ctl::mnuTempStop);
    EXPECT_FALSE(marked(ctl::mnuTempStop));
    EXPECT_TRUE(timer("Timer1").isEnabled());
    EXPECT_EQ(form.MinuteCount, 0);

    // Pausing is not saved, and the icon stays as it was.
    EXPECT_THAT(lines("ini write"), IsEmpty());
    EXPECT_THAT(lines("tray"), IsEmpty());
    EXPECT_EQ(fake.tray.icons.size(), 1u);
}

TEST_F(MenuCommands, ChangeSettingsBringsBackTheWindowWithCheckingOff) {
    acceptedSettings();
    start();
    fake.transcript.clear();
    chooseFromTray(ctl::mnuConfig);
    EXPECT_TRUE(fake.tray.icons.empty());
    EXPECT_TRUE(mainForm().isVisible());
    EXPECT_FALSE(mainForm().isControlVisible(ctl::mnuTop));
    EXPECT_FALSE(timer("Timer1").isEnabled());
    EXPECT_THAT(lines("ini"), IsEmpty());
}

TEST_F(MenuCommands, EachSmallWindowOpensOnceAndIsLoadedAnewAfterClosing) {
    acceptedSettings();
    start();
    const std::pair<platform::ControlId, const char*> windows[] = {
        {ctl::mnuVersion, "frmAbout"},
        {ctl::mnuTitleConf, "frmTitleConf"},
        {ctl::mnuO_Music, "frmMusic"},
    };
    for (const auto& [item, name] : windows) {
        const std::string window = name;
        fake.transcript.clear();
        mainForm().userClicks(item);
        mainForm().userClicks(item);  // open already: only brought forward
        EXPECT_EQ(fake.ui.openCount(window), 1) << window;
        EXPECT_TRUE(fake.ui.form(window)->isVisible()) << window;
        EXPECT_EQ(count(window + " created"), 1) << window;
        EXPECT_EQ(count(window + " show"), 1) << window;
        EXPECT_EQ(count(window + " front"), 2) << window;

        fake.ui.form(window)->userCloses();
        EXPECT_EQ(fake.ui.openCount(window), 0) << window;
        EXPECT_FALSE(fake.ui.quitRequested) << window;  // a small window never ends the program

        fake.transcript.clear();
        mainForm().userClicks(item);
        EXPECT_EQ(fake.ui.openCount(window), 1) << window;
        EXPECT_EQ(count(window + " created"), 1) << window;
    }
    // The program went on in the tray all along.
    EXPECT_EQ(fake.tray.icons.size(), 1u);
    EXPECT_TRUE(timer("Timer1").isEnabled());
}

TEST_F(MenuCommands, TheVersionWindowComesFromTheTrayMenu) {
    acceptedSettings();
    start();
    chooseFromTray(ctl::mnuVersion);
    ASSERT_EQ(fake.ui.openCount("frmAbout"), 1);
    EXPECT_EQ(fake.ui.form("frmAbout")->caption(), "Vantorelのﾊﾞｰｼﾞｮﾝ情報");
}

}  // namespace
}  // namespace vantorel
