// Servers that answer slowly: a reply gets one time-out for all its lines,
// a call one limit for all its replies, whatever a LIST asks for, with a
// password or with an access token. SlowTokenServerTest needs the fake
// server's TLS side.

#include <functional>
#include <string>

#include "core/Encoding.h"
#include "protocol/ClientFixture.h"

namespace popmail::testing {
namespace {

// Logs in with USER and PASS, reports `messages` and answers each TOP with
// `answerTop`, one command at a time (no PIPELINING).
void ServeSlowTops(Peer& peer, int messages, const std::function<bool(Peer&)>& answerTop) {
    peer.Send("+OK ready\r\n");
    while (auto line = peer.ReadCommand()) {
        const bool sent = line->starts_with("TOP ") ? answerTop(peer)
                          : *line == "CAPA"         ? peer.Send("+OK\r\nTOP\r\nUSER\r\n.\r\n")
                          : line->starts_with("STAT")
                              ? peer.Send("+OK " + std::to_string(messages) + " 1000\r\n")
                              : peer.Send("+OK\r\n");
        if (!sent) {
            break;
        }
    }
}

// Sends `start`, then a line "X-Slow-N" + `tail` every 100 ms, never the
// end of the reply; false once the client has gone.
bool TrickleEndlessReply(Peer& peer, const std::string& start, const std::string& tail) {
    if (!peer.Send(start)) {
        return false;
    }
    for (int line = 0; peer.Send("X-Slow-" + std::to_string(line) + tail + "\r\n"); ++line) {
        if (peer.ClientClosesWithin(100ms)) {
            return false;
        }
    }
    return false;
}

TEST_F(ClientTest, AMultiLineReplyHasOneTimeOutNotOnePerLine) {
    // A header line every 100 ms, never the end: each line comes well within
    // the reply time-out, the reply never does.
    server_.Serve({[](Peer& peer) {
        ServeSlowTops(peer, 1,
                      [](Peer& slow) { return TrickleEndlessReply(slow, "+OK\r\n", ": x"); });
    }});
    options_.replyTimeout = 1s;
    options_.callTimeout = 30s;  // the reply's own time-out, not the call's, must end this
    Client client(*network_, keeper_, options_);
    const Stopwatch watch;
    EXPECT_THAT(client.Run(Plain(), "alice", "secret", "LIST 1-1"),
                FailsWith("応答がタイムアウト"));
    EXPECT_LT(watch.Elapsed(), 20s);
}

TEST_F(ClientTest, ALongListEndsWithinTheCallTimeOutWhateverItsLength) {
    // Each TOP reply comes well within the reply time-out; 3,000 of them would
    // take five minutes. The call ends at its one limit, which grows with
    // nothing (it once grew by 50 ms per message asked for).
    constexpr int kMessages = 3000;
    server_.Serve({[](Peer& peer) {
        ServeSlowTops(peer, kMessages, [](Peer& slow) {
            return !slow.ClientClosesWithin(100ms) &&
                   slow.Send("+OK\r\nSubject: slow\r\n\r\n.\r\n");
        });
    }});
    options_.callTimeout = 2s;
    Client client(*network_, keeper_, options_);
    const Stopwatch watch;
    EXPECT_THAT(client.Run(Plain(), "alice", "secret", "LIST 1-" + std::to_string(kMessages)),
                FailsWith("制限時間内に終わらなかった"));
    EXPECT_LT(watch.Elapsed(), 15s);
}

constexpr char kToken[] = "ya29.slow-Token_1";

// Token logins go over TLS only: these serve implicit TLS on localhost.
class SlowTokenServerTest : public ClientTest {
  protected:
    std::string Host() const { return "pop3s://localhost:" + std::to_string(server_.port()); }

    // After the handshake, answers each command through `answer`, which
    // sends the reply; ends when it returns false or the client leaves.
    void ServeOverTls(std::function<bool(Peer&, const std::string&)> answer) {
        server_.Serve({[identity = Certificates().localhost, answer](Peer& peer) {
            if (!peer.StartTls(identity) || !answer(peer, "")) {
                return;
            }
            while (auto line = peer.ReadCommand()) {
                if (!answer(peer, *line)) {
                    return;
                }
            }
        }});
    }

    static void ExpectNoTokenIn(const std::string& text) {
        const std::string token = kToken;
        EXPECT_THAT(text, ::testing::Not(::testing::HasSubstr(token.substr(0, 8))));
        EXPECT_THAT(text, ::testing::Not(::testing::HasSubstr(Base64Encode(token).substr(0, 8))));
    }
};

// The replies of a refused token login ("" is the greeting's turn).
std::string RefusingTokenReply(const std::string& command) {
    if (command.empty()) {
        return "+OK ready\r\n";
    }
    if (command == "CAPA") {
        return "+OK\r\nSASL OAUTHBEARER\r\n.\r\n";
    }
    if (command.starts_with("AUTH ")) {
        return "+ " + Base64Encode(R"({"status":"invalid_token"})") + "\r\n";
    }
    return "-ERR [AUTH] Authentication failed.\r\n";
}

TEST_F(SlowTokenServerTest, ATokenLoginOfSlowRepliesEndsAtTheCallLimit) {
    // Greeting, CAPA, the error challenge and the -ERR each come 700 ms
    // after the client waits for them: each well within the reply time-out,
    // all of them together past the call's limit.
    ServeOverTls([](Peer& peer, const std::string& command) {
        return !peer.ClientClosesWithin(700ms) && peer.Send(RefusingTokenReply(command));
    });
    options_.replyTimeout = 10s;
    options_.callTimeout = 2s;
    Client client(*network_, keeper_, options_);
    const Stopwatch watch;
    const Reply reply = client.RunWithToken(Host(), "alice", kToken, "STAT");
    EXPECT_THAT(reply, FailsWith("制限時間内に終わらなかった"));
    EXPECT_LT(watch.Elapsed(), 8s);
    ExpectNoTokenIn(reply.text);
}

TEST_F(SlowTokenServerTest, ATrickledCapaBeforeATokenLoginHasOneReplyTimeOut) {
    // A capability line every 100 ms after TLS, never the end: no AUTH, and
    // the reply's own time-out ends the call.
    ServeOverTls([](Peer& peer, const std::string& command) {
        if (command != "CAPA") {
            return peer.Send(RefusingTokenReply(command));
        }
        return TrickleEndlessReply(peer, "+OK\r\nSASL OAUTHBEARER\r\n", "");
    });
    options_.replyTimeout = 1s;
    options_.callTimeout = 30s;  // the reply's own time-out, not the call's, must end this
    Client client(*network_, keeper_, options_);
    const Stopwatch watch;
    const Reply reply = client.RunWithToken(Host(), "alice", kToken, "STAT");
    EXPECT_THAT(reply, FailsWith("応答がタイムアウト"));
    EXPECT_LT(watch.Elapsed(), 20s);
    EXPECT_THAT(Commands(), ::testing::ElementsAre("CAPA"));
}

}  // namespace
}  // namespace popmail::testing
