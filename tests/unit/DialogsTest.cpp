// The three small windows: version, title-bar labels and sound settings.

#include <gmock/gmock.h>

#include "dialogs/Layouts.h"
#include "fake/ProgramFixture.h"

namespace vantorel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class Dialogs : public fake::ProgramFixture {
  protected:
    Dialogs() {
        acceptedSettings();
        start();
    }
    fake::FakeForm& open(platform::ControlId menuItem, const std::string& window) {
        fake.transcript.clear();
        mainForm().userClicks(menuItem);
        return *fake.ui.form(window);
    }
    fake::FakeForm& openAbout() { return open(ctl::ShowVersion, "AboutWindow"); }
    fake::FakeForm& openTitleLabels() { return open(ctl::OpenTitleLabels, "TitleLabelsWindow"); }
    fake::FakeForm& openSoundSettings() {
        return open(ctl::OpenSoundSettings, "SoundSettingsWindow");
    }
    std::optional<std::string> stored(const std::string& section, const std::string& key) {
        return fake.profile.value(section, key);
    }
};

// ---- version window

TEST_F(Dialogs, TheVersionWindowShowsTitleAndVersionInHalfWidthKatakana) {
    fake::FakeForm& about = openAbout();
    EXPECT_EQ(about.caption(), "Vantorelのﾊﾞｰｼﾞｮﾝ情報");
    EXPECT_EQ(about.textOf(ctl::about::ProductLabel), "Vantorel");
    EXPECT_EQ(about.textOf(ctl::about::VersionLabel), "ﾊﾞｰｼﾞｮﾝ 1.3.5");
    EXPECT_TRUE(about.isVisible());
    EXPECT_THAT(lines("ini"), IsEmpty());

    about.userClicks(ctl::about::OkButton);
    EXPECT_TRUE(about.isClosed());
    EXPECT_FALSE(fake.ui.quitRequested);
}

TEST_F(Dialogs, TheVersionIsReadFromTheVersionRecordEachTimeTheWindowLoads) {
    fake.app.versionRecord = {10, 0, 12};
    fake::FakeForm& first = openAbout();
    EXPECT_EQ(first.textOf(ctl::about::VersionLabel), "ﾊﾞｰｼﾞｮﾝ 10.0.12");
    first.userCloses();
    fake.app.versionRecord = {2, 7, 0};
    EXPECT_EQ(openAbout().textOf(ctl::about::VersionLabel), "ﾊﾞｰｼﾞｮﾝ 2.7.0");
}

// ---- title-bar label window

TEST_F(Dialogs, TitleLabelsShowTheirDefaultsAndOKWritesThemInOrder) {
    fake::FakeForm& window = openTitleLabels();
    EXPECT_EQ(window.textOf(ctl::titleLabels::FromBox), "From:");
    EXPECT_EQ(window.textOf(ctl::titleLabels::SubjectBox), "Subject:");
    EXPECT_EQ(window.textOf(ctl::titleLabels::DateBox), "Date:");
    EXPECT_THAT(lines("ini read"), ElementsAre("ini read [TITLEBAR] FROM -> From:",
                                               "ini read [TITLEBAR] SUBJECT -> Subject:",
                                               "ini read [TITLEBAR] DATE -> Date:"));

    window.userTypes(ctl::titleLabels::FromBox, "差出人:");
    window.userTypes(ctl::titleLabels::DateBox, "");  // an empty label is kept empty
    window.userClicks(ctl::titleLabels::OkButton);
    EXPECT_THAT(lines("ini write"), ElementsAre("ini write [TITLEBAR] FROM = 差出人:",
                                                "ini write [TITLEBAR] SUBJECT = Subject:",
                                                "ini write [TITLEBAR] DATE = "));
    EXPECT_TRUE(window.isClosed());

    fake::FakeForm& again = openTitleLabels();
    EXPECT_EQ(again.textOf(ctl::titleLabels::FromBox), "差出人:");
    EXPECT_EQ(again.textOf(ctl::titleLabels::DateBox), "");
}

TEST_F(Dialogs, ClosingTheTitleLabelWindowDiscardsTheChanges) {
    fake::FakeForm& window = openTitleLabels();
    window.userTypes(ctl::titleLabels::SubjectBox, "件名:");
    window.userCloses();
    EXPECT_TRUE(window.isClosed());
    EXPECT_THAT(lines("ini write"), IsEmpty());
    EXPECT_EQ(openTitleLabels().textOf(ctl::titleLabels::SubjectBox), "Subject:");
}

TEST_F(Dialogs, TitleLabelsThatCannotBeSavedKeepTheWindowOpen) {
    fake::FakeForm& window = openTitleLabels();
    window.userTypes(ctl::titleLabels::SubjectBox, "件名:");
    fake.profile.refusedKeys = {"SUBJECT"};
    window.userClicks(ctl::titleLabels::OkButton);
    EXPECT_EQ(lines("ini write").size(), 3u);
    EXPECT_THAT(fake.ui.messageBoxes,
                ElementsAre("[Vantorel] 設定を保存できませんでした。\n/opt/vantorel/vantorel.ini"));
    EXPECT_FALSE(window.isClosed());
    EXPECT_EQ(window.textOf(ctl::titleLabels::SubjectBox), "件名:");
}

// ---- sound window

TEST_F(Dialogs, SoundWindowWithTheSoundOffShowsNoPath) {
    for (const char* stored : {"", "FALSE"}) {  // "" stands for no ENABLE key at all
        fake.profile.clear();
        if (*stored != '\0') {
            fake.profile.set("SOUND", "ENABLE", stored);
        }
        fake.profile.set("SOUND", "WAVEPATH", "/sounds/old.wav");
        fake::FakeForm& window = openSoundSettings();
        EXPECT_FALSE(window.isChecked(ctl::sound::SoundCheckBox)) << stored;
        EXPECT_FALSE(window.isEnabled(ctl::sound::WavePathBox)) << stored;
        EXPECT_FALSE(window.isEnabled(ctl::sound::BrowseButton)) << stored;
        EXPECT_EQ(window.textOf(ctl::sound::WavePathBox), "") << stored;
        window.userCloses();
    }
}

TEST_F(Dialogs, SoundWindowWithAnyOtherValueShowsTheBoxSetAndTheStoredPath) {
    for (const char* stored : {"TRUE", "true", "False", "yes"}) {
        fake.profile.set("SOUND", "ENABLE", stored);
        fake.profile.set("SOUND", "WAVEPATH", "/sounds/ding.wav");
        fake::FakeForm& window = openSoundSettings();
        EXPECT_TRUE(window.isChecked(ctl::sound::SoundCheckBox)) << stored;
        EXPECT_TRUE(window.isEnabled(ctl::sound::WavePathBox)) << stored;
        EXPECT_TRUE(window.isEnabled(ctl::sound::BrowseButton)) << stored;
        EXPECT_EQ(window.textOf(ctl::sound::WavePathBox), "/sounds/ding.wav") << stored;
        window.userCloses();
    }
}

TEST_F(Dialogs, TheCheckBoxSwitchesThePathControlsAtEachChange) {
    fake::FakeForm& window = openSoundSettings();
    window.userTogglesCheckBox(ctl::sound::SoundCheckBox);
    EXPECT_TRUE(window.isEnabled(ctl::sound::WavePathBox));
    EXPECT_TRUE(window.isEnabled(ctl::sound::BrowseButton));
    window.userTogglesCheckBox(ctl::sound::SoundCheckBox);
    EXPECT_FALSE(window.isEnabled(ctl::sound::WavePathBox));
    EXPECT_FALSE(window.isEnabled(ctl::sound::BrowseButton));
}

TEST_F(Dialogs, BrowsingPutsTheDialogsFileNameIntoTheBoxEvenWhenCancelled) {
    fake.profile.set("SOUND", "ENABLE", "TRUE");
    fake.profile.set("SOUND", "WAVEPATH", "/sounds/ding.wav");
    fake::FakeForm& window = openSoundSettings();
    // Cancelled before any choice: the dialog holds no name, the box empties.
    window.userClicks(ctl::sound::BrowseButton);
    EXPECT_EQ(window.textOf(ctl::sound::WavePathBox), "");

    fake.fileDialogs.choices = {std::string("/home/me/bell.wav"), std::nullopt};
    window.userClicks(ctl::sound::BrowseButton);
    EXPECT_EQ(window.textOf(ctl::sound::WavePathBox), "/home/me/bell.wav");
    window.userTypes(ctl::sound::WavePathBox, "typed by hand");
    window.userClicks(ctl::sound::BrowseButton);  // cancelled: the last choice comes back
    EXPECT_EQ(window.textOf(ctl::sound::WavePathBox), "/home/me/bell.wav");
    EXPECT_THAT(lines("file dialog"), ElementsAre("file dialog filter = WAVファイル(*.wav)|*.wav",
                                                  "file dialog open -> cancelled",
                                                  "file dialog filter = WAVファイル(*.wav)|*.wav",
                                                  "file dialog open -> /home/me/bell.wav",
                                                  "file dialog filter = WAVファイル(*.wav)|*.wav",
                                                  "file dialog open -> cancelled"));

    // A window loaded anew has a dialog of its own that holds no name yet.
    window.userCloses();
    fake::FakeForm& again = openSoundSettings();
    again.userClicks(ctl::sound::BrowseButton);
    EXPECT_EQ(again.textOf(ctl::sound::WavePathBox), "");
}

TEST_F(Dialogs, SoundOffAtOKWritesOnlyTheSwitch) {
    fake.profile.set("SOUND", "ENABLE", "TRUE");
    fake.profile.set("SOUND", "WAVEPATH", "/sounds/ding.wav");
    program.reset();
    start();  // the sound on, the player open on the stored file
    ASSERT_TRUE(program->display().soundOn());
    fake::FakeForm& window = openSoundSettings();
    fake.transcript.clear();
    window.userTogglesCheckBox(ctl::sound::SoundCheckBox);
    window.userTypes(ctl::sound::WavePathBox, "/ignored.wav");
    window.userClicks(ctl::sound::OkButton);
    EXPECT_THAT(lines("ini write"), ElementsAre("ini write [SOUND] ENABLE = FALSE"));
    EXPECT_EQ(stored("SOUND", "WAVEPATH"), "/sounds/ding.wav");
    EXPECT_FALSE(program->display().soundOn());
    EXPECT_THAT(lines("sound "), IsEmpty());
    EXPECT_TRUE(window.isClosed());

    // Opened again: an empty, disabled path box although the path is stored.
    fake::FakeForm& again = openSoundSettings();
    EXPECT_EQ(again.textOf(ctl::sound::WavePathBox), "");
    EXPECT_FALSE(again.isEnabled(ctl::sound::WavePathBox));
}

TEST_F(Dialogs, SoundOnAtOKSavesThePathAndOpensThePlayerOnIt) {
    fake.profile.set("SOUND", "ENABLE", "TRUE");
    fake.profile.set("SOUND", "WAVEPATH", "/sounds/old.wav");
    program.reset();
    start();  // the player is open on the old file
    ASSERT_TRUE(fake.player.open);
    fake::FakeForm& window = openSoundSettings();
    fake.fileDialogs.choices = {std::string("/sounds/new.wav")};
    window.userClicks(ctl::sound::BrowseButton);
    fake.transcript.clear();
    window.userClicks(ctl::sound::OkButton);
    EXPECT_THAT(lines("ini write"), ElementsAre("ini write [SOUND] ENABLE = TRUE",
                                                "ini write [SOUND] WAVEPATH = /sounds/new.wav"));
    EXPECT_TRUE(program->display().soundOn());
    EXPECT_THAT(lines("sound "), ElementsAre("sound load \"/sounds/new.wav\""));
    EXPECT_TRUE(window.isClosed());
}

TEST_F(Dialogs, SoundSettingsThatCannotBeSavedKeepTheWindowAndTheSoundAsTheyWere) {
    fake::FakeForm& window = openSoundSettings();
    window.userTogglesCheckBox(ctl::sound::SoundCheckBox);
    window.userTypes(ctl::sound::WavePathBox, "/sounds/new.wav");
    fake.profile.refusedKeys = {"WAVEPATH"};
    window.userClicks(ctl::sound::OkButton);
    EXPECT_THAT(lines("ini write"), ElementsAre("ini write [SOUND] ENABLE = TRUE",
                                                "ini write [SOUND] WAVEPATH = /sounds/new.wav "
                                                "refused"));
    EXPECT_EQ(fake.ui.messageBoxes.size(), 1u);
    EXPECT_FALSE(window.isClosed());
    EXPECT_FALSE(program->display().soundOn());
    EXPECT_THAT(lines("sound "), IsEmpty());
}

}  // namespace
}  // namespace vantorel
