#include "tray/TaskTray.h"

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

TaskTray::TaskTray(platform::TrayShell& shell, platform::WindowFramework& ui)
    : shell_(shell), ui_(ui) {
    shell_.watchAvailability([this] { TrayAppeared(); });
}

TaskTray::~TaskTray() {
    shell_.watchAvailability({});
}

platform::NotifyIconRecord TaskTray::BaseRecord() const {
    platform::NotifyIconRecord record;
    record.size = kRecordSize;
    record.id = kIconId;
    ContinueOnError([&] { record.window = TrayForm != nullptr ? TrayForm->handle() : 0; });
    return record;
}

platform::IconHandle TaskTray::OwnerIcon() const {
    platform::IconHandle icon = 0;
    ContinueOnError([&] { icon = TrayForm != nullptr ? TrayForm->icon() : 0; });
    return icon;
}

void TaskTray::ShowStatus(const platform::TrayMark& mark, const std::string& tip) {
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

void TaskTray::TellSeen() {
    if (OnSeen) {
        ContinueOnError([&] { OnSeen(); });
    }
}

void TaskTray::SetTaskTray(bool pblnPalam) {
    platform::NotifyIconRecord record = BaseRecord();
    if (pblnPalam) {
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

void TaskTray::HideOwnerUnlessNoTray(bool added) {
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

void TaskTray::TrayAppeared() {
    if (iconWanted_) {
        SetTaskTray(true);
    }
}

void TaskTray::Visible(bool pNewPalam) {
    SetTaskTray(pNewPalam);
    TrayVisible = pNewPalam;
}

void TaskTray::MouseEvent(float X) {
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

void TaskTray::MouseCode(int code) {
    if (code == platform::tray_code::kLeftDoubleClick) {
        // The icon goes and the window comes back; TrayVisible keeps its value.
        SetTaskTray(false);
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
