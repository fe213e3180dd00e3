#include "dialogs/Layouts.h"

namespace vantorel {

namespace {

using platform::ControlKind;
using platform::ControlLayout;
using platform::kNoTabStop;

struct Place {
    int left;  // twips
    int top;
    int width;
    int height;
};

ControlLayout Control(platform::ControlId id, const char* name, ControlKind kind,
                      const char* caption, Place place, int tab) {
    ControlLayout control;
    control.id = id;
    control.name = name;
    control.kind = kind;
    control.caption = caption;
    control.left = place.left;
    control.top = place.top;
    control.width = place.width;
    control.height = place.height;
    control.tabIndex = tab;
    return control;
}

platform::FormLayout Form(const char* name, const char* caption, int clientWidth,
                          int clientHeight) {
    platform::FormLayout form;
    form.name = name;
    form.caption = caption;
    form.clientWidth = clientWidth;
    form.clientHeight = clientHeight;
    form.ownedWindow = true;
    return form;
}

platform::FormLayout BuildTitleLabels() {
    namespace id = ctl::titleLabels;
    using K = ControlKind;
    constexpr int kClientWidth = 2475;  // twips
    constexpr int kClientHeight = 1875;
    auto form = Form("TitleLabelsWindow", "タイトルバーの設定", kClientWidth, kClientHeight);
    // In tab order. The rows read, from the top: subject, sender, date.
    auto& c = form.controls;
    c.push_back(
        Control(id::FromLabel, "FromLabel", K::Label, "差出人", {120, 480, 735, 255}, kNoTabStop));
    c.push_back(Control(id::SubjectBox, "SubjectBox", K::TextBox, "", {1080, 120, 1095, 270}, 1));
    c.push_back(Control(id::FromBox, "FromBox", K::TextBox, "", {1080, 480, 1095, 270}, 2));
    c.push_back(Control(id::DateBox, "DateBox", K::TextBox, "", {1080, 840, 1095, 270}, 3));
    c.push_back(Control(id::OkButton, "OkButton", K::Button, "OK", {120, 1320, 2055, 375}, 4));
    c.push_back(Control(id::SubjectLabel, "SubjectLabel", K::Label, "件名", {120, 120, 855, 375},
                        kNoTabStop));
    c.push_back(
        Control(id::DateLabel, "DateLabel", K::Label, "時刻", {120, 840, 855, 375}, kNoTabStop));
    return form;
}

platform::FormLayout BuildSoundSettings() {
    namespace id = ctl::sound;
    using K = ControlKind;
    constexpr int kClientWidth = 4680;  // twips
    constexpr int kClientHeight = 1470;
    auto form = Form("SoundSettingsWindow", "効果音の設定", kClientWidth, kClientHeight);
    auto& c = form.controls;
    c.push_back(Control(id::SoundCheckBox, "SoundCheckBox", K::CheckBox, "効果音を有効にする。",
                        {240, 120, 3615, 375}, 0));
    c.push_back(Control(id::WavePathBox, "WavePathBox", K::TextBox, "", {120, 600, 3735, 270}, 1));
    c.push_back(
        Control(id::BrowseButton, "BrowseButton", K::Button, "..", {3960, 600, 375, 255}, 2));
    c.push_back(Control(id::OkButton, "OkButton", K::Button, "OK", {1560, 960, 1695, 375}, 3));
    return form;
}

platform::FormLayout BuildAbout() {
    namespace id = ctl::about;
    using K = ControlKind;
    constexpr int kClientWidth = 4440;  // twips
    constexpr int kClientHeight = 1725;
    // The captions below are placeholders: the window's load step replaces
    // them before it is first seen.
    auto form = Form("AboutWindow", "ﾊﾞｰｼﾞｮﾝ情報", kClientWidth, kClientHeight);
    auto& c = form.controls;
    c.push_back(
        Control(id::IconPicture, "IconPicture", K::Picture, "", {240, 240, 480, 480}, kNoTabStop));
    c.push_back(Control(id::ProductLabel, "ProductLabel", K::Label, "ｱﾌﾟﾘｹｰｼｮﾝ ﾀｲﾄﾙ",
                        {1080, 240, 3885, 480}, kNoTabStop));
    c.push_back(Control(id::VersionLabel, "VersionLabel", K::Label, "ﾊﾞｰｼﾞｮﾝ",
                        {1050, 780, 3885, 225}, kNoTabStop));
    c.push_back(Control(id::OkButton, "OkButton", K::Button, "OK", {1560, 1200, 1310, 345}, 0));
    // Enter and Escape both press OK.
    c.back().defaultButton = true;
    c.back().cancelButton = true;
    return form;
}

platform::FormLayout BuildTokenCommand() {
    namespace id = ctl::token;
    using K = ControlKind;
    // As wide as the sound window's file box plus room for a longer command
    // line; buttons as in the other small windows.
    constexpr int kClientWidth = 6000;  // twips
    constexpr int kClientHeight = 1500;
    auto form = Form("TokenCommandWindow", "OAuth2 トークンコマンド", kClientWidth, kClientHeight);
    auto& c = form.controls;
    c.push_back(Control(id::ExplanationLabel, "ExplanationLabel", K::Label,
                        "アクセストークンを出力するコマンド", {120, 120, 5760, 255}, kNoTabStop));
    c.push_back(Control(id::CommandBox, "CommandBox", K::TextBox, "", {120, 480, 5760, 270}, 0));
    c.push_back(Control(id::OkButton, "OkButton", K::Button, "OK", {2880, 960, 1425, 375}, 1));
    c.push_back(Control(id::CancelButton, "CancelButton", K::Button, "キャンセル",
                        {4455, 960, 1425, 375}, 2));
    c.back().cancelButton = true;
    return form;
}

}  // namespace

const platform::FormLayout& TitleLabelsLayout() {
    static const platform::FormLayout layout = BuildTitleLabels();
    return layout;
}

const platform::FormLayout& SoundSettingsLayout() {
    static const platform::FormLayout layout = BuildSoundSettings();
    return layout;
}

const platform::FormLayout& AboutLayout() {
    static const platform::FormLayout layout = BuildAbout();
    return layout;
}

const platform::FormLayout& TokenCommandLayout() {
    static const platform::FormLayout layout = BuildTokenCommand();
    return layout;
}

}  // namespace vantorel
