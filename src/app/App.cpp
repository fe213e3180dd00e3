#include "app/App.h"

#include "app/SettingsFileProblem.h"
#include "app/SettingsWindowLayout.h"
#include "platform/Version.h"
#include "settings/Count16.h"
#include "settings/SettingsKeys.h"
#include "text/NumberText.h"
#include "tray/TrayIcon.h"

namespace vantorel {

App::App(platform::Platform& os)
    : trayStatus_(kProductName), os_(os), ini_(os.app, os.profile), mailCheck_(os, ini_, *this) {
    settingsWindow_ =
        std::make_unique<SettingsWindow>(os_, ini_, *this, static_cast<SettingsWindowHost&>(*this));
    scheduler_ = std::make_unique<CheckScheduler>(os_, static_cast<CheckSchedulerHost&>(*this));
    display_ = std::make_unique<DisplayCycle>(os_, ini_, static_cast<DisplayCycleHost&>(*this));
}

App::~App() = default;

bool App::ReadOption(std::string_view key, bool fallback) {
    // A hand-edited value that is no Boolean text counts as the option's
    // default, so that one odd line never keeps the program from starting.
    const std::string stored = ini_.read(keys::kOption, key, text::BooleanText(fallback));
    return text::TextToBoolean(stored).value_or(fallback);
}

void App::start() {
    form().setControlVisible(ctl::TrayMenu, false);
    trayIcon_ = std::make_unique<TrayIcon>(os_.tray, form(), ctl::TrayMenu, [this] {
        trayStatus_.Seen();
        ShowTrayStatus();
    });
    toTray();

    // A settings file that is there but cannot be read must not pass for a
    // first run: the user learns of it once the window has settled.
    const platform::FileCondition settingsFile = ini_.prepareFile();
    settingsWindow_->fill();

    form().setChecked(ctl::AnnounceZero, ReadOption(keys::kZeroCheck, false));
    form().setChecked(ctl::RestoreTitles, ReadOption(keys::kTitleCallBack, false));
    form().setChecked(ctl::ShowErrors, ReadOption(keys::kIgnoreErr, true));
    form().setChecked(ctl::UnderMouse, ReadOption(keys::kOnMouse, false));
    form().setChecked(ctl::OnceOnly, ReadOption(keys::kCheckOnce, false));
    form().setChecked(ctl::NotifyDesktop, ReadOption(keys::kNotify, false));
    ReadAutostartMark();

    if (ini_.read(keys::kSound, keys::kEnable, keys::kSoundOff) == keys::kSoundOn) {
        display_->openSound(ini_.read(keys::kSound, keys::kWavePath, keys::kEmpty));
    }

    if (ini_.read(keys::kUserInfo, keys::kStartUp, keys::kFalseText) == keys::kTrueText) {
        // An interval beyond the 16-bit count is taken as the largest
        // count rather than stopping the program at start.
        const std::string interval =
            ini_.read(keys::kUserInfo, keys::kInterval, keys::kDefaultInterval);
        scheduler_->setMinutes(static_cast<std::int16_t>(
            text::ToClampedInt(text::LeadingNumber(interval), kInt16Min, kInt16Max)));
        scheduler_->setEnabled(true);
    } else {
        fromTray();
        scheduler_->setEnabled(false);
    }

    display_->setInterval(ini_.read(keys::kUserInfo, keys::kTimer, keys::kEmpty));
    display_->stop();

    if (const auto notice = NoticeForSettingsFile(ini_.filePath(), settingsFile)) {
        os_.diagnostics.warn(notice->line);
        os_.ui.messageBox(notice->box, os_.app.title(), platform::MessageIcon::None);
    }
}

}  // namespace vantorel
