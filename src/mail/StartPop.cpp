// The mail check: asks the mailbox how many messages wait, decides whether
// there is anything to announce and, if so, starts the announcement.

#include "app/StartUpForm.h"
#include "app/StartUpFormLayout.h"
#include "notify/NoticeText.h"
#include "platform/RuntimeFailure.h"
#include "settings/SettingsKeys.h"
#include "settings/ValueText.h"

namespace vantorel {

namespace {

constexpr std::string_view kStatCommand = "STAT";
constexpr std::string_view kListCommandFromFirst = "LIST 1-";
constexpr std::string_view kCheckSettingsText =
    "エラー:設定が正しいか、又はオンラインか確認してください。";
constexpr std::string_view kMailLibraryMissingText =
    "エラー:メールライブラリ(popmail)を読み込めませんでした。";

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
        return RunMailCheck();
    } catch (const platform::MailLibraryMissing&) {
        return EndCheckAfterFailure(true);
    } catch (const RuntimeFailure&) {
        return EndCheckAfterFailure(false);
    }
}

bool StartUpForm::RunMailCheck() {
    DispIndex = 1;
    ListCount = 0;
    // Summaries of earlier checks never show as this check's mail.
    MailList.clear();

    const bool statOk = PopStat(std::string(kStatCommand));
    if (unloaded_) {
        return false;  // the program ended while the server was asked
    }
    if (!statOk) {
        if (form_->checked(ctl::mnuErrPop)) {
            os_.ui.messageBox(kCheckSettingsText, os_.app.title(), platform::MessageIcon::None);
            return false;
        }
        // The server was not reached: there is nothing to announce.
        return ResumeChecking(false);
    }

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
        ShownBase = 0;
    }
    NewCount = Sub16(MailCount, ShownCount);
    if (NewCount < 0) {
        // Messages were removed: the next check announces all again.
        ShownCount = 0;
        return ResumeChecking(false);
    }
    if (NewCount == 0 && !zeroMark) {
        return ResumeChecking(false);
    }
    return Announce(onceOnly);
}

bool StartUpForm::Announce(bool onceOnly) {
    // Worked out before any title is touched, so that a count at the end of
    // its range ends the check before a notice is written.
    const std::int16_t firstNew = onceOnly ? Add16(ShownCount, 1) : DispIndex;

    PickTarget();
    // Every message is listed, also under the once-only option, so that the
    // summary of message j lands at index j. A failed list leaves the
    // entries empty.
    PopStat(std::string(kListCommandFromFirst) + DecimalText(MailCount));
    if (unloaded_) {
        return false;
    }
    SetTitle(ArrivalNotice(NewCount));
    if (onceOnly) {
        DispIndex = firstNew;
        ShownBase = ShownCount;
        ShownCount = MailCount;
    }
    FlashTarget();
    if (SoundEnabled && MailCount > 0) {
        PlayArrivalSound();
    }
    SubjectLabel = ini_.ReadIni(keys::kTitleBar, keys::kSubject, keys::kDefaultSubjectLabel);
    FromLabel = ini_.ReadIni(keys::kTitleBar, keys::kFrom, keys::kDefaultFromLabel);
    DateLabel = ini_.ReadIni(keys::kTitleBar, keys::kDate, keys::kDefaultDateLabel);
    StartDisplayCycle();
    return true;
}

bool StartUpForm::ResumeChecking(bool result) {
    Timer1->setEnabled(true);
    return result;
}

bool StartUpForm::EndCheckAfterFailure(bool mailLibraryMissing) {
    if (unloaded_) {
        return false;  // the program is ending: nothing resumes
    }
    // Nothing is retried; checking resumes and the next check comes at the
    // next interval. An announcement under way ends where it stands, and
    // leaves neither its sound nor a notice behind.
    const bool cycleUnderWay = Timer2->enabled();
    Timer1->setEnabled(true);
    Timer2->setEnabled(false);
    RestorePending = false;
    CloseSound();
    if (cycleUnderWay && form_->checked(ctl::mnuTitleBack)) {
        SetTitle(SavedTitle);
    }
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
