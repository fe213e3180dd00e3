#include "tray/TrayIcon.h"

#include <cmath>
#include <exception>

#include "text/NumberText.h"

namespace vantorel {

namespace {

constexpr double kLargestTwips = 1e9;

// The tray object goes on past a step that fails, so that a refused icon
// never keeps the window from being shown or hidden.
template <typename Step>
void ContinueOnError(Step step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

}  // namespace

TrayIcon::TrayIcon(platform::TrayShell& shell, platform::WindowFramework& ui)
    : shell_(shell), ui_(ui) {
    shell_.watchAvailability([this] { TrayAppeared(); });
}

TrayIcon::~TrayIcon() {
    shell_.watchAvailability({});
}

platform::NotifyIconRecord TrayIcon::BaseRecord() const {
    platform::NotifyIconRecord record;
    record.size = kRecordSize;
    record.id = kIconId;
    ContinueOnError([&] { record.window = TrayForm != nullptr ? TrayForm->handle() : 0; });
    return record;
}

platform::IconHandle TrayIcon::OwnerIcon() const {
    platform::IconHandle icon = 0;
    ContinueOnError([&] { icon = TrayForm != nullptr ? TrayForm->icon() : 0; });
    return icon;
}

void TrayIcon::ShowStatus(const platform::TrayMark& mark, const std::string& tip) {
    if (mark == TrayMarkShown && tip == TrayToolTip) {
        return;
    }
    TrayMarkShown = mark;
    TrayToolTip = tip;
    if (!iconWanted_) {
        return;  // the next add shows it
    }
    platform::NotifyIconRecord record = BaseRecord();
    record.flags = platform::NotifyIconRecord::kFlagIcon | platform::NotifyIconRecord::kFlagTip;
    record.icon = OwnerIcon();
    record.mark = TrayMarkShown;
    record.tip = TrayToolTip;
    // A refused change (no tray just now) is made good by the next add,
    // which carries the state as it is then.
    ContinueOnError([&] { shell_.notifyIcon(platform::NotifyIconMessage::Modify, record); });
}

void TrayIcon::TellSeen() {
    if (OnSeen) {
        ContinueOnError([&] { OnSeen(); });
    }
}

void TrayIcon::SetInTray(bool visible) {
    platform::NotifyIconRecord record = BaseRecord();
    if (visible) {
        record.flags = platform::NotifyIconRecord::kFlagMessage |
                       platform::NotifyIconRecord::kFlagIcon | platform::NotifyIconRecord::kFlagTip;
        record.callbackMessage = kCallbackMessage;
        record.icon = OwnerIcon();
        record.mark = TrayMarkShown;
        record.tip = TrayToolTip;
        iconWanted_ = true;
        bool added = false;
        ContinueOnError(
            [&] { added = shell_.notifyIcon(platform::NotifyIconMessage::Add, record); });
        HideOwnerUnlessNoTray(added);
        return;
    }
    iconWanted_ = false;
    keptForLackOfTray_ = false;
    ContinueOnError([&] { shell_.notifyIcon(platform::NotifyIconMessage::Delete, record); });
    ContinueOnError([&] {
        if (TrayForm != nullptr) {
            TrayForm->setVisible(true);
        }
    });
    ContinueOnError([&] {
        if (TrayForm != nullptr) {
            TrayForm->setControlVisible(TrayMenu, false);
        }
    });
}

void TrayIcon::HideOwnerUnlessNoTray(bool added) {
    // A refused icon is no reason to keep the window (the shell refuses one
    // it already shows); only a missing tray is.
    bool noTray = false;
    ContinueOnError([&] { noTray = !added && !shell_.available(); });
    keptForLackOfTray_ = noTray;
    ContinueOnError([&] {
        if (TrayForm != nullptr) {
            TrayForm->setVisible(noTray);
        }
    });
}

void TrayIcon::TrayAppeared() {
    if (iconWanted_) {
        SetInTray(true);
    }
}

void TrayIcon::Visible(bool visible) {
    SetInTray(visible);
    TrayVisible = visible;
}

void TrayIcon::MouseEvent(float X) {
    int code = 0;
    ContinueOnError([&] {
        const double twipsPerPixel = text::RoundHalfEven(ui_.twipsPerPixelX());
        if (twipsPerPixel == 0.0) {
            return;
        }
        const double twips = text::RoundHalfEven(X);
        // No real mouse code is anywhere near this; a wild coordinate is
        // simply not a tray notification.
        if (!(twips > -kLargestTwips && twips < kLargestTwips)) {
            return;
        }
        code = static_cast<int>(std::trunc(twips / twipsPerPixel));
    });
    MouseCode(code);
}

void TrayIcon::MouseCode(int code) {
    if (code == platform::tray_code::kLeftDoubleClick) {
        // The icon goes and the window comes back; TrayVisible keeps its value.
        SetInTray(false);
        TellSeen();
        return;
    }
    if (code == platform::tray_code::kRightButtonDown) {
        if (TrayForm == nullptr) {
            return;
        }
        // Before the menu opens, so that the icon is plain while it is up.
        TellSeen();
        ContinueOnError([&] { TrayForm->setControlVisible(TrayMenu, true); });
        ContinueOnError([&] { TrayForm->popupMenu(TrayMenu); });
    }
    // Every other code (the mouse moving over the icon, single clicks,
    // button releases, the middle button) is ignored.
}

}  // namespace vantorel
