// Servers that misbehave: every call still ends in bounded time with a clear
// failure text, memory stays bounded and nothing secret leaks.

#include <ostream>
#include <string>

#include "protocol/ClientFixture.h"

namespace popmail::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr std::size_t kTenMiB = 10 * 1024 * 1024;

FakeMailbox OneMessage() {
    FakeMailbox mailbox;
    mailbox.messages = {MakeMessage("hello", "A <a@example.jp>", "Mon, 7 Dec 2026 09:00:00 +0900")};
    return mailbox;
}

TEST_F(ClientTest, ServerThatNeverGreetsTimesOut) {
    server_.Serve({[](Peer& peer) { peer.ClientClosesWithin(5s); }});
    const Stopwatch watch;
    EXPECT_THAT(Run(Plain(), "STAT"), FailsWith("応答がタイムアウト"));
    EXPECT_LT(watch.Elapsed(), 3s);
}

TEST_F(ClientTest, TricklingServerEndsWithinTheReplyTimeout) {
    server_.Serve({[](Peer& peer) {
        peer.Trickle("+OK a greeting that takes far longer than one reply may take\r\n", 50ms);
    }});
    const Stopwatch watch;
    EXPECT_THAT(Run(Plain(), "STAT"), FailsWith("タイムアウト"));
    EXPECT_LT(watch.Elapsed(), 2500ms);
}

TEST_F(ClientTest, SlowRepliesEndAtTheTotalDeadline) {
    FakeMailbox mailbox = OneMessage();
    mailbox.capabilities = {"TOP", "USER"};
    server_.Serve({[mailbox](Peer& peer) {
        // Each reply arrives just within the reply time-out.
        peer.Send(mailbox.greeting + "\r\n");
        while (auto line = peer.ReadCommand()) {
            std::this_thread::sleep_for(800ms);
            if (!peer.Send("+OK\r\n" + std::string(*line == "CAPA" ? "USER\r\n.\r\n" : ""))) {
                break;
            }
        }
    }});
    options_.callTimeout = 2s;
    Client client(*network_, keeper_, options_);
    const Stopwatch watch;
    EXPECT_THAT(client.Run(Plain(), "alice", "secret", "STAT"),
                FailsWith("制限時間内に終わらなかった"));
    EXPECT_LT(watch.Elapsed(), 3s);
}

TEST_F(ClientTest, EndlessGreetingLineDropsTheConnection) {
    bool clientLeft = false;
    server_.Serve({[&clientLeft](Peer& peer) {
        // Sending fails or the client hangs up long before 10 MiB went out.
        clientLeft =
            !peer.Send("+OK " + std::string(kTenMiB, 'x') + "\r\n") || peer.ClientClosesWithin(2s);
    }});
    EXPECT_THAT(Run(Plain(), "STAT"), FailsWith("応答が大きすぎて接続を切った"));
    server_.Wait();
    EXPECT_TRUE(clientLeft);
}

TEST_F(ClientTest, EndlessHeaderLineDropsTheConnection) {
    FakeMailbox mailbox = OneMessage();
    // Made before the server starts, so that sending begins at once.
    mailbox.replies["TOP"] = "+OK\r\nSubject: " + std::string(kTenMiB, 'y') + "\r\n.\r\n";
    ServeOnce(mailbox);
    options_.replyTimeout = 5s;  // the cap, not the clock, must end this
    Client client(*network_, keeper_, options_);
    EXPECT_THAT(client.Run(Plain(), "alice", "secret", "LIST 1-1"),
                FailsWith("応答が大きすぎて接続を切った"));
    EXPECT_THAT(Commands(), Not(::testing::Contains("QUIT")));
}

TEST_F(ClientTest, ReplyWithoutEndMarkerFails) {
    FakeMailbox mailbox = OneMessage();
    mailbox.replies["TOP"] = "+OK\r\nSubject: cut short\r\n";
    mailbox.capabilities = {"TOP", "USER"};  // no QUIT comes to end the connection
    ServeOnce(mailbox);
    // The server keeps the connection open after the cut reply: time-out.
    const Stopwatch watch;
    EXPECT_THAT(Run(Plain(), "LIST 1-1"), FailsWith("タイムアウト"));
    EXPECT_LT(watch.Elapsed(), 2500ms);

    server_.Serve({[](Peer& peer) {
        peer.Send("+OK hi\r\n");
        peer.ReadCommand();
        peer.Send("+OK\r\nTOP\r\n");  // CAPA reply, then the server hangs up
    }});
    EXPECT_THAT(Run(Plain(), "STAT"), FailsWith("切断した"));
}

TEST_F(ClientTest, DataInjectedBeforeTheTlsHandshakeIsDiscarded) {
    FakeMailbox mailbox = OneMessage();
    mailbox.tls = Certificates().localhost;
    // An attacker's plaintext, sent in the same packet as the STLS reply:
    // taken as the next reply it would fake the CAPA answer.
    mailbox.injectedBeforeTls = "+OK\r\nUSER\r\n.\r\n-ERR [SYS/PERM] injected\r\n";
    ServeOnce(mailbox);
    const Reply reply = Run("localhost:" + std::to_string(server_.port()), "STAT");
    ASSERT_TRUE(reply.isList) << reply.text;
    EXPECT_THAT(Commands(), ElementsAre("CAPA", "STLS", "CAPA",
                                        ::testing::StartsWith("AUTH PLAIN "), "STAT", "QUIT"));
}

TEST_F(ClientTest, ServerWithoutStlsGetsNoPasswordAndTheUserIsToldWhatToWrite) {
    ServeOnce(OneMessage());
    const std::string host = "127.0.0.1:" + std::to_string(server_.port());
    const Reply reply = Run(host, "STAT");
    EXPECT_THAT(reply, FailsWith("暗号化（STLS）に対応していない"));
    EXPECT_THAT(reply.text, HasSubstr("pop3://" + host));
    EXPECT_THAT(Commands(), ElementsAre("CAPA"));
}

TEST_F(ClientTest, CertificateForAnotherNameIsRefused) {
    FakeMailbox mailbox = OneMessage();
    mailbox.tls = Certificates().otherName;
    ServeOnce(mailbox);
    const Reply reply = Run("localhost:" + std::to_string(server_.port()), "STAT");
    EXPECT_THAT(reply, FailsWith("名前がサーバー名と一致しないため、サーバー名を証明書にある名前"));
    EXPECT_THAT(reply.text, HasSubstr("）。詳細: hostname mismatch"));
    EXPECT_THAT(Commands(), ElementsAre("CAPA", "STLS"));
}

TEST_F(ClientTest, ServerNotReachedAsWrittenSaysToCheckThePortAndTls) {
    const std::string nowhere = "pop3s://127.0.0.1:" + std::to_string(RefusingPort());
    EXPECT_THAT(Run(nowhere, "STAT"),
                FailsWith("接続を拒否されたため、サーバー名とポート番号を確認してください"));

    // A plain POP3 server where TLS was asked for: the TLS library's reason
    // follows (it ends the connection, so that no TLS library waits for more).
    server_.Serve({[](Peer& peer) {
        peer.Send("+OK ready\r\n");
        peer.Close();
    }});
    const Reply reply = Run("pop3s://" + server_.address(), "STAT");
    EXPECT_THAT(reply, FailsWith("（TLS）を開始できないため、ポート番号と暗号化（pop3s:// か STLS "
                                 "か）の設定を確認してください（サーバー " +
                                 server_.address() + "）。詳細: "));
}

TEST_F(ClientTest, AServerThatResetsTheTlsHelloGetsTheSameAdviceAsOneThatClosed) {
    server_.Serve({[](Peer& peer) {
        peer.MoreArrivesWithin(std::chrono::seconds(10));
        peer.Reset();
    }});
    const Reply reply = Run("pop3s://" + server_.address(), "STAT");
    EXPECT_THAT(reply, FailsWith("（TLS）を開始できないため、ポート番号と暗号化（pop3s:// か STLS "
                                 "か）の設定を確認してください（サーバー " +
                                 server_.address() + "）。詳細: "));
}

TEST_F(ClientTest, UntrustedCertificateIsRefused) {
    const TlsIdentity stranger = Certificates().selfSigned;
    server_.Serve({[stranger](Peer& peer) { peer.StartTls(stranger); }});
    EXPECT_THAT(Run("pop3s://localhost:" + std::to_string(server_.port()), "STAT"),
                FailsWith("信頼できない"));
}

TEST_F(ClientTest, RefusedPasswordIsFollowedOnlyByTheEndOfTheConnection) {
    FakeMailbox mailbox = OneMessage();
    mailbox.capabilities = {"USER"};
    bool closed = false;
    server_.Serve({[mailbox, &closed](Peer& peer) {
        peer.Send(mailbox.greeting + "\r\n");
        peer.ReadCommand();
        peer.Send("+OK\r\nUSER\r\n.\r\n");
        peer.ReadCommand();
        peer.Send("+OK\r\n");
        peer.ReadCommand();
        peer.Send("-ERR [AUTH] Authentication failed.\r\n");
        closed = peer.ClientClosesWithin(2s);
    }});
    EXPECT_EQ(
        Run(Plain(), "STAT", "wrong").text,
        "ログインできないため、ユーザー名（アカウント）とパスワードを確認してください（サーバー " +
            server_.address() + "）。サーバーの応答: -ERR [AUTH] Authentication failed.");
    EXPECT_THAT(Commands(), ElementsAre("CAPA", "USER alice", "PASS wrong"));
    EXPECT_TRUE(closed);
}

TEST_F(ClientTest, PasswordEchoedByTheServerIsNotShown) {
    FakeMailbox mailbox = OneMessage();
    mailbox.capabilities = {"USER"};
    mailbox.replies["PASS"] = "-ERR wrong password s3cr3t-Value for alice\r\n";
    ServeOnce(mailbox);
    const Reply reply = Run(Plain(), "STAT", "s3cr3t-Value");
    EXPECT_THAT(reply, FailsWith("wrong password *** for alice"));
    EXPECT_THAT(reply.text, Not(HasSubstr("s3cr3t")));
}

struct CodeCase {
    const char* reply;
    const char* expected;
};

class ResponseCodeTest : public ClientTest, public ::testing::WithParamInterface<CodeCase> {};

TEST_P(ResponseCodeTest, EachCodeHasItsOwnMessage) {
    FakeMailbox mailbox = OneMessage();
    mailbox.replies["AUTH"] = std::string(GetParam().reply) + "\r\n";
    ServeOnce(mailbox);
    const Reply reply = Run(Plain(), "STAT");
    EXPECT_THAT(reply, FailsWith(GetParam().expected));
    EXPECT_THAT(reply.text, HasSubstr("。サーバーの応答: " + std::string(GetParam().reply)));
    EXPECT_THAT(reply.text, HasSubstr(server_.address()));
}

std::string CodeName(const ::testing::TestParamInfo<CodeCase>& info) {
    return "case" + std::to_string(info.index);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ResponseCodeTest,
    ::testing::Values(CodeCase{"-ERR [IN-USE] Mailbox locked", "他のメールソフトが使用中"},
                      CodeCase{"-ERR [LOGIN-DELAY] wait", "前回のログインから間もない"},
                      CodeCase{"-ERR [AUTH] Authentication failed.", "パスワードを確認"},
                      CodeCase{"-ERR [SYS/TEMP] try later", "一時的な障害"},
                      CodeCase{"-ERR [SYS/PERM] broken", "管理者に連絡"},
                      CodeCase{"-ERR no", "ログインできない"}),
    CodeName);

class OddStatTest : public ClientTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(OddStatTest, IsAFailureNotACount) {
    FakeMailbox mailbox = OneMessage();
    mailbox.replies["STAT"] = std::string(GetParam()) + "\r\n";
    const auto serve = [mailbox](Peer& peer) { ServeMailbox(peer, mailbox); };
    server_.Serve({serve, serve});
    EXPECT_THAT(Run(Plain(), "STAT"), FailsWith("メッセージ数の応答を解釈できない"));
    EXPECT_THAT(Run(Plain(), "LIST 1-1"), Not(::testing::Field(&Reply::isList, true)));
}

INSTANTIATE_TEST_SUITE_P(Replies, OddStatTest,
                         ::testing::Values("+OK", "+OK -1 5", "+OK 99999999999999999999 0",
                                           "+OK three 400", "+OK 3", "+OK 3\t4", "+OK 3 4x",
                                           "+OK 3.5 4", "+OK +3 4", "+OK 3,4"),
                         [](const auto& param) { return "case" + std::to_string(param.index); });

struct StatForm {
    const char* reply;
    const char* element;
};

void PrintTo(const StatForm& form, std::ostream* out) {
    *out << '"' << form.reply << '"';
}

// A STAT reply the library accepts reaches the program as "count size",
// which it reads by the number before the first space: extra blanks or words
// must not shift the count ("+OK  3 4" passed on as " 3 4" read as 0 mails).
class StatFormTest : public ClientTest, public ::testing::WithParamInterface<StatForm> {};

TEST_P(StatFormTest, ReachesTheProgramAsCountSpaceSize) {
    FakeMailbox mailbox = OneMessage();
    mailbox.replies["STAT"] = std::string(GetParam().reply) + "\r\n";
    ServeOnce(mailbox);
    const Reply reply = Run(Plain(), "STAT");
    ASSERT_TRUE(reply.isList) << reply.text;
    EXPECT_THAT(Elements(reply), ElementsAre(GetParam().element));
}

INSTANTIATE_TEST_SUITE_P(
    Replies, StatFormTest,
    ::testing::Values(StatForm{"+OK 3 456", "3 456"}, StatForm{"+OK  3 4", "3 4"},
                      StatForm{"+OK   3 4", "3 4"}, StatForm{"+OK 3  4", "3 4"},
                      StatForm{"+OK 3 4 ", "3 4"}, StatForm{"+OK 3 4 messages (1 KB)", "3 4"},
                      StatForm{"+OK 007 0004", "7 4"}, StatForm{"+ok 0 0", "0 0"},
                      StatForm{"+OK 2147483647 1", "2147483647 1"}),
    [](const auto& param) { return "case" + std::to_string(param.index); });

TEST_F(ClientTest, RefusedStatKeepsTheServersText) {
    FakeMailbox mailbox = OneMessage();
    mailbox.replies["STAT"] = "-ERR [SYS/TEMP] maildrop busy\r\n";
    ServeOnce(mailbox);
    EXPECT_THAT(Run(Plain(), "STAT"), FailsWith("一時的な障害"));
}

TEST_F(ClientTest, GarbageInsteadOfAReplyIsAProtocolError) {
    server_.Serve({[](Peer& peer) { peer.Send("HELLO\x01 there\r\n"); }});
    const Reply reply = Run(Plain(), "STAT");
    EXPECT_THAT(reply, FailsWith("応答を解釈できない"));
    EXPECT_THAT(reply.text, Not(HasSubstr("\x01")));
}

}  // namespace
}  // namespace popmail::testing
