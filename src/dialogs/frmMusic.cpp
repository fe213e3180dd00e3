#include "dialogs/frmMusic.h"

#include <string>
#include <utility>

#include "dialogs/Layouts.h"
#include "dialogs/SettingsNotSaved.h"
#include "settings/SettingsKeys.h"

namespace vantorel {

namespace {
constexpr std::string_view kWavFilter = "WAVファイル(*.wav)|*.wav";
}  // namespace

frmMusic::frmMusic(platform::Platform& os, SettingsStore& ini, SoundChosen soundChosen)
    : SmallWindow(os.ui, MusicLayout()),
      os_(os),
      ini_(ini),
      soundChosen_(std::move(soundChosen)),
      CMD1(os.fileDialogs.createFileDialog()) {
    Form_Load();
}

void frmMusic::Form_Load() {
    namespace id = ctl::music;
    // Only the exact word "FALSE" means off here; any other value shows the
    // box set with the stored path (start-up, stricter, plays only "TRUE").
    if (ini_.read(keys::kSound, keys::kEnable, keys::kSoundOff) == keys::kSoundOff) {
        form().setEnabled(id::txtWavPath, false);
        form().setEnabled(id::cmdShowDialog, false);
        return;
    }
    form().setText(id::txtWavPath, ini_.read(keys::kSound, keys::kWavePath, keys::kEmpty));
    form().setChecked(id::chkMusic, true);
    // Setting the box from the program raises no event: apply its rule here.
    chkMusic_Click();
}

void frmMusic::Click(platform::ControlId control) {
    switch (control) {
        case ctl::music::cmdShowDialog:
            cmdShowDialog_Click();
            break;
        case ctl::music::cmdOK:
            cmdOK_Click();
            break;
        default:
            break;
    }
}

void frmMusic::CheckBoxClick(platform::ControlId control) {
    if (control == ctl::music::chkMusic) {
        chkMusic_Click();
    }
}

void frmMusic::chkMusic_Click() {
    const bool on = form().checked(ctl::music::chkMusic);
    form().setEnabled(ctl::music::txtWavPath, on);
    form().setEnabled(ctl::music::cmdShowDialog, on);
}

void frmMusic::cmdShowDialog_Click() {
    CMD1->setFilter(kWavFilter);
    CMD1->showOpen();
    // A cancelled dialog still hands over the name it holds: the last file
    // chosen in this window, or nothing.
    form().setText(ctl::music::txtWavPath, CMD1->fileName());
}

void frmMusic::cmdOK_Click() {
    namespace id = ctl::music;
    const bool on = form().checked(id::chkMusic);
    const std::string path = form().text(id::txtWavPath);
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
