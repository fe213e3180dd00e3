#include "app/SettingsWindowLayout.h"

#include "app/Version.h"

namespace vantorel {

namespace {

using platform::ControlKind;
using platform::ControlLayout;
using platform::kNoControl;
using platform::kNoTabStop;

constexpr int kClientWidth = 3165;  // twips
constexpr int kClientHeight = 4530;

ControlLayout Box(ctl::Main id, const char* name, ControlKind kind, const char* caption, int left,
                  int top, int width, int height, int tab, const char* toolTip,
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

ControlLayout MenuEntry(ctl::Main id, const char* name, ControlKind kind, const char* caption,
                        platform::ControlId parent, bool checkable = false) {
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
    const auto frame = ctl::SetPopFrame;
    c.push_back(Box(ctl::SetPopFrame, "SetPopFrame", K::Frame, "基本設定", 0, 0, 3135, 3495, 0, "",
                    kNoControl));
    c.push_back(Box(ctl::lblTitle0, "lblTitle(0)", K::Label, "サーバー名", 240, 360, 2250, 180,
                    kNoTabStop, "", frame));
    c.push_back(Box(ctl::txtHost, "txtHost", K::TextBox, "", 240, 600, 2655, 300, 1,
                    "POP3サーバーを指定して下さい", frame));
    c.push_back(Box(ctl::lblTitle2, "lblTitle(2)", K::Label, "ユーザ名", 240, 960, 1650, 180,
                    kNoTabStop, "", frame));
    c.push_back(Box(ctl::txtUser, "txtUser", K::TextBox, "", 240, 1200, 2655, 300, 2,
                    "あなたのアカウントを入れて下さい", frame));
    c.push_back(Box(ctl::lblTitle3, "lblTitle(3)", K::Label, "パスワード", 240, 1560, 975, 180,
                    kNoTabStop, "", frame));
    c.push_back(Box(ctl::txtPass, "txtPass", K::TextBox, "", 240, 1800, 2655, 300, 3,
                    "あなたのパスワードを入れて下さい", frame));
    c.back().password = true;
    c.push_back(Box(ctl::Label1, "Label1", K::Label, "確認時間間隔(分）", 240, 2160, 1575, 255,
                    kNoTabStop, "", frame));
    c.push_back(
        Box(ctl::txtInterval, "txtInterval", K::TextBox, "", 240, 2400, 2655, 270, 4, "", frame));
    c.push_back(Box(ctl::Label2, "Label2", K::Label, "表示間隔(秒)", 240, 2760, 1575, 255,
                    kNoTabStop, "", frame));
    c.push_back(Box(ctl::txtTimer, "txtTimer", K::TextBox, "", 240, 3000, 2655, 270, 5, "", frame));
    c.push_back(Box(ctl::Command1, "Command1", K::Button, "OK", 120, 3600, 1320, 495, 6,
                    "入力した設定を有効にしてタスクトレイに格納します。", kNoControl));
    c.push_back(Box(ctl::Command2, "Command2", K::Button, "CANCEL", 1560, 3600, 1335, 495, 7,
                    "過去の設定のままタスクトレイに格納します。", kNoControl));
    c.push_back(Box(ctl::lblCredit, "lblCredit", K::Label, "Vantorel  POP3 着信通知", 240, 4200,
                    2775, 255, kNoTabStop, "", kNoControl));

    c.push_back(MenuEntry(ctl::mnuTop, "mnuTop", K::Menu, "メニュー", kNoControl));
    c.push_back(MenuEntry(ctl::mnuConfig, "mnuConfig", K::MenuItem, "設定変更", ctl::mnuTop));
    c.push_back(
        MenuEntry(ctl::mnuTempStop, "mnuTempStop", K::MenuItem, "一時停止", ctl::mnuTop, true));
    c.push_back(MenuEntry(ctl::mnuVersion, "mnuVersion", K::MenuItem, "Version情報", ctl::mnuTop));
    c.push_back(MenuEntry(ctl::none22, "none22", K::Separator, "-", ctl::mnuTop));
    c.push_back(MenuEntry(ctl::mnuNowChk, "mnuNowChk", K::MenuItem, "今すぐチェック", ctl::mnuTop));
    c.push_back(MenuEntry(ctl::mnuNone, "mnuNone", K::Separator, "-", ctl::mnuTop));
    c.push_back(MenuEntry(ctl::mnuEnd, "mnuEnd", K::MenuItem, "終了(&X)", ctl::mnuTop));

    c.push_back(MenuEntry(ctl::mnuOption, "mnuOption", K::Menu, "&OPTION", kNoControl));
    c.push_back(
        MenuEntry(ctl::mnuO_Music, "mnuO_Music", K::MenuItem, "効果音の設定", ctl::mnuOption));
    c.push_back(MenuEntry(ctl::mnuCHKOnceOnly, "mnuCHKOnceOnly", K::MenuItem,
                          "1度表示したメールは表示しない", ctl::mnuOption, true));
    c.push_back(MenuEntry(ctl::mnuTitleConf, "mnuTitleConf", K::MenuItem, "タイトルバーの設定",
                          ctl::mnuOption));
    c.push_back(MenuEntry(ctl::mnuTitleBack, "mnuTitleBack", K::MenuItem,
                          "タイトルバーの復帰を有効にする", ctl::mnuOption, true));
    c.push_back(MenuEntry(ctl::mnuZeroCheck, "mnuZeroCheck", K::MenuItem, "0通でも表示する",
                          ctl::mnuOption, true));
    c.push_back(MenuEntry(ctl::mnuMouse, "mnuMouse", K::MenuItem,
                          "マウスの置かれているウインドウに表示", ctl::mnuOption, true));
    c.push_back(MenuEntry(ctl::none, "none", K::Separator, "-", ctl::mnuOption));
    c.push_back(MenuEntry(ctl::mnuCheckServer, "mnuCheckServer", K::MenuItem,
                          "メールサーバーの確認", ctl::mnuOption));
    c.push_back(
        MenuEntry(ctl::mnuErrPop, "mnuErrPop", K::MenuItem, "エラーを表示", ctl::mnuOption, true));
    // Token logins come after every item of the designed menu, so that those
    // keep their places.
    c.push_back(MenuEntry(ctl::none2, "none2", K::Separator, "-", ctl::mnuOption));
    c.push_back(MenuEntry(ctl::mnuTokenCmd, "mnuTokenCmd", K::MenuItem, "OAuth2 トークンコマンド…",
                          ctl::mnuOption));
    c.push_back(MenuEntry(ctl::mnuNotify, "mnuNotify", K::MenuItem, "デスクトップにも通知する",
                          ctl::mnuOption, true));
    // Its mark is the session's own state, read whenever the menu opens.
    c.push_back(MenuEntry(ctl::mnuAutostart, "mnuAutostart", K::MenuItem, "ログイン時に起動する",
                          ctl::mnuOption, true));
    return form;
}

}  // namespace

const platform::FormLayout& SettingsWindowLayout() {
    static const platform::FormLayout layout = Build();
    return layout;
}

}  // namespace vantorel
