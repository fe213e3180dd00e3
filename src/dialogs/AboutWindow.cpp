#include "dialogs/AboutWindow.h"

#include <string>
#include <utility>

#include "dialogs/Layouts.h"
#include "text/NumberText.h"

namespace vantorel {

namespace {
// The katakana are half-width, as the program has always shown them.
constexpr std::string_view kCaptionSuffix = "のﾊﾞｰｼﾞｮﾝ情報";
constexpr std::string_view kVersionPrefix = "ﾊﾞｰｼﾞｮﾝ ";
}  // namespace

AboutWindow::AboutWindow(platform::Platform& os, std::string productName)
    : SmallWindow(os.ui, AboutLayout()), os_(os), productName_(std::move(productName)) {
    load();
}

void AboutWindow::load() {
    form().setCaption(os_.app.title() + std::string(kCaptionSuffix));
    const platform::VersionInfo version = os_.app.version();
    form().setText(ctl::about::VersionLabel, std::string(kVersionPrefix) +
                                                 text::DecimalText(version.major) + "." +
                                                 text::DecimalText(version.minor) + "." +
                                                 text::DecimalText(version.revision));
    form().setText(ctl::about::ProductLabel, productName_);
}

void AboutWindow::Click(platform::ControlId control) {
    if (control == ctl::about::OkButton) {
        Unload();
    }
}

}  // namespace vantorel
