// The display cycle: one notice per tick of the display timer, from the
// first message to the closing notice and, when asked, the window's own
// title again.

#include <cstddef>
#include <utility>

#include "notify/DisplayCycle.h"
#include "notify/NoticeText.h"
#include "settings/Count16.h"
#include "settings/SettingsKeys.h"
#include "text/NumberText.h"

namespace vantorel {

namespace {

constexpr std::uint32_t kMillisecondsPerSecond = 1000;
constexpr double kLongestTimerPeriodMs = 2147483647.0;  // what a platform timer can hold

}  // namespace

// A period longer than a platform timer can hold is clamped to the longest
// one, and a negative one counts as 0.
std::uint32_t DisplayPeriodMs(std::string_view seconds) {
    const double ms = text::RoundHalfEven(text::LeadingNumber(seconds) * kMillisecondsPerSecond);
    if (!(ms > 0.0)) {
        return 0;
    }
    return static_cast<std::uint32_t>(ms < kLongestTimerPeriodMs ? ms : kLongestTimerPeriodMs);
}

DisplayCycle::DisplayCycle(platform::Platform& os, SettingsStore& ini, DisplayCycleHost& host)
    : os_(os),
      ini_(ini),
      host_(host),
      timer_(os.ui.createTimer("display timer", [this] { onTick(); })) {
    timer_->setInterval(kDisplayTimerDesignPeriodMs);
}

void DisplayCycle::setInterval(std::string_view seconds) {
    timer_->setInterval(DisplayPeriodMs(seconds));
}

void DisplayCycle::takeBackNotice() {
    if (running()) {
        timer_->setEnabled(false);
        restorePending_ = false;
        restoreTitle();
    }
}

void DisplayCycle::show(Announcement next) {
    next.subjectLabel = ini_.read(keys::kTitleBar, keys::kSubject, keys::kDefaultSubjectLabel);
    next.fromLabel = ini_.read(keys::kTitleBar, keys::kFrom, keys::kDefaultFromLabel);
    next.dateLabel = ini_.read(keys::kTitleBar, keys::kDate, keys::kDefaultDateLabel);
    const bool cycleRunning = timer_->enabled();
    if (cycleRunning && next.targetWindow != display_.targetWindow && host_.restoreTitles()) {
        // The announcement moves to another window: the one left behind
        // gets its own title back rather than keeping a notice for good.
        restoreTitle();
    }
    display_ = std::move(next);
    const bool written = setTitle(ArrivalNotice(display_.newCount));
    // Where no title can take the news (no window in front, a desktop that
    // keeps other programs' titles out of reach, a write refused), the
    // desktop's notification carries it instead.
    if (!written || host_.notifyDesktop()) {
        notifyDesktopNow();
    }
    flashTarget();
    if (soundOn_ && display_.lastIndex > 0) {
        playArrivalSound();
    }
    startCycle();
}

void DisplayCycle::startCycle() {
    // A new announcement starts with its messages, whatever state an
    // earlier one was left in.
    restorePending_ = false;
    // A period of 0 (a hand-edited display interval) gives a timer without
    // ticks: the cycle would never end and checking would not resume.
    if (timer_->interval() == 0) {
        timer_->setInterval(kDisplayTimerDesignPeriodMs);
    }
    timer_->setEnabled(true);
}

void DisplayCycle::onTick() {
    // No check starts while the announcement runs.
    host_.holdChecks();

    if (restorePending_) {
        setTitle(ClosingNotice(display_.newCount));
        if (host_.restoreTitles()) {
            restoreTitle();
        }
        restorePending_ = false;
        endCycle();
        return;
    }
    if (allMessagesShown()) {
        setTitle(ClosingNotice(display_.newCount));
        if (host_.restoreTitles()) {
            restorePending_ = true;  // the next tick gives the title back
            return;
        }
        endCycle();
        return;
    }
    showNextMessage();
}

bool DisplayCycle::allMessagesShown() const {
    // Past the mailbox's count, also when a later check lowered it. The
    // largest index a count can hold ends the list as well, so the next
    // index is always a count.
    return display_.position > display_.lastIndex || display_.position == kInt16Max;
}

void DisplayCycle::showNextMessage() {
    const std::int16_t index = display_.position;
    // Entries the list did not fill read as empty.
    const bool filled = index >= 0 && static_cast<std::size_t>(index) < display_.entries.size();
    const std::string entry = filled ? display_.entries[static_cast<std::size_t>(index)] : "";
    const std::int32_t number = index - display_.shownBase;
    setTitle(MessageNotice(number, LabelledEntry(entry, display_.subjectLabel, display_.fromLabel,
                                                 display_.dateLabel)));
    display_.position = static_cast<std::int16_t>(index + 1);
}

void DisplayCycle::endCycle() {
    host_.cycleEnded();
    timer_->setEnabled(false);
    closeSound();
}

}  // namespace vantorel
