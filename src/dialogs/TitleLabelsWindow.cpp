#include "dialogs/TitleLabelsWindow.h"

#include "dialogs/Layouts.h"
#include "dialogs/SettingsNotSaved.h"
#include "settings/SettingsKeys.h"

namespace vantorel {

TitleLabelsWindow::TitleLabelsWindow(platform::Platform& os, SettingsStore& ini)
    : SmallWindow(os.ui, TitleLabelsLayout()), os_(os), ini_(ini) {
    load();
}

void TitleLabelsWindow::load() {
    namespace id = ctl::titleLabels;
    form().setText(id::FromBox, ini_.read(keys::kTitleBar, keys::kFrom, keys::kDefaultFromLabel));
    form().setText(id::SubjectBox,
                   ini_.read(keys::kTitleBar, keys::kSubject, keys::kDefaultSubjectLabel));
    form().setText(id::DateBox, ini_.read(keys::kTitleBar, keys::kDate, keys::kDefaultDateLabel));
}

void TitleLabelsWindow::Click(platform::ControlId control) {
    if (control == ctl::titleLabels::OkButton) {
        accept();
    }
}

void TitleLabelsWindow::accept() {
    namespace id = ctl::titleLabels;
    // Every label is written even when an earlier one failed, so that as
    // much as possible is kept; the values stand as typed, empty ones too.
    bool saved = ini_.write(keys::kTitleBar, keys::kFrom, form().text(id::FromBox));
    saved = ini_.write(keys::kTitleBar, keys::kSubject, form().text(id::SubjectBox)) && saved;
    saved = ini_.write(keys::kTitleBar, keys::kDate, form().text(id::DateBox)) && saved;
    if (!saved) {
        // The window stays, with what the user typed, rather than closing
        // as if the labels were kept.
        ShowSettingsNotSaved(os_, ini_);
        return;
    }
    Unload();
}

}  // namespace vantorel
