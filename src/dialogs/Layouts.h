#pragma once
// The small windows as data: their controls with the ids the program
// uses to reach them. Both backends build the real windows from these.

#include "platform/FormLayout.h"

// The title-bar item settings window "タイトルバーの設定".
namespace vantorel::ctl::titleLabels {
enum TitleLabelsControl : platform::ControlId {
    FromLabel = 1,  // "差出人"
    SubjectBox,     // subject label
    FromBox,        // sender label
    DateBox,        // date label
    OkButton,
    SubjectLabel,  // "件名"
    DateLabel,     // "時刻"
};
}  // namespace vantorel::ctl::titleLabels

// The sound settings window "効果音の設定".
namespace vantorel::ctl::sound {
enum SoundSettingsControl : platform::ControlId {
    SoundCheckBox = 1,
    WavePathBox,
    BrowseButton,  // ".." opens the file dialog
    OkButton,
};
}  // namespace vantorel::ctl::sound

// The version window.
namespace vantorel::ctl::about {
enum AboutControl : platform::ControlId {
    IconPicture = 1,
    ProductLabel,
    VersionLabel,
    OkButton,
};
}  // namespace vantorel::ctl::about

// The token command window "OAuth2 トークンコマンド".
namespace vantorel::ctl::token {
enum TokenCommandControl : platform::ControlId {
    ExplanationLabel = 1,  // what the box is for
    CommandBox,
    OkButton,
    CancelButton,
};
}  // namespace vantorel::ctl::token

namespace vantorel {

const platform::FormLayout& TitleLabelsLayout();
const platform::FormLayout& SoundSettingsLayout();
const platform::FormLayout& AboutLayout();
const platform::FormLayout& TokenCommandLayout();

}  // namespace vantorel
