// Logging in with an OAuth 2.0 access token: the dialogues a server sees
// (OAUTHBEARER and XOAUTH2, the error challenge and its answer) and what
// the user is told. TokenOverTlsTest needs the fake server's TLS side;
// TokenWithoutTlsTest does not.

#include "core/Encoding.h"
#include "protocol/ClientFixture.h"

namespace popmail::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

// Longer than one AUTH line can carry, as providers' tokens are.
const std::string kToken =
    "eyJhbGciOiJIUzI1NiIsInR5cCI6IkpXVCJ9.eyJzdWIiOiJhbGljZSIsImV4cCI6MTc5NjY1NjgyOSwic2NvcGUi"
    "OiJtYWlsIn0.kkXSYvnDz2pmPYy4Nq1Q78X6cjy4Tr9WwNHy6l7sd08";
const std::string kShortToken = "ya29.short-Token_1";
constexpr char kOAuthBoth[] = "SASL PLAIN XOAUTH2 OAUTHBEARER";

FakeMailbox TokenMailbox(const std::string& sasl = kOAuthBoth) {
    FakeMailbox mailbox;
    mailbox.capabilities = {"TOP", "USER", "PIPELINING", "RESP-CODES", "AUTH-RESP-CODE", sasl};
    mailbox.accessToken = kToken;
    mailbox.messages = {MakeMessage("one", "a@example.jp", "Mon, 7 Dec 2026 09:00:00 +0900")};
    return mailbox;
}

std::string Decoded(const std::string& line) {
    return Base64Decode(line).value_or("<not base64: " + line + ">");
}

// What a refused token login must never show: the token in any form.
void ExpectNoTokenIn(const std::string& text, const std::string& token) {
    EXPECT_THAT(text, Not(HasSubstr(token)));
    EXPECT_THAT(text, Not(HasSubstr(token.substr(token.size() / 2, 16))));
    EXPECT_THAT(text, Not(HasSubstr(Base64Encode(token).substr(8, 16))));
}

class TokenOverTlsTest : public ClientTest {
  protected:
    // STLS with the test CA's certificate for localhost.
    void ServeOverStls(FakeMailbox mailbox) {
        mailbox.tls = Certificates().localhost;
        ServeOnce(mailbox);
    }
    std::string Host() const { return "localhost:" + std::to_string(server_.port()); }
    Reply RunWithToken(const std::string& token, const std::string& command = "STAT") {
        return client_.RunWithToken(Host(), "alice", token, command);
    }
};

TEST_F(TokenOverTlsTest, OauthbearerIsPreferredAndALongTokenFollowsTheServersPrompt) {
    ServeOverStls(TokenMailbox());
    const Reply reply = RunWithToken(kToken);
    ASSERT_TRUE(reply.isList) << reply.text;
    EXPECT_THAT(Elements(reply), ElementsAre(StartsWith("1 ")));
    const auto commands = Commands();
    ASSERT_THAT(commands, ElementsAre("CAPA", "STLS", "CAPA", "AUTH OAUTHBEARER", ::testing::_,
                                      "STAT", "QUIT"));
    EXPECT_EQ(Decoded(commands[4]),
              "n,a=alice,\x01host=localhost\x01port=" + std::to_string(server_.port()) + "\x01" +
                  "auth=Bearer " + kToken + "\x01\x01");
}

TEST_F(TokenOverTlsTest, Xoauth2IsUsedWhereOnlyItIsOfferedWithAnInitialResponse) {
    FakeMailbox mailbox = TokenMailbox("SASL PLAIN XOAUTH2");
    mailbox.accessToken = kShortToken;
    ServeOverStls(mailbox);
    const Reply reply = RunWithToken(kShortToken, "LIST 1-1");
    ASSERT_TRUE(reply.isList) << reply.text;
    const auto commands = Commands();
    ASSERT_THAT(commands, ElementsAre("CAPA", "STLS", "CAPA", StartsWith("AUTH XOAUTH2 "), "STAT",
                                      "TOP 1 0", "QUIT"));
    EXPECT_EQ(Decoded(commands[3].substr(std::string("AUTH XOAUTH2 ").size())),
              "user=alice\x01"
              "auth=Bearer " +
                  kShortToken + "\x01\x01");
}

TEST_F(TokenOverTlsTest, ExpiredTokenChallengeIsAnsweredWithOneSeparatorThenReported) {
    ServeOverStls(TokenMailbox());
    const Reply reply = RunWithToken(kToken + "x");
    EXPECT_EQ(reply.text,
              "アクセストークンが無効か、有効期限が切れているため、アクセストークンの取得方法と"
              "アカウントを確認してください（サーバー " +
                  Host() + "）。サーバーの応答: invalid_token -ERR [AUTH] Authentication failed.");
    EXPECT_THAT(reply.text, Not(HasSubstr("パスワード")));
    ExpectNoTokenIn(reply.text, kToken);
    // RFC 7628 3.2.3: the answer is a single %x01; nothing follows the -ERR.
    EXPECT_THAT(Commands(),
                ElementsAre("CAPA", "STLS", "CAPA", "AUTH OAUTHBEARER", ::testing::_, "AQ=="));
}

TEST_F(TokenOverTlsTest, Xoauth2ChallengeIsAnsweredWithAnEmptyResponse) {
    FakeMailbox mailbox = TokenMailbox("SASL XOAUTH2");
    mailbox.tokenErrorJson = R"({"status":"401","schemes":"bearer","scope":"mail"})";
    ServeOverStls(mailbox);
    const Reply reply = RunWithToken(kShortToken);
    EXPECT_THAT(reply, FailsWith("有効期限が切れている"));
    EXPECT_THAT(reply.text, HasSubstr("401 -ERR [AUTH]"));
    EXPECT_THAT(Commands(), ElementsAre("CAPA", "STLS", "CAPA", StartsWith("AUTH XOAUTH2 "), ""));
}

TEST_F(TokenOverTlsTest, TokenWithoutTheScopeForMailSaysWhichScopeIsNeeded) {
    FakeMailbox mailbox = TokenMailbox();
    mailbox.tokenErrorJson =
        R"({"status":"insufficient_scope","scope":"https://mail.example.jp/pop","openid-configuration":""})";
    ServeOverStls(mailbox);
    const Reply reply = RunWithToken(kShortToken);
    EXPECT_THAT(reply, FailsWith("メールを読む権限（スコープ）がない"));
    EXPECT_THAT(reply.text, HasSubstr("必要なスコープ: https://mail.example.jp/pop"));
}

TEST_F(TokenOverTlsTest, UnreadableChallengeIsStillAnsweredAndRefusalReported) {
    FakeMailbox mailbox = TokenMailbox();
    mailbox.tokenErrorJson = "not json";
    ServeOverStls(mailbox);
    EXPECT_THAT(RunWithToken(kShortToken), FailsWith("アクセストークンでログインできない"));
    EXPECT_EQ(Commands().back(), "AQ==");
}

TEST_F(TokenOverTlsTest, ServerWithoutEitherMechanismFailsWithoutSendingAnything) {
    ServeOverStls(TokenMailbox("SASL PLAIN LOGIN"));
    const Reply reply = RunWithToken(kToken);
    EXPECT_THAT(reply, FailsWith("OAuth 2.0 のログイン（OAUTHBEARER、XOAUTH2）に対応していない"));
    EXPECT_THAT(Commands(), ElementsAre("CAPA", "STLS", "CAPA"));
}

TEST_F(TokenOverTlsTest, RefusalWithoutChallengeKeepsOtherResponseCodes) {
    FakeMailbox mailbox = TokenMailbox();
    mailbox.replies["AUTH"] = "-ERR [SYS/TEMP] authentication service down\r\n";
    ServeOverStls(mailbox);
    EXPECT_THAT(RunWithToken(kToken), FailsWith("一時的な障害"));
    mailbox.replies["AUTH"] = "-ERR [AUTH] no\r\n";
    ServeOverStls(mailbox);
    EXPECT_THAT(RunWithToken(kToken), FailsWith("アクセストークンでログインできない"));
}

TEST_F(TokenOverTlsTest, TokenEchoedByTheServerIsNeverShown) {
    const TlsIdentity identity = Certificates().localhost;
    server_.Serve({[identity](Peer& peer) {
        peer.Send("+OK ready\r\n");
        peer.ReadCommand();
        peer.Send("+OK\r\nSTLS\r\n.\r\n");
        peer.ReadCommand();
        peer.Send("+OK go\r\n");
        peer.StartTls(identity);
        peer.ReadCommand();
        peer.Send("+OK\r\nSASL OAUTHBEARER\r\n.\r\n");
        peer.ReadCommand();
        peer.Send("+ \r\n");
        const std::string payload = peer.ReadCommand().value_or("");
        const std::string message = Base64Decode(payload).value_or("");
        // Everything it got, raw, in Base64, and cut short.
        peer.Send("-ERR bad " + payload + " " + message.substr(0, message.size() - 2) + " " +
                  payload.substr(0, 60) + "\r\n");
    }});
    const Reply reply = RunWithToken(kToken);
    EXPECT_THAT(reply, FailsWith("auth=Bearer ***"));
    ExpectNoTokenIn(reply.text, kToken);
    EXPECT_THAT(reply.text, Not(HasSubstr("Bearer eyJ")));
}

TEST_F(TokenOverTlsTest, OverImplicitTlsTheTokenGoesWithoutStls) {
    const TlsIdentity identity = Certificates().localhost;
    const FakeMailbox mailbox = TokenMailbox();
    server_.Serve({[mailbox, identity](Peer& peer) {
        if (peer.StartTls(identity)) {
            ServeMailbox(peer, mailbox);
        }
    }});
    const Reply reply = client_.RunWithToken("pop3s://localhost:" + std::to_string(server_.port()),
                                             "alice", kToken, "STAT");
    ASSERT_TRUE(reply.isList) << reply.text;
    EXPECT_THAT(Commands(), ElementsAre("CAPA", "AUTH OAUTHBEARER", ::testing::_, "STAT", "QUIT"));
}

TEST_F(TokenOverTlsTest, PasswordSessionIsNotReusedForATokenLogin) {
    SessionKeeper keeper(5s);
    Client client(*network_, keeper, options_);
    FakeMailbox mailbox = TokenMailbox();
    mailbox.tls = Certificates().localhost;
    mailbox.password = mailbox.accessToken = kShortToken;  // the same text for both
    const auto serve = [mailbox](Peer& peer) { ServeMailbox(peer, mailbox); };
    server_.Serve({serve, serve});
    ASSERT_TRUE(client.Run(Host(), "alice", kShortToken, "STAT").isList);
    const Reply list = client.RunWithToken(Host(), "alice", kShortToken, "LIST 1-1");
    ASSERT_TRUE(list.isList) << list.text;
    EXPECT_EQ(server_.Connections(), 2);
}

class TokenWithoutTlsTest : public ClientTest {};

TEST_F(TokenWithoutTlsTest, PlainServerWithoutStlsGetsNoTokenEvenWherePop3AllowsPasswords) {
    ServeOnce(TokenMailbox());
    const Reply reply = client_.RunWithToken(Plain(), "alice", kToken, "STAT");
    EXPECT_THAT(reply, FailsWith("暗号化（STLS）に対応しておらず"));
    EXPECT_THAT(reply.text, HasSubstr("暗号化した接続でだけ送る"));
    EXPECT_THAT(reply.text, Not(HasSubstr("pop3://")));
    EXPECT_THAT(Commands(), ElementsAre("CAPA"));
}

TEST_F(TokenWithoutTlsTest, HostAndPortWithoutStlsGetsNoTokenAndNoAdviceToGoPlain) {
    ServeOnce(TokenMailbox());
    const Reply reply = client_.RunWithToken(server_.address(), "alice", kToken, "STAT");
    EXPECT_THAT(reply, FailsWith("暗号化（STLS）に対応しておらず"));
    EXPECT_THAT(reply.text, Not(HasSubstr("pop3://")));
    EXPECT_THAT(Commands(), ElementsAre("CAPA"));
}

TEST_F(TokenWithoutTlsTest, MalformedTokenOrUserIsRefusedBeforeConnecting) {
    const std::string nowhere = "pop3s://127.0.0.1:" + std::to_string(RefusingPort());
    const std::vector<std::string> tokens{"", "two words", std::string("a\x01") + "auth=Bearer b",
                                          "tök"};
    for (const std::string& token : tokens) {
        EXPECT_THAT(client_.RunWithToken(nowhere, "alice", token, "STAT"),
                    FailsWith("アクセストークンが空か、トークンに使えない文字を含んでいる"))
            << token;
    }
    EXPECT_THAT(client_.RunWithToken(nowhere, "alice\x01user=mallory", kToken, "STAT"),
                FailsWith("使えない文字"));
    EXPECT_THAT(client_.RunWithToken(nowhere, "alice", kToken + "\r\nDELE 1", "STAT"),
                FailsWith("使えない文字"));
}

}  // namespace
}  // namespace popmail::testing
