// Servers that quote what the client sent when they refuse a login: the
// failure text the user sees must hold the password in no form.

#include <cctype>
#include <functional>
#include <string>
#include <vector>

#include "core/Encoding.h"
#include "protocol/ClientFixture.h"

namespace popmail::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

using Quote = std::function<std::string(const std::string& line)>;

const std::string kUser = "alice";
// Characters that Base64, Base64url and percent-encoding each write their
// own way.
const std::string kPassword = "s3cr3t/Välue+1?";
const std::string kApopGreeting = "+OK ready <1896.697170952@dbc.mtview.ca.us>";

std::string PlainResponse(const std::string& password) {
    return Base64Encode(std::string(1, '\0') + kUser + '\0' + password);
}

std::string Upper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

std::string PercentEncoded(const std::string& text) {
    std::string encoded;
    for (char c : text) {
        encoded += "%" + Upper(HexEncode(std::string(1, c)));
    }
    return encoded;
}

std::string AfterLastBlank(const std::string& line) {
    return line.substr(line.find_last_of(' ') + 1);
}

// Greets, answers CAPA, takes USER and opens AUTH PLAIN, and refuses the
// first command that carries a secret by quoting it through `quote`.
void RefuseByQuoting(Peer& peer, const std::string& greeting,
                     const std::vector<std::string>& capabilities, const Quote& quote) {
    peer.Send(greeting + "\r\n");
    while (auto line = peer.ReadCommand()) {
        if (*line == "CAPA") {
            std::string reply = "+OK\r\n";
            for (const std::string& capability : capabilities) {
                reply += capability + "\r\n";
            }
            peer.Send(reply + ".\r\n");
        } else if (line->starts_with("USER ")) {
            peer.Send("+OK\r\n");
        } else if (*line == "AUTH PLAIN") {
            peer.Send("+ \r\n");
        } else {
            peer.Send("-ERR " + quote(*line) + "\r\n");
            return;
        }
    }
}

class EchoingServerTest : public ClientTest {
  protected:
    Reply RefusedLogin(const std::vector<std::string>& capabilities, const Quote& quote,
                       const std::string& password = kPassword,
                       const std::string& greeting = "+OK ready") {
        server_.Serve({[=](Peer& peer) { RefuseByQuoting(peer, greeting, capabilities, quote); }});
        const Reply reply = Run(Plain(), "STAT", password, kUser);
        EXPECT_FALSE(reply.isList);
        return reply;
    }

    // None of the forms a password is sent or echoed in.
    static void ExpectNoSecret(const std::string& text, const std::string& password = kPassword) {
        const std::string response = PlainResponse(password);
        const std::string forms[] = {password,
                                     Base64Encode(password),
                                     HexEncode(password),
                                     Upper(HexEncode(password)),
                                     PercentEncoded(password),
                                     response,
                                     response.substr(0, 12),
                                     response.substr(response.size() - 12)};
        for (const std::string& form : forms) {
            EXPECT_THAT(text, Not(HasSubstr(form))) << "form: " << form;
        }
    }
};

const std::vector<std::string> kSaslPlain = {"SASL PLAIN"};
const std::vector<std::string> kUserPass = {"USER"};

TEST_F(EchoingServerTest, TheRefusedAuthCommandIsNotQuotedBack) {
    const Reply reply =
        RefusedLogin(kSaslPlain, [](const std::string& line) { return "unknown command " + line; });
    EXPECT_THAT(reply, FailsWith("ログインできない"));
    EXPECT_THAT(reply.text, HasSubstr("unknown command AUTH ***"));
    ExpectNoSecret(reply.text);
}

TEST_F(EchoingServerTest, TheSaslResponseAloneWholeOrCutIsMasked) {
    for (const std::size_t kept : {std::string::npos, std::size_t{12}, std::size_t{9}}) {
        const Reply reply = RefusedLogin(kSaslPlain, [kept](const std::string& line) {
            return "invalid response " + AfterLastBlank(line).substr(0, kept) + ", try again";
        });
        EXPECT_THAT(reply.text, HasSubstr("invalid response ***, try again"));
        ExpectNoSecret(reply.text);
    }
}

TEST_F(EchoingServerTest, AResponseSentAfterTheContinuationIsMasked) {
    // Too long for an initial response (RFC 5034): sent on a line of its own.
    const std::string longPassword = kPassword + std::string(250, 'p');
    const Reply reply = RefusedLogin(
        kSaslPlain, [](const std::string& line) { return "cannot decode " + line; }, longPassword);
    EXPECT_THAT(reply.text, HasSubstr("cannot decode ***"));
    ExpectNoSecret(reply.text, longPassword);
}

TEST_F(EchoingServerTest, TheRefusedPassCommandIsNotQuotedBack) {
    const Reply reply = RefusedLogin(
        kUserPass, [](const std::string& line) { return "[AUTH] " + line + " rejected"; });
    EXPECT_THAT(reply, FailsWith("パスワードを確認"));
    EXPECT_THAT(reply.text, HasSubstr("[AUTH] PASS ***"));
    ExpectNoSecret(reply.text);
}

TEST_F(EchoingServerTest, ThePasswordInAnyEncodingIsMasked) {
    const Reply reply = RefusedLogin(kUserPass, [](const std::string&) {
        return "hex " + Upper(HexEncode(kPassword)) + " pct " + PercentEncoded(kPassword) +
               " b64 " + Base64Encode(kPassword) + " end";
    });
    EXPECT_THAT(reply.text, HasSubstr("hex *** pct *** b64 *** end"));
    ExpectNoSecret(reply.text);
}

TEST_F(EchoingServerTest, TheApopDigestIsMaskedWithOrWithoutItsCommand) {
    const std::string digest = Md5Hex("<1896.697170952@dbc.mtview.ca.us>" + std::string(kPassword));
    const Quote quotes[] = {
        [](const std::string& line) { return "refused: " + line; },
        [](const std::string& line) { return "digest " + AfterLastBlank(line) + " for alice"; }};
    for (const Quote& quote : quotes) {
        const Reply reply = RefusedLogin(kUserPass, quote, kPassword, kApopGreeting);
        EXPECT_THAT(Commands(), ::testing::Contains("APOP alice " + digest));
        EXPECT_THAT(reply.text, Not(HasSubstr(digest)));
        EXPECT_THAT(reply.text, HasSubstr("***"));
        ExpectNoSecret(reply.text);
    }
}

TEST_F(EchoingServerTest, AUserNameOutsideALoginCommandStaysReadable) {
    const Reply reply =
        RefusedLogin(kUserPass, [](const std::string&) { return "[AUTH] no mailbox for alice"; });
    EXPECT_THAT(reply.text, HasSubstr("-ERR [AUTH] no mailbox for alice"));
}

}  // namespace
}  // namespace popmail::testing
