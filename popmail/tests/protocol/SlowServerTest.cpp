// Servers that answer slowly: a reply gets one time-out for all its lines,
// a call one limit for all its replies, whatever a LIST asks for.

#include <functional>
#include <string>

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

TEST_F(ClientTest, AMultiLineReplyHasOneTimeOutNotOnePerLine) {
    // A header line every 100 ms, never the end: each line comes well within
    // the reply time-out, the reply never does.
    server_.Serve({[](Peer& peer) {
        ServeSlowTops(peer, 1, [](Peer& slow) {
            if (!slow.Send("+OK\r\n")) {
                return false;
            }
            for (int line = 0; slow.Send("X-Slow-" + std::to_string(line) + ": x\r\n"); ++line) {
                if (slow.ClientClosesWithin(100ms)) {
                    return false;
                }
            }
            return false;
        });
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
                FailsWith("制限時間内に終わりません"));
    EXPECT_LT(watch.Elapsed(), 15s);
}

}  // namespace
}  // namespace popmail::testing
