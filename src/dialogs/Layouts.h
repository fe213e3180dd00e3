#pragma once
// The small windows as data: their controls with the ids the program
// uses to reach them. Both backends build the real windows from these.

#include "platform/FormLayout.h"

// The title-bar item settings window "タイトルバーの設定".
namespace vantorel::ctl::title {
enum TitleConf : platform::ControlId {
    Label1 = 1,  // "差出人"
    Text2,       // subject label
    Text1,       // sender label
    Text3,       // date label
    Command1,    // OK
    Label2,      // "件名"
    Label3,      // "時刻"
};
}  // namespace vantorel::ctl::title

// The sound settings window "効果音の設定".
namespace vantorel::ctl::music {
enum Music : platform::ControlId {
    chkMusic = 1,
    txtWavPath,
    cmdShowDialog,  // ".." opens the file dialog
    cmdOK,
};
}  // namespace vantorel::ctl::music

// The version window.
namespace vantorel::ctl::about {
enum About : platform::ControlId {
    picIcon = 1,
    lblTitle,
    lblVersion,
    cmdOK,
};
}  // namespace vantorel::ctl::about

// The token command window "OAuth2 トークンコマンド".
namespace vantorel::ctl::token {
enum TokenCmd : platform::ControlId {
    Label1 = 1,  // what the box is for
    txtTokenCmd,
    cmdOK,
    cmdCancel,
};
}  // namespace vantorel::ctl::token

namespace vantorel {

const platform::FormLayout& TitleLabelsLayout();
const platform::FormLayout& SoundSettingsLayout();
const platform::FormLayout& AboutLayout();
const platform::FormLayout& TokenCommandLayout();

}  // namespace vantorel
