// The resource generator's output: dialog units, quoting, template order,
// menus, and icon files the system can load.

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/rcgen/DialogScript.h"
#include "platform/win32/rcgen/IconFile.h"

namespace vantorel::win32::rcgen {
namespace {

using platform::ControlKind;
using platform::ControlLayout;
using platform::FormLayout;

ControlLayout Control(platform::ControlId id, ControlKind kind, const std::string& caption, int tab,
                      platform::ControlId parent = platform::kNoControl) {
    ControlLayout control;
    control.id = id;
    control.kind = kind;
    control.caption = caption;
    control.left = 150;
    control.top = 300;
    control.width = 900;
    control.height = 360;
    control.tabIndex = tab;
    control.parent = parent;
    return control;
}

FormLayout SmallForm() {
    FormLayout form;
    form.name = "SmallWindow";
    form.caption = "小さな \"窓\"";
    form.clientWidth = 4680;
    form.clientHeight = 1470;
    form.controls.push_back(Control(1, ControlKind::Button, "OK", 3));
    form.controls.back().defaultButton = true;
    form.controls.push_back(Control(2, ControlKind::Label, "C:\\path", platform::kNoTabStop));
    form.controls.push_back(Control(3, ControlKind::TextBox, "", 1));
    form.controls.back().password = true;
    form.controls.push_back(Control(4, ControlKind::CheckBox, "有効", 2));
    return form;
}

TEST(ResourceScript, TwipsBecomeDialogUnitsOfTheDialogFont) {
    EXPECT_EQ(DluX(3165), 141);  // 211 pixels at 96 dpi, 6-pixel base units
    EXPECT_EQ(DluY(4530), 201);  // 302 pixels, 12-pixel base units
    EXPECT_EQ(DluX(0), 0);
    EXPECT_EQ(DluY(15), 1);
}

TEST(ResourceScript, TextsAreQuotedForTheScript) {
    EXPECT_EQ(Quoted("OK"), "\"OK\"");
    EXPECT_EQ(Quoted("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(Quoted("C:\\wav"), "\"C:\\\\wav\"");
}

TEST(ResourceScript, ControlsFollowTheTabOrderWithEachLabelBeforeItsBox) {
    const FormLayout form = SmallForm();
    std::vector<platform::ControlId> order;
    for (const auto* control : TemplateOrder(form)) {
        order.push_back(control->id);
    }
    EXPECT_EQ(order, (std::vector<platform::ControlId>{2, 3, 4, 1}));
}

TEST(ResourceScript, TheDialogCarriesCaptionStylesAndNoMenuWhenItHasNone) {
    const std::string script = DialogScript(SmallForm());
    EXPECT_NE(script.find("SMALLWINDOW DIALOGEX 0, 0, 208, 65"), std::string::npos);
    EXPECT_NE(script.find("CAPTION \"小さな \"\"窓\"\"\""), std::string::npos);
    EXPECT_NE(script.find("ES_PASSWORD"), std::string::npos);
    EXPECT_NE(script.find("DEFPUSHBUTTON \"OK\", 1001"), std::string::npos);
    EXPECT_NE(script.find("AUTOCHECKBOX \"有効\", 1004"), std::string::npos);
    EXPECT_NE(script.find("LTEXT \"C:\\\\path\", 1002"), std::string::npos);
    EXPECT_EQ(script.find("\nMENU "), std::string::npos);
    EXPECT_EQ(MenuScript(SmallForm()), "");
}

TEST(ResourceScript, MenusNestWithSeparatorsAndItemIds) {
    FormLayout form = SmallForm();
    form.controls.push_back(Control(10, ControlKind::Menu, "メニュー", platform::kNoTabStop));
    form.controls.push_back(
        Control(11, ControlKind::MenuItem, "設定変更", platform::kNoTabStop, 10));
    form.controls.push_back(Control(12, ControlKind::Separator, "-", platform::kNoTabStop, 10));
    form.controls.push_back(
        Control(13, ControlKind::MenuItem, "終了(&X)", platform::kNoTabStop, 10));
    EXPECT_EQ(MenuScript(form),
              "SMALLWINDOW_MENU MENU\n"
              "BEGIN\n"
              "    POPUP \"メニュー\"\n"
              "    BEGIN\n"
              "        MENUITEM \"設定変更\", 1011\n"
              "        MENUITEM SEPARATOR\n"
              "        MENUITEM \"終了(&X)\", 1013\n"
              "    END\n"
              "END\n");
    EXPECT_NE(DialogScript(form).find("MENU SMALLWINDOW_MENU\n"), std::string::npos);
}

IconPixels Square(int size) {
    IconPixels image;
    image.size = size;
    image.rgba.assign(static_cast<std::size_t>(size * size * 4), 0xFF);
    image.rgba[3] = 0;  // the top-left pixel is transparent
    return image;
}

TEST(IconFile, HoldsEveryImageAndTheSystemLoadsIt) {
    const std::string bytes = IconFileBytes({Square(16), Square(32)});
    ASSERT_GE(bytes.size(), 6u + 2 * 16);
    EXPECT_EQ(bytes.substr(0, 6), std::string("\0\0\1\0\2\0", 6));
    EXPECT_EQ(static_cast<unsigned char>(bytes[6]), 16);
    EXPECT_EQ(static_cast<unsigned char>(bytes[22]), 32);

    // The 32x32 image, as the icon directory places it.
    auto at = [&](std::size_t offset) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset])) |
               static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + 1])) << 8 |
               static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + 2])) << 16 |
               static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + 3])) << 24;
    };
    const std::uint32_t size = at(22 + 8);
    const std::uint32_t offset = at(22 + 12);
    ASSERT_EQ(offset + size, bytes.size());
    std::string image = bytes.substr(offset, size);
    HICON icon = CreateIconFromResourceEx(reinterpret_cast<BYTE*>(image.data()), size, TRUE,
                                          0x00030000, 32, 32, 0);
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    EXPECT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour{};
    GetObjectW(info.hbmColor, sizeof(colour), &colour);
    EXPECT_EQ(colour.bmWidth, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);

    // The mask marks the transparent pixel: the top row is stored last.
    const std::size_t maskStart = offset + 40 + 32 * 32 * 4;
    const std::size_t topRow = maskStart + 31 * 4;
    EXPECT_EQ(static_cast<unsigned char>(bytes[topRow]), 0x80);
}

TEST(IconFile, RefusesAnImageWhosePixelsDoNotMatchItsSize) {
    IconPixels broken = Square(16);
    broken.rgba.pop_back();
    EXPECT_THROW(IconFileBytes({broken}), std::invalid_argument);
}

}  // namespace
}  // namespace vantorel::win32::rcgen
