// The mail check: asks the mailbox how many messages wait, decides whether
// there is anything to announce and, if so, starts the announcement.

#include <utility>

#include "app/StartUpForm.h"
#include "app/StartUpFormLayout.h"
#include "platform/RuntimeFailure.h"
#include "settings/Count16.h"
#include "settings/SettingsKeys.h"
#include "text/NumberText.h"

namespace vantorel {

namespace {

constexpr std::string_view kStatCommand = "STAT";
constexpr std::string_view kListCommandFromFirst = "LIST 1-";
constexpr std::int16_t kFirstMessage = 1;
constexpr std::string_view kCheckSettingsText =
    "エラー:設定が正しいか、又はオンラインか確認してください。";
constexpr std::string_view kMailLibraryMissingText =
    "エラー:メールライブラリ(popmail)を読み込めませんでした。";
// The tooltip's reason when the check stopped on a reply it could not use.
constexpr std::string_view kCheckBrokeOffText = "メールサーバーの応答を処理できませんでした";

// Marks the check as running for as long as it is in scope.
class CheckInProgress {
  public:
    explicit CheckInProgress(bool& flag) : flag_(flag) { flag_ = true; }
    ~CheckInProgress() { flag_ = false; }
    CheckInProgress(const CheckInProgress&) = delete;
    CheckInProgress& operator=(const CheckInProgress&) = delete;

  private:
    bool& flag_;
};

}  // namespace

bool StartUpForm::StartPop() {
    // One check at a time: a second one (from the tray menu while a box of
    // the first is open) would work on the same members.
    if (checkInProgress_) {
        return false;
    }
    const CheckInProgress running(checkInProgress_);
    const ForgetTokenAtEnd forgetToken(checkToken_);
    try {
        const bool announced = RunMailCheck();
        // One change of the icon for the whole check, whatever it found.
        if (!unloaded_) {
            ShowTrayStatus();
        }
        return announced;
    } catch (const platform::MailLibraryMissing&) {
        return EndCheckAfterFailure(true);
    } catch (const RuntimeFailure&) {
        return EndCheckAfterFailure(false);
    }
}

bool StartUpForm::RunMailCheck() {
    // The check files its replies afresh; a running announcement keeps its
    // own copy of what it shows and is not touched unless this check
    // announces. Summaries of earlier checks never show as this check's mail.
    ListCount = 0;
    MailList.clear();

    const bool statOk = PopStat(std::string(kStatCommand));
    if (unloaded_) {
        return false;  // the program ended while the server was asked
    }
    if (!statOk) {
        // Shown on the icon whether or not a box says it, so that a check
        // with errors hidden never fails without a trace.
        CheckFailed(queryFailure_);
        if (form_->checked(ctl::mnuErrPop)) {
            os_.ui.messageBox(kCheckSettingsText, os_.app.title(), platform::MessageIcon::None);
            return false;
        }
        // The server was not reached: there is nothing to announce.
        return ResumeChecking(false);
    }

    CheckSucceeded();
    const bool zeroMark = form_->checked(ctl::mnuZeroCheck);
    if (!zeroMark && !MailPresent) {
        return ResumeChecking(true);
    }
    // Read once, so that the decision and the numbering agree even when the
    // mark is switched while a box of this check is open.
    const bool onceOnly = form_->checked(ctl::mnuCHKOnceOnly);
    if (onceOnly) {
        if (Sub16(MailCount, ShownCount) == 0) {
            return ResumeChecking(false);
        }
    } else {
        ShownCount = 0;
    }
    const std::int16_t newCount = Sub16(MailCount, ShownCount);
    if (newCount < 0) {
        // Messages were removed: the next check announces all again.
        ShownCount = 0;
        return ResumeChecking(false);
    }
    if (newCount == 0 && !zeroMark) {
        return ResumeChecking(false);
    }
    return Announce(onceOnly, newCount);
}

bool StartUpForm::Announce(bool onceOnly, std::int16_t newCount) {
    Announcement next;
    next.NewCount = newCount;
    // Worked out before any window is looked at, so that a count at the end
    // of its range ends the check before anything is chosen or written.
    next.DispIndex = onceOnly ? Add16(ShownCount, 1) : kFirstMessage;
    next.ShownBase = onceOnly ? ShownCount : 0;

    PickTarget(next);
    // Every message is listed, also under the once-only option, so that the
    // summary of message j lands at index j. A failed list leaves the
    // entries empty.
    PopStat(std::string(kListCommandFromFirst) + text::DecimalText(MailCount));
    if (unloaded_) {
        return false;
    }
    next.MailCount = MailCount;
    // The announcement owns the summaries from here on; the next check
    // files its own.
    next.MailList = std::exchange(MailList, {});
    next.SubjectLabel = ini_.ReadIni(keys::kTitleBar, keys::kSubject, keys::kDefaultSubjectLabel);
    next.FromLabel = ini_.ReadIni(keys::kTitleBar, keys::kFrom, keys::kDefaultFromLabel);
    next.DateLabel = ini_.ReadIni(keys::kTitleBar, keys::kDate, keys::kDefaultDateLabel);
    if (onceOnly) {
        ShownCount = MailCount;
    }
    ShowAnnouncement(std::move(next));
    trayStatus_.MailAnnounced(newCount, onceOnly);
    return true;
}

void StartUpForm::CheckSucceeded() {
    // Shown once the check has decided what it announces.
    trayStatus_.CheckSucceeded(os_.clock.now());
}

void StartUpForm::CheckFailed(std::string_view reason) {
    trayStatus_.CheckFailed(os_.clock.now(), reason);
    ShowTrayStatus();
}

bool StartUpForm::ResumeChecking(bool result) {
    ResumePeriodicChecking();
    return result;
}

bool StartUpForm::EndCheckAfterFailure(bool mailLibraryMissing) {
    if (unloaded_) {
        return false;  // the program is ending: nothing resumes
    }
    // Nothing is retried; checking resumes and the next check comes at the
    // next interval. The check failed before it announced anything, so an
    // announcement under way runs on as it stood.
    ResumePeriodicChecking();
    CheckFailed(mailLibraryMissing ? kMailLibraryMissingText : kCheckBrokeOffText);
    if (mailLibraryMissing) {
        ReportMissingMailLibrary();
    }
    return false;
}

void StartUpForm::ReportMissingMailLibrary() {
    if (mailLibraryMissingShown_ || !form_->checked(ctl::mnuErrPop)) {
        return;
    }
    mailLibraryMissingShown_ = true;
    os_.ui.messageBox(kMailLibraryMissingText, os_.app.title(), platform::MessageIcon::None);
}

}  // namespace vantorel
