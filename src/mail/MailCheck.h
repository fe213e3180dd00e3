#pragma once
// The mail check: asks the mailbox how many messages wait and decides what
// to announce. It keeps what a check needs from one run to the next (the
// count of the last good status, the messages already announced under the
// once-only option) and hands what to announce back as a value.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mail/AccessToken.h"
#include "platform/Platform.h"
#include "settings/SettingsStore.h"

namespace vantorel {

// What one check found to announce.
struct NewMail {
    // How many messages the announcement is about.
    std::int16_t count = 0;
    // The index of the first message to show.
    std::int16_t firstIndex = 0;
    // Messages left out: message k is numbered k - shownBase.
    std::int16_t shownBase = 0;
    // The last message index to show (the mailbox's count).
    std::int16_t lastIndex = 0;
    // The summary of message k at index k (index 0 is never shown); entries
    // the list did not fill read as empty.
    std::vector<std::string> entries;
    // Only messages not announced before are counted.
    bool onceOnly = false;
};

// How a check ended.
struct CheckResult {
    // The check's answer to its caller: the mailbox was reached and what it
    // held was dealt with (a first check of the settings passes on it).
    bool succeeded = false;
    // False when the check was refused (one already runs) or broke off on
    // a failure; such a check has reported all it will.
    bool completed = false;
    std::optional<NewMail> news;
};

// The program's side of a check: the options it reads while it runs (a box
// of the check may be open while the user changes them) and what it reports.
class MailCheckHost {
  public:
    virtual ~MailCheckHost() = default;
    // "エラーを表示": the check's failures are shown in a box.
    virtual bool showErrors() = 0;
    // A check that finds no messages announces that too.
    virtual bool announceZero() = 0;
    // Only messages not announced before are announced.
    virtual bool onceOnly() = 0;
    // The check is about to announce: the window the notices go to is
    // chosen now, before the summaries are asked for.
    virtual void announcementComing() = 0;
    virtual void checkSucceeded() = 0;
    virtual void checkFailed(std::string_view reason) = 0;
    // The check needs the check timer no longer: periodic checking goes on.
    virtual void resumeChecking() = 0;
};

class MailCheck {
  public:
    MailCheck(platform::Platform& os, SettingsStore& ini, MailCheckHost& host);

    // One check. A second one asked for while one runs (from the tray menu
    // while a box of the first is open) is refused.
    CheckResult run();
    bool running() const { return running_; }

    // The mailbox query: one command through the mail library, its reply
    // filed so that element j of a check is at index j. False when the
    // library answered with a text instead of a list.
    bool query(const std::string& command);

    // The count of the last good "STAT".
    std::int16_t messageCount() const { return mailCount_; }
    // The elements this check filed, and the latest list reply from index 1.
    const std::vector<std::string>& filed() const { return mailList_; }
    const std::vector<std::string>& lastReply() const { return lastReply_; }
    // The last "STAT" found messages, or the last command failed.
    bool mailPresent() const { return mailPresent_; }

    // The messages announced so far under the once-only option.
    std::int16_t announced() const { return shownCount_; }
    // The once-only option was cleared: every waiting message is new again.
    void forgetAnnounced() { shownCount_ = 0; }

    // The program is ending: a check still waiting on the server or on one
    // of its boxes stops without announcing or resuming anything.
    void stop() { stopped_ = true; }

  private:
    CheckResult runOnce();
    CheckResult announce(bool onceOnly, std::int16_t newCount);
    CheckResult resume(bool succeeded);
    CheckResult endAfterFailure(bool mailLibraryMissing);
    void reportMissingMailLibrary();
    void showError(std::string_view text);

    platform::MailReply tokenLogin(const std::string& host, const std::string& user,
                                   const std::string& tokenCommand, const std::string& command);
    void fileListReply(const std::vector<std::string>& elements);
    void takeMessageCount();

    platform::Platform& os_;
    SettingsStore& ini_;
    MailCheckHost& host_;

    bool mailPresent_ = false;
    std::vector<std::string> mailList_;   // every list element of the current check
    std::int16_t mailCount_ = 0;          // messages according to the last good "STAT"
    std::vector<std::string> lastReply_;  // the latest list reply, from index 1
    std::int16_t listCount_ = 0;          // elements filed in mailList_ this check
    // Messages already announced, under the once-only option.
    std::int16_t shownCount_ = 0;

    // True from the start of a check to its end, so that a second check is
    // refused rather than run on the same members.
    bool running_ = false;
    // What the last failed query said, for the tray's tooltip.
    std::string queryFailure_;
    // The access token of the check under way, while logins use one.
    CheckToken checkToken_;
    // The box saying that the mail library could not be loaded is shown
    // once per run, not at every check.
    bool mailLibraryMissingShown_ = false;
    bool stopped_ = false;
};

}  // namespace vantorel
