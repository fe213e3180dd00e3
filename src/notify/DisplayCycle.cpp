// The display cycle: one notice per tick of the display timer, from the
// first message to the closing notice and, when asked, the window's own
// title again.

#include <cstddef>
#include <utility>

#include "app/StartUpForm.h"
#include "app/StartUpFormLayout.h"
#include "notify/NoticeText.h"
#include "settings/Count16.h"

namespace vantorel {

void StartUpForm::ShowAnnouncement(Announcement next) {
    const bool cycleRunning = Timer2->enabled();
    if (cycleRunning && next.TargetWindow != Display.TargetWindow &&
        form_->checked(ctl::mnuTitleBack)) {
        // The announcement moves to another window: the one left behind
        // gets its own title back rather than keeping a notice for good.
        RestoreTitle();
    }
    Display = std::move(next);
    const bool written = SetTitle(ArrivalNotice(Display.NewCount));
    // Where no title can take the news (no window in front, a desktop that
    // keeps other programs' titles out of reach, a write refused), the
    // desktop's notification carries it instead.
    if (!written || form_->checked(ctl::mnuNotify)) {
        NotifyDesktop();
    }
    FlashTarget();
    if (SoundEnabled && Display.MailCount > 0) {
        PlayArrivalSound();
    }
    StartDisplayCycle();
}

void StartUpForm::StartDisplayCycle() {
    // A new announcement starts with its messages, whatever state an
    // earlier one was left in.
    RestorePending = false;
    // A period of 0 (a hand-edited display interval) gives a timer without
    // ticks: the cycle would never end and checking would not resume.
    if (Timer2->interval() == 0) {
        Timer2->setInterval(kDisplayTimerDesignPeriodMs);
    }
    Timer2->setEnabled(true);
}

void StartUpForm::Timer2_Timer() {
    // No check starts while the announcement runs.
    scheduler_->setEnabled(false);

    if (RestorePending) {
        SetTitle(ClosingNotice(Display.NewCount));
        if (form_->checked(ctl::mnuTitleBack)) {
            RestoreTitle();
        }
        RestorePending = false;
        EndDisplayCycle();
        return;
    }
    if (AllMessagesShown()) {
        SetTitle(ClosingNotice(Display.NewCount));
        if (form_->checked(ctl::mnuTitleBack)) {
            RestorePending = true;  // the next tick gives the title back
            return;
        }
        EndDisplayCycle();
        return;
    }
    ShowNextMessage();
}

bool StartUpForm::AllMessagesShown() const {
    // Past the mailbox's count, also when a later check lowered it. The
    // largest index a count can hold ends the list as well, so the next
    // index is always a count.
    return Display.DispIndex > Display.MailCount || Display.DispIndex == kInt16Max;
}

void StartUpForm::ShowNextMessage() {
    const std::int16_t index = Display.DispIndex;
    // Entries the list did not fill read as empty.
    const bool filled = index >= 0 && static_cast<std::size_t>(index) < Display.MailList.size();
    const std::string entry = filled ? Display.MailList[static_cast<std::size_t>(index)] : "";
    const std::int32_t number = index - Display.ShownBase;
    SetTitle(MessageNotice(
        number, LabelledEntry(entry, Display.SubjectLabel, Display.FromLabel, Display.DateLabel)));
    Display.DispIndex = static_cast<std::int16_t>(index + 1);
}

void StartUpForm::EndDisplayCycle() {
    scheduler_->resume();
    Timer2->setEnabled(false);
    CloseSound();
}

}  // namespace vantorel
