#pragma once
// Runs one command of the program against the mailbox: the whole of
// RcvMail's work, with the network and the time-outs passed in so that tests
// can use a scripted server and short waits.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Limits.h"
#include "core/Response.h"
#include "core/ServerSetting.h"
#include "core/Session.h"
#include "core/SessionKeeper.h"
#include "core/Summary.h"
#include "net/Transport.h"

namespace popmail {

struct ClientOptions {
    std::chrono::milliseconds connectTimeout = kConnectTimeout;
    std::chrono::milliseconds replyTimeout = kReplyTimeout;
    std::chrono::milliseconds callTimeout = kCallTimeout;
    PortChoice ports{kImplicitTlsPort, kPlainPort};
};

// What one command answers: a list (the mailbox's status for STAT, the
// message summaries for LIST 1-N) or one text. The C entry point turns a
// list into the texts the program reads.
struct Reply {
    bool isList = false;
    std::optional<MailboxStatus> status;    // STAT's list
    std::vector<MessageSummary> summaries;  // LIST 1-N's list
    std::string text;                       // the failure text otherwise
};

// The reply of "LIST 1-0": nothing to list.
inline constexpr std::string_view kNoMessageText = "No Message+OK 0 0";

class Client {
  public:
    // `keeper` holds the session of a STAT for the LIST that follows.
    Client(net::Network& network, SessionKeeper& keeper, ClientOptions options = {})
        : network_(network), keeper_(keeper), options_(options) {}

    Reply Run(std::string_view host, std::string_view user, std::string_view password,
              std::string_view command);

    // The same, logged in with an OAuth 2.0 access token instead of a
    // password (SASL OAUTHBEARER or XOAUTH2, over TLS only).
    Reply RunWithToken(std::string_view host, std::string_view user, std::string_view accessToken,
                       std::string_view command);

  private:
    Reply RunAs(std::string_view host, const Credentials& credentials, std::string_view command);

    net::Network& network_;
    SessionKeeper& keeper_;
    ClientOptions options_;
};

}  // namespace popmail
