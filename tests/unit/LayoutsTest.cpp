// The windows as data.

#include <gmock/gmock.h>

#include <set>

#include "app/SettingsWindowLayout.h"
#include "dialogs/Layouts.h"

namespace vantorel {
namespace {

using platform::ControlKind;
using platform::FormLayout;

const FormLayout* const kAllWindows[] = {&SettingsWindowLayout(), &TitleLabelsLayout(),
                                         &SoundSettingsLayout(), &AboutLayout(),
                                         &TokenCommandLayout()};

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
