// Every window the program is built with: the generated template exists,
// and every control stands at its layout's exact place.

#include <windows.h>

#include <gtest/gtest.h>

#include "WinTestSupport.h"
#include "platform/ProgramForms.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32AppInfo.h"
#include "platform/win32/Win32Ui.h"
#include "platform/win32/rcgen/LayoutGeometry.h"
#include "platform/win32/rcgen/ResourceNames.h"

namespace vantorel::win32 {
namespace {

constexpr int kTwipsPerInch = 1440;

TEST(ProgramWindows, EveryWindowIsBuiltWithItsControlsInPlace) {
    Win32Diagnostics diagnostics;
    Win32Ui ui(GetModuleHandleW(nullptr), diagnostics);
    for (const platform::FormLayout* layout : ProgramForms()) {
        SCOPED_TRACE(layout->name);
        test::RecordingEvents events;
        auto form = ui.createForm(*layout, events);
        HWND window = ToHwnd(form->handle());
        ASSERT_NE(window, nullptr);
        const int dpi = WindowDpi(window);
        auto pixels = [dpi](int twips) { return MulDiv(twips, dpi, kTwipsPerInch); };

        RECT client{};
        GetClientRect(window, &client);
        EXPECT_EQ(client.right, pixels(layout->clientWidth));
        EXPECT_EQ(client.bottom, pixels(layout->clientHeight));
        for (const auto& control : layout->controls) {
            if (IsMenuEntry(control.kind)) {
                continue;
            }
            SCOPED_TRACE(control.name);
            HWND child = GetDlgItem(window, res::ResourceId(control.id));
            ASSERT_NE(child, nullptr);
            RECT rect{};
            GetWindowRect(child, &rect);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
            const TwipsBox box = ClientBox(*layout, control);
            EXPECT_EQ(rect.left, pixels(box.left));
            EXPECT_EQ(rect.top, pixels(box.top));
            EXPECT_EQ(rect.right - rect.left, pixels(box.width));
            EXPECT_EQ(rect.bottom - rect.top, pixels(box.height));
            if (control.kind != platform::ControlKind::TextBox) {
                EXPECT_EQ(form->text(control.id), control.caption);
            }
        }
    }
}

}  // namespace
}  // namespace vantorel::win32
