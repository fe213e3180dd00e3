// "ログイン時に起動する": the mark mirrors the session's autostart entry, the
// command adds or removes it, and a refusal is said in a box.

#include <gmock/gmock.h>

#include <algorithm>

#include "fake/ProgramFixture.h"

namespace vantorel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Entry = fake::FakeAutostart::Entry;

class Autostart : public fake::ProgramFixture {
  protected:
    void chooseFromOptionMenu() {
        mainForm().userOpensMenu(ctl::OptionMenu);
        mainForm().userClicks(ctl::Autostart);
    }
};

TEST_F(Autostart, TheMarkAtStartIsTheSystemsEntryNotTheSettingsFile) {
    // A stale value in the settings file has no say.
    fake.profile.set("OPTION", "AUTOSTART", "True");
    for (const auto& [entry, expected] :
         {std::pair{Entry::None, false}, std::pair{Entry::Ours, true},
          std::pair{Entry::OtherProgram, false}}) {
        fake.autostart.entry = entry;
        start();
        EXPECT_EQ(marked(ctl::Autostart), expected);
        EXPECT_THAT(lines("autostart"),
                    ElementsAre(expected ? "autostart? -> true" : "autostart? -> false"));
        EXPECT_THAT(lines("ini read [OPTION] AUTOSTART"), IsEmpty());
    }
}

TEST_F(Autostart, OpeningTheOptionMenuReadsTheEntryAgain) {
    start();
    EXPECT_FALSE(marked(ctl::Autostart));
    // The desktop's own settings added the entry meanwhile.
    fake.autostart.entry = Entry::Ours;
    mainForm().userOpensMenu(ctl::OptionMenu);
    EXPECT_TRUE(marked(ctl::Autostart));
    fake.autostart.entry = Entry::None;
    mainForm().userOpensMenu(ctl::OptionMenu);
    EXPECT_FALSE(marked(ctl::Autostart));
}

TEST_F(Autostart, TheTrayMenuOpeningDoesNotReachTheSystem) {
    acceptedSettings();
    start();
    fake.transcript.clear();
    fake.ui.popupChoices.push_back(platform::kNoControl);
    fake.trayAction(platform::TrayAction::MenuRequested);
    EXPECT_THAT(lines("autostart"), IsEmpty());
}

TEST_F(Autostart, ChoosingTheItemAddsThenRemovesTheEntryWithoutTouchingTheSettingsFile) {
    start();
    fake.transcript.clear();
    chooseFromOptionMenu();
    EXPECT_EQ(fake.autostart.entry, Entry::Ours);
    EXPECT_TRUE(marked(ctl::Autostart));
    chooseFromOptionMenu();
    EXPECT_EQ(fake.autostart.entry, Entry::None);
    EXPECT_FALSE(marked(ctl::Autostart));
    EXPECT_THAT(lines("autostart"),
                ElementsAre("autostart? -> false", "autostart add", "autostart? -> true",
                            "autostart? -> true", "autostart remove", "autostart? -> false"));
    EXPECT_THAT(lines("ini write"), IsEmpty());
    EXPECT_THAT(fake.ui.messageBoxes, IsEmpty());
}

TEST_F(Autostart, AnotherProgramsEntryShowsUnmarkedAndChoosingTheItemPutsOursInItsPlace) {
    // Another copy of the program, elsewhere, was registered under our name.
    fake.autostart.entry = Entry::OtherProgram;
    start();
    chooseFromOptionMenu();
    EXPECT_EQ(fake.autostart.entry, Entry::Ours);
    EXPECT_TRUE(marked(ctl::Autostart));
}

TEST_F(Autostart, ARefusedAddIsSaidInABoxAndTheMarkStaysOff) {
    start();
    fake.autostart.refuse = "/home/hana/.config/autostart: Permission denied";
    chooseFromOptionMenu();
    EXPECT_THAT(fake.ui.messageBoxes,
                ElementsAre("[Vantorel] ログイン時に起動するように登録できませんでした。\n"
                            "/home/hana/.config/autostart: Permission denied"));
    EXPECT_EQ(fake.autostart.entry, Entry::None);
    EXPECT_FALSE(marked(ctl::Autostart));
}

TEST_F(Autostart, ARefusedRemovalIsSaidInABoxAndTheMarkStaysOn) {
    fake.autostart.entry = Entry::Ours;
    start();
    fake.autostart.refuse =
        "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run "
        "(Vantorel): Access is denied";
    chooseFromOptionMenu();
    ASSERT_EQ(fake.ui.messageBoxes.size(), 1u);
    EXPECT_THAT(
        fake.ui.messageBoxes[0],
        ::testing::StartsWith("[Vantorel] ログイン時に起動する登録を解除できませんでした。\n"
                              "HKEY_CURRENT_USER"));
    EXPECT_EQ(fake.autostart.entry, Entry::Ours);
    EXPECT_TRUE(marked(ctl::Autostart));
}

TEST_F(Autostart, TheItemComesAfterEveryDesignedItemOfTheOptionMenu) {
    const auto& controls = SettingsWindowLayout().controls;
    const auto position = [&](platform::ControlId id) {
        return std::find_if(controls.begin(), controls.end(),
                            [id](const auto& control) { return control.id == id; }) -
               controls.begin();
    };
    EXPECT_GT(position(ctl::Autostart), position(ctl::OpenTokenCommand));
    const auto& item = controls[static_cast<std::size_t>(position(ctl::Autostart))];
    EXPECT_EQ(item.parent, ctl::OptionMenu);
    EXPECT_EQ(item.caption, "ログイン時に起動する");
    EXPECT_TRUE(item.checkable);
}

}  // namespace
}  // namespace vantorel
