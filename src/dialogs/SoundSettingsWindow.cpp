#include "dialogs/SoundSettingsWindow.h"

#include <string>
#include <utility>

#include "dialogs/Layouts.h"
#include "dialogs/SettingsNotSaved.h"
#include "settings/SettingsKeys.h"

namespace vantorel {

namespace {
constexpr std::string_view kWavFilter = "WAVファイル(*.wav)|*.wav";
}  // namespace

SoundSettingsWindow::SoundSettingsWindow(platform::Platform& os, SettingsStore& ini,
                                         SoundChosen soundChosen)
    : SmallWindow(os.ui, SoundSettingsLayout()),
      os_(os),
      ini_(ini),
      soundChosen_(std::move(soundChosen)),
      fileDialog_(os.fileDialogs.createFileDialog()) {
    load();
}

void SoundSettingsWindow::load() {
    namespace id = ctl::sound;
    // Only the exact word "FALSE" means off here; any other value shows the
    // box set with the stored path (start-up, stricter, plays only "TRUE").
    if (ini_.read(keys::kSound, keys::kEnable, keys::kSoundOff) == keys::kSoundOff) {
        form().setEnabled(id::WavePathBox, false);
        form().setEnabled(id::BrowseButton, false);
        return;
    }
    form().setText(id::WavePathBox, ini_.read(keys::kSound, keys::kWavePath, keys::kEmpty));
    form().setChecked(id::SoundCheckBox, true);
    // Setting the box from the program raises no event: apply its rule here.
    applySoundCheckBox();
}

void SoundSettingsWindow::Click(platform::ControlId control) {
    switch (control) {
        case ctl::sound::BrowseButton:
            browse();
            break;
        case ctl::sound::OkButton:
            accept();
            break;
        default:
            break;
    }
}

void SoundSettingsWindow::CheckBoxClick(platform::ControlId control) {
    if (control == ctl::sound::SoundCheckBox) {
        applySoundCheckBox();
    }
}

void SoundSettingsWindow::applySoundCheckBox() {
    const bool on = form().checked(ctl::sound::SoundCheckBox);
    form().setEnabled(ctl::sound::WavePathBox, on);
    form().setEnabled(ctl::sound::BrowseButton, on);
}

void SoundSettingsWindow::browse() {
    fileDialog_->setFilter(kWavFilter);
    fileDialog_->showOpen();
    // A cancelled dialog still hands over the name it holds: the last file
    // chosen in this window, or nothing.
    form().setText(ctl::sound::WavePathBox, fileDialog_->fileName());
}

void SoundSettingsWindow::accept() {
    namespace id = ctl::sound;
    const bool on = form().checked(id::SoundCheckBox);
    const std::string path = form().text(id::WavePathBox);
    bool saved = ini_.write(keys::kSound, keys::kEnable, on ? keys::kSoundOn : keys::kSoundOff);
    if (on) {
        saved = ini_.write(keys::kSound, keys::kWavePath, path) && saved;
    }
    if (!saved) {
        // The window stays with the user's choice, and the sound stays as it
        // was, rather than closing as if the choice were kept.
        ShowSettingsNotSaved(os_, ini_);
        return;
    }
    soundChosen_(on, path);
    Unload();
}

}  // namespace vantorel
