#include "app/SettingsWindowLayout.h"

#include "platform/Version.h"

namespace vantorel {

namespace {

using platform::ControlKind;
using platform::ControlLayout;
using platform::kNoControl;
using platform::kNoTabStop;

constexpr int kClientWidth = 3165;  // twips
constexpr int kClientHeight = 4530;

ControlLayout Box(ctl::Control id, const char* name, ControlKind kind, const char* caption,
                  int left, int top, int width, int height, int tab, const char* toolTip,
                  platform::ControlId parent) {
    ControlLayout control;
    control.id = id;
    control.name = name;
    control.kind = kind;
    control.caption = caption;
    control.left = left;
    control.top = top;
    control.width = width;
    control.height = height;
    control.tabIndex = tab;
    control.toolTip = toolTip;
    control.parent = parent;
    return control;
}

ControlLayout MenuEntry(ctl::MenuCommand id, const char* name, ControlKind kind,
                        const char* caption, platform::ControlId parent, bool checkable = false) {
    ControlLayout control;
    control.id = id;
    control.name = name;
    control.kind = kind;
    control.caption = caption;
    control.parent = parent;
    control.checkable = checkable;
    return control;
}

platform::FormLayout Build() {
    using K = ControlKind;
    platform::FormLayout form;
    form.name = "SettingsWindow";
    form.caption = kProductName;
    form.clientWidth = kClientWidth;
    form.clientHeight = kClientHeight;
    auto& c = form.controls;
    const auto frame = ctl::SettingsFrame;
    c.push_back(Box(ctl::SettingsFrame, "SettingsFrame", K::Frame, "基本設定", 0, 0, 3135, 3495, 0,
                    "", kNoControl));
    c.push_back(Box(ctl::ServerLabel, "ServerLabel", K::Label, "サーバー名", 240, 360, 2250, 180,
                    kNoTabStop, "", frame));
    c.push_back(Box(ctl::ServerBox, "ServerBox", K::TextBox, "", 240, 600, 2655, 300, 1,
                    "POP3サーバーを指定して下さい", frame));
    c.push_back(Box(ctl::UserLabel, "UserLabel", K::Label, "ユーザ名", 240, 960, 1650, 180,
                    kNoTabStop, "", frame));
    c.push_back(Box(ctl::UserBox, "UserBox", K::TextBox, "", 240, 1200, 2655, 300, 2,
                    "あなたのアカウントを入れて下さい", frame));
    c.push_back(Box(ctl::PasswordLabel, "PasswordLabel", K::Label, "パスワード", 240, 1560, 975,
                    180, kNoTabStop, "", frame));
    c.push_back(Box(ctl::PasswordBox, "PasswordBox", K::TextBox, "", 240, 1800, 2655, 300, 3,
                    "あなたのパスワードを入れて下さい", frame));
    c.back().password = true;
    c.push_back(Box(ctl::IntervalLabel, "IntervalLabel", K::Label, "確認時間間隔(分）", 240, 2160,
                    1575, 255, kNoTabStop, "", frame));
    c.push_back(
        Box(ctl::IntervalBox, "IntervalBox", K::TextBox, "", 240, 2400, 2655, 270, 4, "", frame));
    c.push_back(Box(ctl::DisplayIntervalLabel, "DisplayIntervalLabel", K::Label, "表示間隔(秒)",
                    240, 2760, 1575, 255, kNoTabStop, "", frame));
    c.push_back(Box(ctl::DisplayIntervalBox, "DisplayIntervalBox", K::TextBox, "", 240, 3000, 2655,
                    270, 5, "", frame));
    c.push_back(Box(ctl::OkButton, "OkButton", K::Button, "OK", 120, 3600, 1320, 495, 6,
                    "入力した設定を有効にしてタスクトレイに格納します。", kNoControl));
    c.push_back(Box(ctl::CancelButton, "CancelButton", K::Button, "CANCEL", 1560, 3600, 1335, 495,
                    7, "過去の設定のままタスクトレイに格納します。", kNoControl));
    c.push_back(Box(ctl::CreditLabel, "CreditLabel", K::Label, "Vantorel  POP3 着信通知", 240, 4200,
                    2775, 255, kNoTabStop, "", kNoControl));

    c.push_back(MenuEntry(ctl::TrayMenu, "TrayMenu", K::Menu, "メニュー", kNoControl));
    c.push_back(
        MenuEntry(ctl::OpenSettings, "OpenSettings", K::MenuItem, "設定変更", ctl::TrayMenu));
    c.push_back(MenuEntry(ctl::Pause, "Pause", K::MenuItem, "一時停止", ctl::TrayMenu, true));
    c.push_back(
        MenuEntry(ctl::ShowVersion, "ShowVersion", K::MenuItem, "Version情報", ctl::TrayMenu));
    c.push_back(
        MenuEntry(ctl::TrayMenuSeparator1, "TrayMenuSeparator1", K::Separator, "-", ctl::TrayMenu));
    c.push_back(MenuEntry(ctl::CheckNow, "CheckNow", K::MenuItem, "今すぐチェック", ctl::TrayMenu));
    c.push_back(
        MenuEntry(ctl::TrayMenuSeparator2, "TrayMenuSeparator2", K::Separator, "-", ctl::TrayMenu));
    c.push_back(MenuEntry(ctl::Exit, "Exit", K::MenuItem, "終了(&X)", ctl::TrayMenu));

    c.push_back(MenuEntry(ctl::OptionMenu, "OptionMenu", K::Menu, "&OPTION", kNoControl));
    c.push_back(MenuEntry(ctl::OpenSoundSettings, "OpenSoundSettings", K::MenuItem, "効果音の設定",
                          ctl::OptionMenu));
    c.push_back(MenuEntry(ctl::OnceOnly, "OnceOnly", K::MenuItem, "1度表示したメールは表示しない",
                          ctl::OptionMenu, true));
    c.push_back(MenuEntry(ctl::OpenTitleLabels, "OpenTitleLabels", K::MenuItem,
                          "タイトルバーの設定", ctl::OptionMenu));
    c.push_back(MenuEntry(ctl::RestoreTitles, "RestoreTitles", K::MenuItem,
                          "タイトルバーの復帰を有効にする", ctl::OptionMenu, true));
    c.push_back(MenuEntry(ctl::AnnounceZero, "AnnounceZero", K::MenuItem, "0通でも表示する",
                          ctl::OptionMenu, true));
    c.push_back(MenuEntry(ctl::UnderMouse, "UnderMouse", K::MenuItem,
                          "マウスの置かれているウインドウに表示", ctl::OptionMenu, true));
    c.push_back(MenuEntry(ctl::OptionMenuSeparator1, "OptionMenuSeparator1", K::Separator, "-",
                          ctl::OptionMenu));
    c.push_back(MenuEntry(ctl::CheckServer, "CheckServer", K::MenuItem, "メールサーバーの確認",
                          ctl::OptionMenu));
    c.push_back(MenuEntry(ctl::ShowErrors, "ShowErrors", K::MenuItem, "エラーを表示",
                          ctl::OptionMenu, true));
    // Token logins come after every item of the designed menu, so that those
    // keep their places.
    c.push_back(MenuEntry(ctl::OptionMenuSeparator2, "OptionMenuSeparator2", K::Separator, "-",
                          ctl::OptionMenu));
    c.push_back(MenuEntry(ctl::OpenTokenCommand, "OpenTokenCommand", K::MenuItem,
                          "OAuth2 トークンコマンド…", ctl::OptionMenu));
    c.push_back(MenuEntry(ctl::NotifyDesktop, "NotifyDesktop", K::MenuItem,
                          "デスクトップにも通知する", ctl::OptionMenu, true));
    // Its mark is the session's own state, read whenever the menu opens.
    c.push_back(MenuEntry(ctl::Autostart, "Autostart", K::MenuItem, "ログイン時に起動する",
                          ctl::OptionMenu, true));
    return form;
}

}  // namespace

const platform::FormLayout& SettingsWindowLayout() {
    static const platform::FormLayout layout = Build();
    return layout;
}

}  // namespace vantorel
