// The windows as data.

#include <gmock/gmock.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/SettingsWindowLayout.h"
#include "dialogs/Layouts.h"
#include "fake/ProgramFixture.h"
#include "platform/ProgramForms.h"

namespace vantorel {
namespace {

using platform::ControlKind;
using platform::FormLayout;

// Every window the program has: the Windows executable holds exactly these.
const std::vector<const FormLayout*> kAllWindows = ProgramForms();

TEST(Layouts, IdsAndTabPositionsAreUniqueAndParentsExist) {
    for (const FormLayout* form : kAllWindows) {
        std::set<platform::ControlId> ids;
        std::set<int> tabs;
        for (const auto& control : form->controls) {
            EXPECT_TRUE(ids.insert(control.id).second) << form->name << " " << control.name;
            if (control.tabIndex != platform::kNoTabStop) {
                EXPECT_TRUE(tabs.insert(control.tabIndex).second)
                    << form->name << " " << control.name;
            }
            if (control.parent != platform::kNoControl) {
                const auto* parent = form->find(control.parent);
                ASSERT_NE(parent, nullptr) << form->name << " " << control.name;
                EXPECT_TRUE(parent->kind == ControlKind::Frame || parent->kind == ControlKind::Menu)
                    << form->name << " " << control.name;
            }
        }
        EXPECT_GT(form->clientWidth, 0) << form->name;
        EXPECT_GT(form->clientHeight, 0) << form->name;
    }
}

TEST(Layouts, OnlyTheVersionWindowHasADefaultButtonAndEscapePressesOnlyItsOKOrTheTokenCancel) {
    for (const FormLayout* form : kAllWindows) {
        for (const auto& control : form->controls) {
            const bool aboutOK = form == &AboutLayout() && control.id == ctl::about::OkButton;
            const bool tokenCancel =
                form == &TokenCommandLayout() && control.id == ctl::token::CancelButton;
            EXPECT_EQ(control.defaultButton, aboutOK) << form->name << " " << control.name;
            EXPECT_EQ(control.cancelButton, aboutOK || tokenCancel)
                << form->name << " " << control.name;
        }
    }
}

TEST(Layouts, EverySmallWindowBelongsToTheMainWindowAndTheMainWindowToNone) {
    for (const FormLayout* form : kAllWindows) {
        EXPECT_EQ(form->ownedWindow, form != &SettingsWindowLayout()) << form->name;
    }
}

// A window the program opens must be among them, or the Windows program
// could not make it.
class WindowList : public fake::ProgramFixture {};

TEST_F(WindowList, HoldsExactlyTheWindowsTheProgramOpens) {
    program = std::make_unique<App>(fake.platform());
    program->start();
    program->openSoundSettings();
    program->openTitleLabels();
    program->showVersion();
    program->openTokenCommand();
    std::set<std::string> opened;
    for (const std::string& line : fake.transcript.lines()) {
        const std::string suffix = " created";
        if (line.ends_with(suffix)) {
            opened.insert(line.substr(0, line.size() - suffix.size()));
        }
    }
    std::set<std::string> listed;
    for (const FormLayout* form : kAllWindows) {
        listed.insert(form->name);
    }
    EXPECT_EQ(opened, listed);
}

TEST(Layouts, TheTitleBarWindowsRowsReadSubjectSenderDateWithTheirLabels) {
    const auto top = [](platform::ControlId id) { return TitleLabelsLayout().find(id)->top; };
    EXPECT_LT(top(ctl::titleLabels::SubjectBox), top(ctl::titleLabels::FromBox));
    EXPECT_LT(top(ctl::titleLabels::FromBox), top(ctl::titleLabels::DateBox));
    EXPECT_EQ(top(ctl::titleLabels::SubjectLabel), top(ctl::titleLabels::SubjectBox));
    EXPECT_EQ(top(ctl::titleLabels::FromLabel), top(ctl::titleLabels::FromBox));
    EXPECT_EQ(top(ctl::titleLabels::DateLabel), top(ctl::titleLabels::DateBox));
}

}  // namespace
}  // namespace vantorel
