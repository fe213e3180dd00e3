// The dialogues a well-behaved server sees: which commands the client sends,
// in which order, and what RcvMail answers.

#include <algorithm>
#include <thread>

#include "core/Encoding.h"
#include "protocol/ClientFixture.h"

namespace popmail::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

FakeMailbox ThreeMessages() {
    FakeMailbox mailbox;
    mailbox.messages = {MakeMessage("one", "A <a@example.jp>", "Mon, 7 Dec 2026 09:00:00 +0900"),
                        MakeMessage("two", "B <b@example.jp>", "Tue, 8 Dec 2026 09:00:00 +0900"),
                        MakeMessage("three", "C <c@example.jp>", "Wed, 9 Dec 2026 09:00:00 +0900")};
    return mailbox;
}

TEST_F(ClientTest, StatAnswersTheServersTextAndQuits) {
    ServeOnce(ThreeMessages());
    const Reply reply = Run(Plain(), "STAT");
    ASSERT_TRUE(reply.isList) << reply.text;
    EXPECT_THAT(Elements(reply), ElementsAre(::testing::StartsWith("3 ")));
    EXPECT_THAT(
        Commands(),
        ElementsAre("CAPA", "AUTH PLAIN " + Base64Encode(std::string("\0alice\0secret", 13)),
                    "STAT", "QUIT"));
}

TEST_F(ClientTest, WithPipeliningTheLoginAndStatGoInOneFlight) {
    // No reply to the login before STAT is in: a client that waited for it
    // would time out here.
    FakeMailbox sasl = ThreeMessages();
    sasl.holdRepliesUntil = {{"AUTH", "STAT"}};
    FakeMailbox userPass = ThreeMessages();
    userPass.capabilities = {"TOP", "USER", "PIPELINING"};
    userPass.holdRepliesUntil = {{"USER", "STAT"}};
    for (const FakeMailbox& mailbox : {sasl, userPass}) {
        ServeOnce(mailbox);
        const Reply reply = Run(Plain(), "STAT");
        ASSERT_TRUE(reply.isList) << reply.text;
        EXPECT_THAT(Elements(reply), ElementsAre(::testing::StartsWith("3 ")));
        server_.Wait();
    }
    EXPECT_THAT(Commands(),
                ElementsAre("CAPA", ::testing::StartsWith("AUTH PLAIN "), "STAT", "QUIT", "CAPA",
                            "USER alice", "PASS secret", "STAT", "QUIT"));
}

TEST_F(ClientTest, RefusedLoginWithStatInItsFlightReportsTheLoginAndSendsNothingMore) {
    FakeMailbox mailbox = ThreeMessages();
    mailbox.password = "another";
    ServeOnce(mailbox);
    EXPECT_THAT(Run(Plain(), "STAT"), FailsWith("ログインできないため"));
    EXPECT_THAT(Commands(), ElementsAre("CAPA", ::testing::StartsWith("AUTH PLAIN "), "STAT"));
}

TEST_F(ClientTest, ListPipelinesAllTopCommandsAndKeepsTheirOrder) {
    FakeMailbox mailbox = ThreeMessages();
    // Not one reply before all three TOP commands are in: a client that
    // waited for each reply would time out here.
    mailbox.holdTopRepliesUntil = 3;
    ServeOnce(mailbox);
    const Reply reply = Run(Plain(), "LIST 1-3");
    ASSERT_TRUE(reply.isList) << reply.text;
    EXPECT_THAT(
        Elements(reply),
        ElementsAre("Subject:one\tFrom:A <a@example.jp>\tDate:Mon, 7 Dec 2026 09:00:00 +0900",
                    "Subject:two\tFrom:B <b@example.jp>\tDate:Tue, 8 Dec 2026 09:00:00 +0900",
                    "Subject:three\tFrom:C <c@example.jp>\tDate:Wed, 9 Dec 2026 09:00:00 +0900"));
    EXPECT_THAT(Commands(), ElementsAre("CAPA", ::testing::StartsWith("AUTH PLAIN "), "STAT",
                                        "TOP 1 0", "TOP 2 0", "TOP 3 0", "QUIT"));
}

TEST_F(ClientTest, WithPipeliningQuitLeavesWithTheLastTopCommands) {
    // No TOP reply before QUIT is in: a client that read the replies
    // before sending QUIT would time out here.
    FakeMailbox mailbox = ThreeMessages();
    mailbox.holdRepliesUntil = {{"AUTH", "STAT"}, {"TOP", "QUIT"}};
    ServeOnce(mailbox);
    const Reply reply = Run(Plain(), "LIST 1-3");
    ASSERT_TRUE(reply.isList) << reply.text;
    EXPECT_THAT(Elements(reply), ElementsAre(::testing::StartsWith("Subject:one\t"),
                                             ::testing::StartsWith("Subject:two\t"),
                                             ::testing::StartsWith("Subject:three\t")));
    EXPECT_THAT(Commands(), ElementsAre("CAPA", ::testing::StartsWith("AUTH PLAIN "), "STAT",
                                        "TOP 1 0", "TOP 2 0", "TOP 3 0", "QUIT"));
}

TEST_F(ClientTest, TopRefusedAfterQuitWentOutIsFetchedWholeOnANewSession) {
    FakeMailbox mailbox = ThreeMessages();
    mailbox.replies["TOP"] = "-ERR TOP disabled\r\n";  // although CAPA lists it
    const auto serve = [mailbox](Peer& peer) { ServeMailbox(peer, mailbox); };
    server_.Serve({serve, serve});
    const Reply reply = Run(Plain(), "LIST 1-2");
    ASSERT_TRUE(reply.isList) << reply.text;
    EXPECT_THAT(Elements(reply), ElementsAre(::testing::StartsWith("Subject:one\t"),
                                             ::testing::StartsWith("Subject:two\t")));
    EXPECT_THAT(Commands(),
                ElementsAre("CAPA", ::testing::StartsWith("AUTH PLAIN "), "STAT", "TOP 1 0",
                            "TOP 2 0", "QUIT", "CAPA", ::testing::StartsWith("AUTH PLAIN "), "STAT",
                            "RETR 1", "RETR 2", "QUIT"));
    EXPECT_EQ(server_.Connections(), 2);
}

TEST_F(ClientTest, LargeListIsPipelinedInWindowsAndStaysInOrder) {
    constexpr int kMessages = 1200;  // far more commands than one window holds
    FakeMailbox mailbox;
    for (int i = 1; i <= kMessages; ++i) {
        mailbox.messages.push_back(MakeMessage("m" + std::to_string(i), "x@example.jp", "d"));
    }
    ServeOnce(mailbox);
    const Reply reply = Run(Plain(), "LIST 1-" + std::to_string(kMessages));
    ASSERT_TRUE(reply.isList) << reply.text;
    const std::vector<std::string> elements = Elements(reply);
    ASSERT_EQ(elements.size(), static_cast<std::size_t>(kMessages));
    for (int i = 1; i <= kMessages; ++i) {
        ASSERT_EQ(elements[static_cast<std::size_t>(i - 1)],
                  "Subject:m" + std::to_string(i) + "\tFrom:x@example.jp\tDate:d");
    }
    // QUIT goes with the last window only.
    const std::vector<std::string> commands = Commands();
    EXPECT_EQ(commands.back(), "QUIT");
    EXPECT_EQ(std::count(commands.begin(), commands.end(), "QUIT"), 1);
}

TEST_F(ClientTest, WithoutPipeliningEachCommandWaitsForTheReplyBefore) {
    FakeMailbox mailbox = ThreeMessages();
    mailbox.capabilities = {"TOP", "USER"};
    mailbox.notePipelining = true;
    ServeOnce(mailbox);
    const Reply reply = Run(Plain(), "LIST 1-3");
    ASSERT_TRUE(reply.isList) << reply.text;
    EXPECT_THAT(Commands(), ElementsAre("CAPA", "USER alice", "PASS secret", "STAT", "TOP 1 0",
                                        "TOP 2 0", "TOP 3 0", "QUIT"));
}

TEST_F(ClientTest, WithoutTopMessagesAreFetchedWholeAndDotLinesUnstuffed) {
    FakeMailbox mailbox = ThreeMessages();
    mailbox.capabilities = {"USER", "PIPELINING"};
    mailbox.messages[1] = "Subject: dots\n.X-Field: y\n\n.\n..\n.hidden\n";
    ServeOnce(mailbox);
    const Reply reply = Run(Plain(), "LIST 1-3");
    ASSERT_TRUE(reply.isList) << reply.text;
    EXPECT_EQ(Elements(reply).at(1), "Subject:dots\tFrom:\tDate:");
    EXPECT_THAT(Commands(), ElementsAre("CAPA", "USER alice", "PASS secret", "STAT", "RETR 1",
                                        "RETR 2", "RETR 3", "QUIT"));
}

TEST_F(ClientTest, RefusedTopFallsBackToRetr) {
    FakeMailbox mailbox = ThreeMessages();
    mailbox.replies["TOP"] = "-ERR TOP disabled\r\n";
    mailbox.capabilities = {"TOP", "USER"};
    ServeOnce(mailbox);
    const Reply reply = Run(Plain(), "LIST 1-2");
    ASSERT_TRUE(reply.isList) << reply.text;
    EXPECT_THAT(Elements(reply), ElementsAre(::testing::StartsWith("Subject:one\t"),
                                             ::testing::StartsWith("Subject:two\t")));
    EXPECT_THAT(Commands(), ElementsAre("CAPA", "USER alice", "PASS secret", "STAT", "TOP 1 0",
                                        "RETR 1", "RETR 2", "QUIT"));
}

TEST_F(ClientTest, ListAboveTheMailboxCountFailsWithoutFetching) {
    ServeOnce(ThreeMessages());
    EXPECT_THAT(Run(Plain(), "LIST 1-4"), FailsWith("メッセージ数が要求より少なく"));
    EXPECT_THAT(Commands(), Not(Contains(::testing::StartsWith("TOP"))));
}

TEST_F(ClientTest, ApopIsUsedOnAnUnencryptedConnectionWhenOffered) {
    FakeMailbox mailbox = ThreeMessages();
    mailbox.greeting = "+OK POP3 server ready <1896.697170952@dbc.mtview.ca.us>";
    mailbox.user = "mrose";
    mailbox.password = "tanstaaf";
    ServeOnce(mailbox);
    const Reply reply = Run(Plain(), "STAT", "tanstaaf", "mrose");
    ASSERT_TRUE(reply.isList) << reply.text;
    // RFC 1939's own example digest.
    EXPECT_THAT(Commands(),
                ElementsAre("CAPA", "APOP mrose c4c9334bac560ecc979e58001b3e22fb", "STAT", "QUIT"));
}

TEST_F(ClientTest, StlsUpgradesAsksCapaAgainAndLogsInEncrypted) {
    FakeMailbox mailbox = ThreeMessages();
    mailbox.greeting = "+OK ready <1.2@host>";  // APOP must not be chosen over TLS
    mailbox.tls = Certificates().localhost;
    ServeOnce(mailbox);
    const Reply reply = Run("localhost:" + std::to_string(server_.port()), "STAT");
    ASSERT_TRUE(reply.isList) << reply.text;
    EXPECT_THAT(Commands(), ElementsAre("CAPA", "STLS", "CAPA",
                                        ::testing::StartsWith("AUTH PLAIN "), "STAT", "QUIT"));
}

TEST_F(ClientTest, BareHostFallsBackToStlsWhenTheTlsPortRefuses) {
    FakeMailbox mailbox = ThreeMessages();
    mailbox.tls = Certificates().localhost;
    ServeOnce(mailbox);
    options_.ports = {RefusingPort(), server_.port()};
    Client client(*network_, keeper_, options_);
    const Reply reply = client.Run("localhost", "alice", "secret", "STAT");
    ASSERT_TRUE(reply.isList) << reply.text;
    EXPECT_THAT(Commands(), Contains("STLS"));
}

TEST_F(ClientTest, ImplicitTlsWithIpLiteralChecksTheAddress) {
    FakeMailbox mailbox = ThreeMessages();
    const TlsIdentity identity = Certificates().localhost;
    server_.Serve({[mailbox, identity](Peer& peer) {
        if (peer.StartTls(identity)) {
            ServeMailbox(peer, mailbox);
        }
    }});
    const Reply reply = Run("pop3s://127.0.0.1:" + std::to_string(server_.port()), "STAT");
    ASSERT_TRUE(reply.isList) << reply.text;
}

TEST_F(ClientTest, StatSessionIsReusedByTheListOfTheSameCheck) {
    SessionKeeper keeper(5s);
    Client client(*network_, keeper, options_);
    ServeOnce(ThreeMessages());
    ASSERT_TRUE(client.Run(Plain(), "alice", "secret", "STAT").isList);
    const Reply list = client.Run(Plain(), "alice", "secret", "LIST 1-2");
    ASSERT_TRUE(list.isList) << list.text;
    EXPECT_EQ(server_.Connections(), 1);
    EXPECT_THAT(Commands(), ElementsAre("CAPA", ::testing::StartsWith("AUTH PLAIN "), "STAT",
                                        "TOP 1 0", "TOP 2 0", "QUIT"));
}

TEST_F(ClientTest, KeptSessionIsNotReusedForAnotherUserAndEndsWithQuit) {
    SessionKeeper keeper(5s);
    Client client(*network_, keeper, options_);
    FakeMailbox other = ThreeMessages();
    other.user = "bob";
    server_.Serve({[mailbox = ThreeMessages()](Peer& peer) { ServeMailbox(peer, mailbox); },
                   [other](Peer& peer) { ServeMailbox(peer, other); }});
    ASSERT_TRUE(client.Run(Plain(), "alice", "secret", "STAT").isList);
    ASSERT_TRUE(client.Run(Plain(), "bob", "secret", "LIST 1-1").isList);
    EXPECT_EQ(server_.Connections(), 2);
    EXPECT_THAT(Commands(),
                ElementsAre("CAPA", ::testing::StartsWith("AUTH PLAIN "), "STAT", "QUIT", "CAPA",
                            ::testing::StartsWith("AUTH PLAIN "), "STAT", "TOP 1 0", "QUIT"));
}

TEST_F(ClientTest, KeptSessionEndsWithQuitWhenNoListFollows) {
    SessionKeeper keeper(200ms);
    Client client(*network_, keeper, options_);
    ServeOnce(ThreeMessages());
    ASSERT_TRUE(client.Run(Plain(), "alice", "secret", "STAT").isList);
    server_.Wait();  // returns once the reaper's QUIT ended the dialogue
    EXPECT_EQ(Commands().back(), "QUIT");
}

TEST_F(ClientTest, KeptSessionDroppedByTheServerIsReplacedByANewLogin) {
    SessionKeeper keeper(5s);
    Client client(*network_, keeper, options_);
    FakeMailbox mailbox = ThreeMessages();
    server_.Serve({[](Peer& peer) {
                       peer.Send("+OK hi\r\n");
                       peer.ReadCommand();
                       peer.Send("+OK\r\nUSER\r\n.\r\n");
                       peer.ReadCommand();
                       peer.Send("+OK\r\n");
                       peer.ReadCommand();
                       peer.Send("+OK\r\n");
                       peer.ReadCommand();
                       peer.Send("+OK 3 300\r\n");
                       peer.Close();  // e.g. an idle time-out on the server
                   },
                   [mailbox](Peer& peer) { ServeMailbox(peer, mailbox); }});
    ASSERT_TRUE(client.Run(Plain(), "alice", "secret", "STAT").isList);
    const Reply list = client.Run(Plain(), "alice", "secret", "LIST 1-3");
    ASSERT_TRUE(list.isList) << list.text;
    EXPECT_EQ(Elements(list).size(), 3u);
    EXPECT_EQ(server_.Connections(), 2);
}

TEST_F(ClientTest, KeptSessionEndsWithQuitWhenTheLibraryGoesAway) {
    auto keeper = std::make_unique<SessionKeeper>(60s);
    Client client(*network_, *keeper, options_);
    ServeOnce(ThreeMessages());
    ASSERT_TRUE(client.Run(Plain(), "alice", "secret", "STAT").isList);
    const auto started = std::chrono::steady_clock::now();
    keeper.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - started, 1s);
    EXPECT_EQ(Commands().back(), "QUIT");
}

TEST_F(ClientTest, NoMessageNeedsNoServer) {
    const Reply reply = Run(Plain(), "LIST 1-0");
    EXPECT_FALSE(reply.isList);
    EXPECT_EQ(reply.text, "No Message+OK 0 0");
    EXPECT_EQ(server_.Connections(), 0);
}

TEST_F(ClientTest, ForbiddenCharactersAndUnknownCommandsAreRefusedBeforeConnecting) {
    EXPECT_THAT(Run(Plain(), "STAT", "secret", "alice\r\nDELE 1"), FailsWith("使えない文字"));
    EXPECT_THAT(Run(Plain(), "STAT", "sec\nret"), FailsWith("使えない文字"));
    EXPECT_THAT(Run(Plain() + "\r", "STAT"), FailsWith("使えない文字"));
    EXPECT_THAT(Run(Plain(), std::string("STAT\0", 5)), FailsWith("知らないコマンド"));
    EXPECT_THAT(Run(Plain(), "DELE 1"), FailsWith("知らないコマンド"));
    EXPECT_THAT(Run(Plain(), "LIST 1-32768"), FailsWith("上限"));
    EXPECT_THAT(Run("", "STAT"), FailsWith("設定されていない"));
    EXPECT_EQ(server_.Connections(), 0);
}

}  // namespace
}  // namespace popmail::testing
