#pragma once
// A client against the fake server with short time-outs, so that failure
// paths end in a second instead of the documented 30 s.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "api/ReplyTexts.h"
#include "core/Client.h"
#include "fake/FakeMailbox.h"
#include "fake/FakePop3Server.h"
#include "fake/TestCertificates.h"
#include "net/Transport.h"

namespace popmail {

// Test messages show the reply, not its bytes.
inline void PrintTo(const Reply& reply, std::ostream* out) {
    if (reply.isList) {
        *out << "list of " << (reply.status ? 1 : reply.summaries.size());
    } else {
        *out << "text \"" << reply.text << "\"";
    }
}

}  // namespace popmail

namespace popmail::testing {

using namespace std::chrono_literals;

// The texts RcvMail hands the program for `reply`.
inline std::vector<std::string> Elements(Reply reply) {
    return api::TextsOf(std::move(reply)).elements;
}

inline ClientOptions FastOptions() {
    ClientOptions options;
    options.connectTimeout = 2s;
    options.replyTimeout = 1s;
    options.callTimeout = 4s;
    return options;
}

class ClientTest : public ::testing::Test {
  protected:
    Reply Run(const std::string& host, const std::string& command,
              const std::string& password = "secret", const std::string& user = "alice") {
        return client_.Run(host, user, password, command);
    }

    // "pop3://127.0.0.1:port": plain, login without TLS allowed.
    std::string Plain() const { return "pop3://" + server_.address(); }

    // Serves one connection with `mailbox`.
    void ServeOnce(const FakeMailbox& mailbox) {
        server_.Serve({[mailbox](Peer& peer) { ServeMailbox(peer, mailbox); }});
    }

    std::vector<std::string> Commands() {
        server_.Wait();
        return server_.Commands();
    }

    FakePop3Server server_;
    std::unique_ptr<net::Network> network_ = net::MakeSystemNetwork();
    ClientOptions options_ = FastOptions();
    SessionKeeper keeper_{0ms};
    Client client_{*network_, keeper_, options_};
};

// Time since the test made it.
class Stopwatch {
  public:
    std::chrono::milliseconds Elapsed() const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start_);
    }

  private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

MATCHER_P(FailsWith, fragment, "") {
    if (arg.isList) {
        *result_listener << "is a list";
        return false;
    }
    *result_listener << "text: " << arg.text;
    return arg.text.find(fragment) != std::string::npos;
}

}  // namespace popmail::testing
