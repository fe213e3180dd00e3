// The tray menu and the option menu: what each command does to the marks,
// the settings file and the timers, and how the program ends.

#include <gmock/gmock.h>

#include <algorithm>

#include "fake/ProgramFixture.h"
#include "tray/TrayIcon.h"

namespace vantorel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr platform::WindowHandle kEditor = 0x10;

class MenuCommands : public fake::ProgramFixture {
  protected:
    // The user right-clicks the tray icon and chooses `item`.
    void chooseFromTray(platform::ControlId item) {
        fake.ui.popupChoices.push_back(item);
        fake.trayAction(platform::TrayAction::MenuRequested);
    }
    int count(const std::string& line) {
        const auto& all = fake.transcript.lines();
        return static_cast<int>(std::count(all.begin(), all.end(), line));
    }
    // The program in the tray with two messages waiting on the server and
    // the user working in an editor.
    void trayWithTwoMessages() {
        fake.windows.add(kEditor, "notes.txt - Editor");
        fake.windows.foreground = kEditor;
        acceptedSettings("3", "1");
        fake.mail.answer = [](const std::string& command) {
            if (command == "STAT") {
                return platform::MailReply::List({"2 640"});
            }
            return platform::MailReply::List(
                {"Subject:Lunch\tFrom:ann@example.net\tDate:Mon, 3 Nov 2025 12:00:00",
                 "Subject:Build\tFrom:ci@example.net\tDate:Mon, 3 Nov 2025 12:05:00"});
        };
    }
    std::optional<std::string> option(const std::string& key) {
        return fake.profile.value("OPTION", key);
    }
};

TEST_F(MenuCommands, EachOptionToggleWritesItsMarkAtOnceUnderItsOwnKey) {
    start();  // first run: only "エラーを表示" carries its mark
    const std::pair<platform::ControlId, const char*> options[] = {
        {ctl::OnceOnly, "CHECKONCE"},     {ctl::RestoreTitles, "TitleCallBack"},
        {ctl::AnnounceZero, "ZEROCHECK"}, {ctl::UnderMouse, "ONMOUSE"},
        {ctl::ShowErrors, "IGNOREERR"},
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
    mainForm().userClicks(ctl::AnnounceZero);
    EXPECT_TRUE(marked(ctl::AnnounceZero));
    EXPECT_EQ(option("ZEROCHECK"), std::nullopt);
    EXPECT_THAT(fake.ui.messageBoxes, IsEmpty());
}

TEST_F(MenuCommands, ClearingShowOnceOnlyForgetsWhatWasShown) {
    trayWithTwoMessages();
    start();
    mainForm().userClicks(ctl::OnceOnly);
    ASSERT_TRUE(program->CheckMail());  // the two messages announced
    mainForm().setChecked(ctl::OnceOnly, false);
    mainForm().userClicks(ctl::OnceOnly);  // set: what was shown stays shown
    EXPECT_TRUE(marked(ctl::OnceOnly));
    EXPECT_FALSE(program->CheckMail());
    mainForm().userClicks(ctl::OnceOnly);  // cleared: every waiting message is new again
    EXPECT_FALSE(marked(ctl::OnceOnly));
    EXPECT_EQ(option("CHECKONCE"), "False");
    mainForm().setChecked(ctl::OnceOnly, true);
    EXPECT_TRUE(program->CheckMail());
}

TEST_F(MenuCommands, PauseStopsTheCheckTimerAndResumeRestartsTheCount) {
    acceptedSettings("5");
    App& app = start();
    ASSERT_EQ(app.scheduler().minutes(), 5);
    fake.transcript.clear();

    chooseFromTray(ctl::Pause);
    EXPECT_TRUE(marked(ctl::Pause));
    EXPECT_FALSE(timer("check timer").isEnabled());
    EXPECT_EQ(app.scheduler().minutes(), 0);

    app.scheduler().setMinutes(3);  // as if ticks had counted before the pause
    chooseFromTray(ctl::Pause);
    EXPECT_FALSE(marked(ctl::Pause));
    EXPECT_TRUE(timer("check timer").isEnabled());
    EXPECT_EQ(app.scheduler().minutes(), 0);

    // Pausing is not saved; the icon stays in the tray and only shows the
    // pause while it lasts.
    EXPECT_THAT(lines("ini write"), IsEmpty());
    EXPECT_THAT(lines("tray"), ElementsAre("tray: update \"Vantorel - 一時停止中\" mark=paused",
                                           "tray: update \"Vantorel\" mark=none"));
    EXPECT_TRUE(fake.tray.icon.has_value());
}

TEST_F(MenuCommands, ChangeSettingsBringsBackTheWindowWithCheckingOff) {
    acceptedSettings();
    start();
    fake.transcript.clear();
    chooseFromTray(ctl::OpenSettings);
    EXPECT_FALSE(fake.tray.icon.has_value());
    EXPECT_TRUE(mainForm().isVisible());
    EXPECT_FALSE(mainForm().isControlVisible(ctl::TrayMenu));
    EXPECT_FALSE(timer("check timer").isEnabled());
    EXPECT_THAT(lines("ini"), IsEmpty());
}

TEST_F(MenuCommands, EachSmallWindowOpensOnceAndIsLoadedAnewAfterClosing) {
    acceptedSettings();
    start();
    const std::pair<platform::ControlId, const char*> windows[] = {
        {ctl::ShowVersion, "AboutWindow"},
        {ctl::OpenTitleLabels, "TitleLabelsWindow"},
        {ctl::OpenSoundSettings, "SoundSettingsWindow"},
    };
    for (const auto& [item, name] : windows) {
        const std::string window = name;
        fake.transcript.clear();
        chooseFromTray(item);         // the tray menu and the option menu reach the same command
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
    EXPECT_TRUE(fake.tray.icon.has_value());
    EXPECT_TRUE(timer("check timer").isEnabled());
}

// ---- checking from the menus and ending the program

TEST_F(MenuCommands, CheckNowAndCheckServerEachRunOneCheck) {
    acceptedSettings();
    start();
    fake.mail.answer = [](const std::string&) { return platform::MailReply::List({"0 0"}); };
    chooseFromTray(ctl::CheckNow);
    EXPECT_THAT(fake.mail.commands, ElementsAre("STAT"));
    mainForm().userClicks(ctl::CheckServer);
    EXPECT_THAT(fake.mail.commands, ElementsAre("STAT", "STAT"));
    // An empty mailbox: nothing announced, checking goes on.
    EXPECT_TRUE(timer("check timer").isEnabled());
    EXPECT_FALSE(timer("display timer").isEnabled());
}

TEST_F(MenuCommands, APauseDuringADisplayCycleOutlastsTheCycle) {
    trayWithTwoMessages();
    start();
    chooseFromTray(ctl::CheckNow);
    ASSERT_TRUE(timer("display timer").isEnabled());

    chooseFromTray(ctl::Pause);
    EXPECT_TRUE(marked(ctl::Pause));
    EXPECT_FALSE(timer("check timer").isEnabled());
    // The cycle runs on: two message notices, then the summary ends it;
    // checking stays paused.
    for (int tick = 0; tick < 3; ++tick) {
        EXPECT_TRUE(fake.tick("display timer")) << tick;
    }
    EXPECT_FALSE(timer("display timer").isEnabled());
    EXPECT_FALSE(timer("check timer").isEnabled());
    EXPECT_TRUE(marked(ctl::Pause));

    chooseFromTray(ctl::Pause);
    EXPECT_TRUE(timer("check timer").isEnabled());
}

TEST_F(MenuCommands, ExitClosesTheSoundRemovesTheIconAndEndsTheProgram) {
    acceptedSettings();
    fake.profile.set("SOUND", "ENABLE", "TRUE");
    App& app = start();
    ASSERT_TRUE(fake.player.open);
    fake.transcript.clear();

    chooseFromTray(ctl::Exit);
    EXPECT_FALSE(fake.player.open);
    EXPECT_FALSE(fake.tray.icon.has_value());
    EXPECT_THAT(lines("tray"), ElementsAre("tray: remove"));
    EXPECT_EQ(app.trayIcon(), nullptr);
    EXPECT_FALSE(timer("check timer").isEnabled());
    // The window is never shown on the way out, and nothing is saved.
    EXPECT_THAT(lines("SettingsWindow show"), IsEmpty());
    EXPECT_THAT(lines("ini write"), IsEmpty());
    EXPECT_TRUE(fake.ui.quitRequested);
    EXPECT_EQ(fake.transcript.lines().back(), "quit");
}

TEST_F(MenuCommands, ClosingTheMainWindowOrEndingTheSessionEndsTheProgramLikeExit) {
    for (const auto reason : {platform::CloseReason::CloseBox, platform::CloseReason::SessionEnd}) {
        acceptedSettings();
        App& app = start();
        mainForm().userClicks(ctl::OpenTitleLabels);  // a small window is open too
        if (reason == platform::CloseReason::CloseBox) {
            // The window is shown to be closed.
            fake.trayAction(platform::TrayAction::DoubleClicked);
        }
        mainForm().userCloses(reason);
        EXPECT_FALSE(fake.tray.icon.has_value());
        EXPECT_EQ(app.trayIcon(), nullptr);
        EXPECT_TRUE(fake.ui.quitRequested);
        EXPECT_THAT(lines("ini write"), IsEmpty());
        program.reset();
        fake.ui.quitRequested = false;
    }
}

TEST_F(MenuCommands, ExitDuringADisplayCycleGivesTheWindowItsTitleBackWhenRestoringIsOn) {
    // Exit right after the arrival notice, after a message notice, and while
    // the summary waits for its restore tick.
    for (const int ticks : {0, 1, 3}) {
        trayWithTwoMessages();
        fake.profile.set("OPTION", "TitleCallBack", "True");
        App& app = start();
        chooseFromTray(ctl::CheckNow);
        for (int tick = 0; tick < ticks; ++tick) {
            fake.tick("display timer");
        }
        ASSERT_NE(fake.windows.titleOf(kEditor), "notes.txt - Editor") << ticks;
        EXPECT_EQ(app.display().restorePending(), ticks == 3);

        chooseFromTray(ctl::Exit);
        EXPECT_EQ(fake.windows.titleOf(kEditor), "notes.txt - Editor") << ticks;
        EXPECT_FALSE(timer("display timer").isEnabled()) << ticks;
        EXPECT_TRUE(fake.ui.quitRequested) << ticks;
        program.reset();
        fake.ui.quitRequested = false;
        fake.tray.icon.reset();
    }
}

TEST_F(MenuCommands, ExitDuringADisplayCycleLeavesTheNoticeWhenRestoringIsOff) {
    trayWithTwoMessages();
    start();
    chooseFromTray(ctl::CheckNow);
    fake.tick("display timer");
    const std::string notice = fake.windows.titleOf(kEditor);
    fake.transcript.clear();
    chooseFromTray(ctl::Exit);
    EXPECT_THAT(titleWrites(), IsEmpty());
    EXPECT_EQ(fake.windows.titleOf(kEditor), notice);
    EXPECT_TRUE(fake.ui.quitRequested);
}

}  // namespace
}  // namespace vantorel
