// Start-up: from the settings file to one of the two resting states.

#include <gmock/gmock.h>

#include <algorithm>

#include "fake/ProgramFixture.h"

namespace vantorel {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

class StartUp : public fake::ProgramFixture {};

TEST_F(StartUp, WithoutASettingsFileTheFirstRunWindowIsShown) {
    App& app = start();

    EXPECT_EQ(mainForm().textOf(ctl::ServerBox), "");
    EXPECT_EQ(mainForm().textOf(ctl::UserBox), "");
    EXPECT_EQ(mainForm().textOf(ctl::PasswordBox), "");
    EXPECT_EQ(mainForm().textOf(ctl::IntervalBox), "3");
    EXPECT_EQ(mainForm().textOf(ctl::DisplayIntervalBox), "");
    EXPECT_TRUE(marked(ctl::ShowErrors));
    EXPECT_FALSE(marked(ctl::AnnounceZero));
    EXPECT_FALSE(marked(ctl::RestoreTitles));
    EXPECT_FALSE(marked(ctl::UnderMouse));
    EXPECT_FALSE(marked(ctl::OnceOnly));
    EXPECT_FALSE(marked(ctl::Pause));
    EXPECT_FALSE(app.display().soundOn());
    EXPECT_FALSE(fake.tray.icon.has_value());
    EXPECT_TRUE(mainForm().isVisible());
    EXPECT_FALSE(mainForm().isControlVisible(ctl::TrayMenu));
    EXPECT_FALSE(timer("check timer").isEnabled());
    EXPECT_FALSE(timer("display timer").isEnabled());
    EXPECT_EQ(timer("display timer").period(), 0u);
    EXPECT_EQ(timer("check timer").period(), 60000u);
    EXPECT_THAT(lines("sound "), IsEmpty());
    // Nothing is written at start.
    EXPECT_THAT(lines("ini write"), IsEmpty());
}

TEST_F(StartUp, TheIconIsAddedFirstAndRemovedAgainOnAFirstRun) {
    start();
    EXPECT_THAT(lines("tray"), ElementsAre("tray: show \"Vantorel\"", "tray: remove"));
    const auto& t = fake.transcript.lines();
    EXPECT_EQ(t.at(0), "SettingsWindow.TrayMenu visible = false");
    EXPECT_EQ(t.at(1), "tray: show \"Vantorel\"");
    EXPECT_EQ(t.at(2), "SettingsWindow hide");
}

TEST_F(StartUp, AcceptedSettingsPutTheProgramIntoTheTray) {
    acceptedSettings("5", "1.5");
    App& app = start();

    EXPECT_TRUE(fake.tray.icon.has_value());
    EXPECT_FALSE(mainForm().isVisible());
    EXPECT_EQ(mainForm().textOf(ctl::ServerBox), "mail.example");
    EXPECT_EQ(mainForm().textOf(ctl::PasswordBox), "secret");
    EXPECT_TRUE(timer("check timer").isEnabled());
    // The first tick, a minute after start, already reaches the interval.
    EXPECT_EQ(app.scheduler().minutes(), 5);
    EXPECT_EQ(timer("display timer").period(), 1500u);
    EXPECT_FALSE(timer("display timer").isEnabled());
    EXPECT_THAT(lines("tray"), ElementsAre("tray: show \"Vantorel\""));
}

TEST_F(StartUp, OnlyTheExactWordTrueMeansTheSettingsWereAccepted) {
    for (const char* value : {"TRUE", "true", "1", ""}) {
        acceptedSettings();
        fake.profile.set("USERINFO", "STARTUP", value);
        start();
        EXPECT_TRUE(mainForm().isVisible()) << value;
        EXPECT_FALSE(fake.tray.icon.has_value()) << value;
        EXPECT_FALSE(timer("check timer").isEnabled()) << value;
        program.reset();
    }
}

TEST_F(StartUp, TheIntervalRoundsHalvesToTheEvenNeighbourAndIsClamped) {
    const std::pair<const char*, int> cases[] = {{"2.5", 2}, {"3.5", 4},       {"3分", 3},
                                                 {"abc", 0}, {"99999", 32767}, {"-99999", -32768}};
    for (const auto& [text, expected] : cases) {
        acceptedSettings(text);
        EXPECT_EQ(start().scheduler().minutes(), expected) << text;
        program.reset();
    }
}

TEST_F(StartUp, OptionMarksAreReadAsBooleansWithOddValuesFallingBackToDefaults) {
    fake.profile.set("OPTION", "ZEROCHECK", "TRUE");
    fake.profile.set("OPTION", "titlecallback", "true");
    fake.profile.set("OPTION", "IGNOREERR", "nonsense");  // default True
    fake.profile.set("OPTION", "ONMOUSE", "1");
    fake.profile.set("OPTION", "CHECKONCE", "");  // present but empty: default False
    start();
    EXPECT_TRUE(marked(ctl::AnnounceZero));
    EXPECT_TRUE(marked(ctl::RestoreTitles));
    EXPECT_TRUE(marked(ctl::ShowErrors));
    EXPECT_TRUE(marked(ctl::UnderMouse));
    EXPECT_FALSE(marked(ctl::OnceOnly));
}

TEST_F(StartUp, TheSoundIsOpenedOnlyForTheExactWordTRUE) {
    fake.profile.set("SOUND", "ENABLE", "TRUE");
    fake.profile.set("SOUND", "WAVEPATH", "/sounds/ding.wav");
    EXPECT_TRUE(start().display().soundOn());
    EXPECT_THAT(lines("sound "), ElementsAre("sound load \"/sounds/ding.wav\""));
    program.reset();

    fake.profile.set("SOUND", "ENABLE", "True");
    EXPECT_FALSE(start().display().soundOn());
    EXPECT_THAT(lines("sound "), IsEmpty());
}

TEST_F(StartUp, TheDisplayPeriodIsTheIntervalInMilliseconds) {
    EXPECT_EQ(DisplayPeriodMs("1"), 1000u);
    EXPECT_EQ(DisplayPeriodMs("2.5"), 2500u);
    EXPECT_EQ(DisplayPeriodMs("0.0015"), 2u);  // 1.5 ms rounds to the even 2
    EXPECT_EQ(DisplayPeriodMs(""), 0u);
    EXPECT_EQ(DisplayPeriodMs("-3"), 0u);
    EXPECT_EQ(DisplayPeriodMs("1e12"), 2147483647u);
}

TEST_F(StartUp, TheSettingsFileIsTheExecutablesNameBesideIt) {
    fake.app.folder = "/opt/vantorel";
    fake.app.name = "Vantorel";
    start();
    EXPECT_EQ(program->ini().filePath(), "/opt/vantorel/vantorel.ini");
    EXPECT_EQ(program->ini().saveFolder(), "/opt/vantorel/save");
    fake.app.folder = "C:\\";
    fake.app.separator = '\\';
    EXPECT_EQ(program->ini().saveFolder(), "C:\\save");
}

// A settings file that is there but cannot be read: the program starts as
// on a first run, and says so, instead of passing it off as one.
TEST_F(StartUp, AnUnreadableSettingsFileIsReportedOnceTheWindowHasSettled) {
    fake.profile.condition = {platform::ReadOutcome::TooLarge, ""};
    start();

    const auto& t = fake.transcript.lines();
    const auto prepared =
        std::find(t.begin(), t.end(), "ini prepare /opt/vantorel/vantorel.ini -> too large");
    ASSERT_NE(prepared, t.end());
    EXPECT_EQ(std::find_if(t.begin(), prepared,
                           [](const std::string& line) { return line.starts_with("ini read"); }),
              prepared)
        << "checked before the first read";
    const std::string next =
        "設定は初期値で始まります。設定を保存すると、このファイルは同じフォルダーに"
        "「vantorel.ini.unreadable」（その名前がすでにあれば -2、-3 "
        "… を付けた名前）として残され、新しい設定ファイルが作られます。";
    EXPECT_THAT(std::vector<std::string>(t.end() - 2, t.end()),
                ElementsAre("stderr: 設定ファイルを読み込めませんでした。 "
                            "/opt/vantorel/vantorel.ini 理由: ファイルが大きすぎます（上限 16 "
                            "MB）。 " +
                                next,
                            "box [Vantorel] \"設定ファイルを読み込めませんでした。\n"
                            "/opt/vantorel/vantorel.ini\n"
                            "理由: ファイルが大きすぎます（上限 16 MB）。\n" +
                                next + "\""));
}

TEST_F(StartUp, EachReasonIsNamedAndAFolderIsNotPromisedACopy) {
    fake.profile.condition = {platform::ReadOutcome::Failed, "Input/output error"};
    start();
    EXPECT_THAT(fake.ui.messageBoxes.back(),
                HasSubstr("理由: 読み取り中にエラーが起きました（Input/output error）。"));
    program.reset();

    fake.profile.condition = {platform::ReadOutcome::AccessDenied, ""};
    start();
    EXPECT_THAT(fake.ui.messageBoxes.back(), HasSubstr("理由: 読み取りが許可されていません。"));
    program.reset();

    fake.profile.condition = {platform::ReadOutcome::NotAFile, ""};
    start();
    EXPECT_THAT(fake.ui.messageBoxes.back(),
                HasSubstr("理由: 通常のファイルではありません（フォルダーなど）。\n"
                          "設定は初期値で始まります。このままでは設定を保存できません。"));
    EXPECT_THAT(fake.ui.messageBoxes.back(), Not(HasSubstr("unreadable")));
}

TEST_F(StartUp, AReadableOrMissingFileGetsNoMessage) {
    for (const platform::ReadOutcome outcome :
         {platform::ReadOutcome::Read, platform::ReadOutcome::Missing}) {
        fake.profile.condition = {outcome, ""};
        start();
        EXPECT_THAT(lines("box "), IsEmpty());
        EXPECT_THAT(lines("stderr"), IsEmpty());
        program.reset();
    }
}

}  // namespace
}  // namespace vantorel
