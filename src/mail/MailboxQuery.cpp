// The mailbox query: one command through the mail library, its reply filed
// into the check's reply lists.

#include <optional>

#include "mail/MailCheck.h"
#include "mail/MessageCount.h"
#include "platform/RuntimeFailure.h"
#include "settings/Count16.h"
#include "settings/SettingsKeys.h"

namespace vantorel {

namespace {

constexpr std::string_view kStatCommand = "STAT";
// The library's answer to a list of no messages: not a failure the user
// needs to see.
constexpr std::string_view kNoMessageReply = "No Message+OK 0 0";

}  // namespace

bool MailCheck::query(const std::string& command) {
    // Read for every command, so that an edited settings file takes effect
    // at once.
    const std::string host = ini_.read(keys::kUserInfo, keys::kRemoteHost, keys::kEmpty);
    const std::string user = ini_.read(keys::kUserInfo, keys::kUserName, keys::kEmpty);
    // With a token command the login takes an OAuth 2.0 access token, and
    // the password is not even read.
    const std::string tokenCommand = ini_.read(keys::kUserInfo, keys::kTokenCmd, keys::kEmpty);
    const platform::MailReply reply =
        tokenCommand.empty()
            ? os_.mail.RcvMail(host, user,
                               ini_.read(keys::kUserInfo, keys::kPassword, keys::kEmpty), command,
                               ini_.saveFolder())
            : tokenLogin(host, user, tokenCommand, command);

    if (!reply.isList) {
        queryFailure_ = reply.text;
        if (reply.text != kNoMessageReply && host_.showErrors()) {
            os_.ui.messageBox(reply.text, os_.app.title(), platform::MessageIcon::None);
        }
        mailPresent_ = true;
        return false;
    }

    fileListReply(reply.list);
    if (command == kStatCommand) {
        takeMessageCount();
    } else {
        mailPresent_ = true;
    }
    return true;
}

platform::MailReply MailCheck::tokenLogin(const std::string& host, const std::string& user,
                                          const std::string& tokenCommand,
                                          const std::string& command) {
    if (!checkToken_.Held()) {
        platform::TokenCommandOutcome outcome =
            os_.tokenCommand.Run(tokenCommand, platform::kTokenCommandTimeLimit);
        if (outcome.kind != platform::TokenCommandOutcome::Kind::Token) {
            // Nothing is sent to the server without a token.
            return platform::MailReply::Text(TokenFailureText(outcome));
        }
        checkToken_.Take(outcome.token);
    }
    // Outside a check no later login shares the token: it goes at once.
    std::optional<ForgetTokenAtEnd> forget;
    if (!running_) {
        forget.emplace(checkToken_);
    }
    return os_.mail.RcvMailOAuth2(host, user, checkToken_.Text(), command, ini_.saveFolder());
}

void MailCheck::fileListReply(const std::vector<std::string>& elements) {
    lastReply_.assign(1, std::string());  // index 0 is never used
    for (const std::string& element : elements) {
        lastReply_.push_back(element);
        // Tested before the store: a check never files more elements than
        // its 16-bit count can number.
        const std::int16_t next = Add16(listCount_, 1);
        const auto index = static_cast<std::size_t>(listCount_);
        if (mailList_.size() <= index) {
            mailList_.resize(index + 1);
        }
        mailList_[index] = element;
        listCount_ = next;
    }
}

void MailCheck::takeMessageCount() {
    if (lastReply_.size() < 2) {
        throw RuntimeFailure("the mailbox status came as an empty list");
    }
    mailCount_ = MessageCountOf(lastReply_[1]);
    mailPresent_ = mailCount_ != 0;
}

}  // namespace vantorel
