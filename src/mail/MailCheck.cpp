// The mail check: asks the mailbox how many messages wait and decides
// whether there is anything to announce.

#include <utility>

#include "mail/MailCheck.h"

#include "platform/RuntimeFailure.h"
#include "settings/Count16.h"
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

MailCheck::MailCheck(platform::Platform& os, SettingsStore& ini, MailCheckHost& host)
    : os_(os), ini_(ini), host_(host) {}

CheckResult MailCheck::run() {
    // One check at a time: a second one (from the tray menu while a box of
    // the first is open) would work on the same members.
    if (running_) {
        return {};
    }
    const CheckInProgress running(running_);
    const ForgetTokenAtEnd forgetToken(checkToken_);
    try {
        return runOnce();
    } catch (const platform::MailLibraryMissing&) {
        return endAfterFailure(true);
    } catch (const RuntimeFailure&) {
        return endAfterFailure(false);
    }
}

CheckResult MailCheck::runOnce() {
    // The check files its replies afresh; a running announcement keeps its
    // own copy of what it shows and is not touched unless this check
    // announces. Summaries of earlier checks never show as this check's mail.
    listCount_ = 0;
    mailList_.clear();

    const bool statOk = query(std::string(kStatCommand));
    if (stopped_) {
        return {};  // the program ended while the server was asked
    }
    if (!statOk) {
        // Shown on the icon whether or not a box says it, so that a check
        // with errors hidden never fails without a trace.
        host_.checkFailed(queryFailure_);
        if (host_.showErrors()) {
            os_.ui.messageBox(kCheckSettingsText, os_.app.title(), platform::MessageIcon::None);
            return {false, true, std::nullopt};
        }
        // The server was not reached: there is nothing to announce.
        return resume(false);
    }

    host_.checkSucceeded();
    const bool zeroMark = host_.announceZero();
    if (!zeroMark && !mailPresent_) {
        return resume(true);
    }
    // Read once, so that the decision and the numbering agree even when the
    // mark is switched while a box of this check is open.
    const bool onceOnly = host_.onceOnly();
    if (onceOnly) {
        if (Sub16(mailCount_, shownCount_) == 0) {
            return resume(false);
        }
    } else {
        shownCount_ = 0;
    }
    const std::int16_t newCount = Sub16(mailCount_, shownCount_);
    if (newCount < 0) {
        // Messages were removed: the next check announces all again.
        shownCount_ = 0;
        return resume(false);
    }
    if (newCount == 0 && !zeroMark) {
        return resume(false);
    }
    return announce(onceOnly, newCount);
}

CheckResult MailCheck::announce(bool onceOnly, std::int16_t newCount) {
    NewMail news;
    news.count = newCount;
    news.onceOnly = onceOnly;
    // Worked out before any window is looked at, so that a count at the end
    // of its range ends the check before anything is chosen or written.
    news.firstIndex = onceOnly ? Add16(shownCount_, 1) : kFirstMessage;
    news.shownBase = onceOnly ? shownCount_ : 0;

    host_.announcementComing();
    // Every message is listed, also under the once-only option, so that the
    // summary of message j lands at index j. A failed list leaves the
    // entries empty.
    query(std::string(kListCommandFromFirst) + text::DecimalText(mailCount_));
    if (stopped_) {
        return {};
    }
    news.lastIndex = mailCount_;
    // The announcement owns the summaries from here on; the next check
    // files its own.
    news.entries = std::exchange(mailList_, {});
    if (onceOnly) {
        shownCount_ = mailCount_;
    }
    return {true, true, std::move(news)};
}

CheckResult MailCheck::resume(bool succeeded) {
    host_.resumeChecking();
    return {succeeded, true, std::nullopt};
}

CheckResult MailCheck::endAfterFailure(bool mailLibraryMissing) {
    if (stopped_) {
        return {};  // the program is ending: nothing resumes
    }
    // Nothing is retried; checking resumes and the next check comes at the
    // next interval. The check failed before it announced anything, so an
    // announcement under way runs on as it stood.
    host_.resumeChecking();
    host_.checkFailed(mailLibraryMissing ? kMailLibraryMissingText : kCheckBrokeOffText);
    if (mailLibraryMissing) {
        reportMissingMailLibrary();
    }
    return {};
}

void MailCheck::reportMissingMailLibrary() {
    if (mailLibraryMissingShown_ || !host_.showErrors()) {
        return;
    }
    mailLibraryMissingShown_ = true;
    os_.ui.messageBox(kMailLibraryMissingText, os_.app.title(), platform::MessageIcon::None);
}

}  // namespace vantorel
