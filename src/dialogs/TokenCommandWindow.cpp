#include "dialogs/TokenCommandWindow.h"

#include <string>
#include <string_view>

#include "dialogs/Layouts.h"
#include "dialogs/SettingsNotSaved.h"
#include "settings/SettingsKeys.h"

namespace vantorel {

namespace {

constexpr std::string_view kBlanks = " \t";

// Blanks around a command line mean nothing to the shell; a line of blanks
// alone would make every login run an empty command.
std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace

TokenCommandWindow::TokenCommandWindow(platform::Platform& os, SettingsStore& ini)
    : SmallWindow(os.ui, TokenCommandLayout()), os_(os), ini_(ini) {
    load();
}

void TokenCommandWindow::load() {
    form().setText(ctl::token::CommandBox,
                   ini_.read(keys::kUserInfo, keys::kTokenCmd, keys::kEmpty));
}

void TokenCommandWindow::Click(platform::ControlId control) {
    switch (control) {
        case ctl::token::OkButton:
            accept();
            break;
        case ctl::token::CancelButton:
            Unload();
            break;
        default:
            break;
    }
}

void TokenCommandWindow::accept() {
    const std::string command = Trimmed(form().text(ctl::token::CommandBox));
    if (!ini_.write(keys::kUserInfo, keys::kTokenCmd, command)) {
        // The window stays with what was typed rather than closing as if
        // the command were kept.
        ShowSettingsNotSaved(os_, ini_);
        return;
    }
    Unload();
}

}  // namespace vantorel
