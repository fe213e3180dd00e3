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
    namespace id = ctl::title;
    form().setText(id::Text1, ini_.read(keys::kTitleBar, keys::kFrom, keys::kDefaultFromLabel));
    form().setText(id::Text2,
                   ini_.read(keys::kTitleBar, keys::kSubject, keys::kDefaultSubjectLabel));
    form().setText(id::Text3, ini_.read(keys::kTitleBar, keys::kDate, keys::kDefaultDateLabel));
}

void TitleLabelsWindow::Click(platform::ControlId control) {
    if (control == ctl::title::Command1) {
        accept();
    }
}

void TitleLabelsWindow::accept() {
    namespace id = ctl::title;
    // Every label is written even when an earlier one failed, so that as
    // much as possible is kept; the values stand as typed, empty ones too.
    bool saved = ini_.write(keys::kTitleBar, keys::kFrom, form().text(id::Text1));
    saved = ini_.write(keys::kTitleBar, keys::kSubject, form().text(id::Text2)) && saved;
    saved = ini_.write(keys::kTitleBar, keys::kDate, form().text(id::Text3)) && saved;
    if (!saved) {
        // The window stays, with what the user typed, rather than closing
        // as if the labels were kept.
        ShowSettingsNotSaved(os_, ini_);
        return;
    }
    Unload();
}

}  // namespace vantorel
