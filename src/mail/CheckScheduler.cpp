// The check timer: counts the connected minutes and starts a mail check
// when the count reaches the check interval.

#include "app/StartUpForm.h"
#include "app/StartUpFormLayout.h"
#include "settings/Count16.h"
#include "text/NumberText.h"

namespace vantorel {

namespace {

constexpr std::uint32_t kConnectedFlags = platform::ConnectionState::kModem |
                                          platform::ConnectionState::kLan |
                                          platform::ConnectionState::kProxy;
// An interval of 0 or below checks at every connected tick, as 1 does.
constexpr std::int32_t kShortestInterval = 1;

}  // namespace

void StartUpForm::Timer1_Timer() {
    // The running check switches the timer on again when it ends; a tick
    // now must neither count nor switch it off.
    if (mailCheck_.running()) {
        return;
    }
    if (MinuteCount < kInt16Max) {
        MinuteCount = static_cast<std::int16_t>(MinuteCount + 1);
    }
    if ((os_.connection.connectedState() & kConnectedFlags) == 0) {
        MinuteCount = 0;  // no check is tried offline
        return;
    }
    // The box is the live value. It is read as the OK button reads it, so
    // that a text such as "3分" never stops the tick.
    const std::int32_t interval = text::ToClampedInt(
        text::LeadingNumber(form_->text(ctl::txtInterval)), kShortestInterval, kInt16Max);
    if (MinuteCount < interval) {
        return;
    }
    MinuteCount = 0;
    Timer1->setEnabled(false);
    CheckMail();
}

void StartUpForm::ResumePeriodicChecking() {
    // A pause chosen from the tray menu holds until the user clears its
    // mark; nothing else switches periodic checking back on meanwhile.
    if (!form_->checked(ctl::mnuTempStop)) {
        Timer1->setEnabled(true);
    }
}

}  // namespace vantorel
