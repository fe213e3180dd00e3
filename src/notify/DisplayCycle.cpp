// The display cycle: one notice per tick of the display timer, from the
// first message to the closing notice and, when asked, the window's own
// title again.

#include <cstddef>

#include "app/StartUpForm.h"
#include "app/StartUpFormLayout.h"
#include "notify/NoticeText.h"
#include "settings/ValueText.h"

namespace vantorel {

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
    Timer1->setEnabled(false);

    if (RestorePending) {
        SetTitle(ClosingNotice(NewCount));
        if (form_->checked(ctl::mnuTitleBack)) {
            RestoreTitle();
        }
        RestorePending = false;
        EndDisplayCycle();
        return;
    }
    if (AllMessagesShown()) {
        SetTitle(ClosingNotice(NewCount));
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
    return DispIndex > MailCount || DispIndex == kInt16Max;
}

void StartUpForm::ShowNextMessage() {
    // Entries the current check did not fill read as empty.
    const bool filled = DispIndex >= 0 && static_cast<std::size_t>(DispIndex) < MailList.size();
    const std::string entry = filled ? MailList[static_cast<std::size_t>(DispIndex)] : "";
    const std::int32_t number = DispIndex - ShownBase;
    SetTitle(MessageNotice(number, LabelledEntry(entry, SubjectLabel, FromLabel, DateLabel)));
    DispIndex = static_cast<std::int16_t>(DispIndex + 1);
}

void StartUpForm::EndDisplayCycle() {
    Timer1->setEnabled(true);
    Timer2->setEnabled(false);
    CloseSound();
}

}  // namespace vantorel
