// The pure parts: server settings, replies, commands, encodings, the choice
// of login.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/Command.h"
#include "core/Encoding.h"
#include "core/LoginMethod.h"
#include "core/Response.h"
#include "core/ServerSetting.h"

namespace popmail {
namespace {

constexpr PortChoice kPorts{995, 110};

struct SettingCase {
    const char* setting;
    const char* firstHost;
    int firstPort;
    Security firstSecurity;
    std::size_t endpoints;
};

class ServerSettingTest : public ::testing::TestWithParam<SettingCase> {};

TEST_P(ServerSettingTest, MeansTheseConnections) {
    const SettingCase& c = GetParam();
    auto endpoints = ParseServerSetting(c.setting, kPorts);
    ASSERT_TRUE(endpoints.ok()) << c.setting;
    ASSERT_EQ(endpoints->size(), c.endpoints);
    EXPECT_EQ(endpoints->front().host, c.firstHost);
    EXPECT_EQ(endpoints->front().port, c.firstPort);
    EXPECT_EQ(endpoints->front().security, c.firstSecurity);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ServerSettingTest,
    ::testing::Values(
        SettingCase{"mail.example.jp", "mail.example.jp", 995, Security::ImplicitTls, 2},
        SettingCase{" mail.example.jp ", "mail.example.jp", 995, Security::ImplicitTls, 2},
        SettingCase{"mail.example.jp:995", "mail.example.jp", 995, Security::ImplicitTls, 1},
        SettingCase{"mail.example.jp:110", "mail.example.jp", 110, Security::RequireStls, 1},
        SettingCase{"mail.example.jp:2110", "mail.example.jp", 2110, Security::RequireStls, 1},
        SettingCase{"pop3s://mail.example.jp", "mail.example.jp", 995, Security::ImplicitTls, 1},
        SettingCase{"POP3S://mail.example.jp:1995/", "mail.example.jp", 1995, Security::ImplicitTls,
                    1},
        SettingCase{"pop3://mail.example.jp", "mail.example.jp", 110, Security::StlsIfOffered, 1},
        SettingCase{"pop3://mail.example.jp:8110", "mail.example.jp", 8110, Security::StlsIfOffered,
                    1},
        SettingCase{"[::1]", "::1", 995, Security::ImplicitTls, 2},
        SettingCase{"[::1]:2110", "::1", 2110, Security::RequireStls, 1},
        SettingCase{"pop3s://[2001:db8::1]:995", "2001:db8::1", 995, Security::ImplicitTls, 1},
        SettingCase{"2001:db8::1", "2001:db8::1", 995, Security::ImplicitTls, 2}));

TEST(ServerSetting, BareHostTriesStlsOnlyWhenTlsPortRefuses) {
    auto endpoints = ParseServerSetting("mail.example.jp", kPorts);
    ASSERT_TRUE(endpoints.ok());
    EXPECT_TRUE((*endpoints)[0].nextOnRefusal);
    EXPECT_EQ((*endpoints)[1].port, 110);
    EXPECT_EQ((*endpoints)[1].security, Security::RequireStls);
}

TEST(ServerSetting, MalformedSettingsAreRefused) {
    for (const char* bad :
         {"imap://mail.example.jp", "mail.example.jp:", "mail.example.jp:0",
          "mail.example.jp:65536", "mail.example.jp:99x", "[::1", "[::1]x", "[]:995",
          "user@mail.example.jp", "mail example", "pop3s://", "[mail.example.jp]"}) {
        auto endpoints = ParseServerSetting(bad, kPorts);
        ASSERT_FALSE(endpoints.ok()) << bad;
        EXPECT_EQ(endpoints.failure().kind, FailureKind::BadServerSetting) << bad;
    }
    EXPECT_EQ(ParseServerSetting("  ", kPorts).failure().kind, FailureKind::MissingHost);
}

TEST(ServerSetting, LabelsBracketIpv6) {
    EXPECT_EQ(EndpointLabel({"::1", 995, Security::ImplicitTls, false}), "[::1]:995");
    EXPECT_EQ(EndpointLabel({"mail.example.jp", 110, Security::RequireStls, false}),
              "mail.example.jp:110");
}

TEST(StatusLine, KindsCodesAndTexts) {
    EXPECT_EQ(ParseStatusLine("+OK 3 456").kind, StatusLine::Kind::Ok);
    EXPECT_EQ(ParseStatusLine("+OK 3 456").text, "3 456");
    EXPECT_EQ(ParseStatusLine("+ok").kind, StatusLine::Kind::Ok);
    EXPECT_EQ(ParseStatusLine("+ ").kind, StatusLine::Kind::Continuation);
    EXPECT_EQ(ParseStatusLine("+OKAY").kind, StatusLine::Kind::Invalid);
    EXPECT_EQ(ParseStatusLine("").kind, StatusLine::Kind::Invalid);
    const StatusLine err = ParseStatusLine("-ERR [sys/temp] later");
    EXPECT_EQ(err.kind, StatusLine::Kind::Err);
    EXPECT_EQ(err.code, "SYS/TEMP");
    EXPECT_EQ(err.text, "[sys/temp] later");
    EXPECT_EQ(ParseStatusLine("-ERR [unclosed").code, "");
}

TEST(Capabilities, ReadsWhatTheClientUses) {
    const Capabilities caps = ParseCapabilities(
        {"TOP", "uidl", "Pipelining", "STLS", "SASL plain LOGIN  CRAM-MD5", "IMPLEMENTATION x"});
    EXPECT_TRUE(caps.known && caps.top && caps.pipelining && caps.stls);
    EXPECT_FALSE(caps.user);
    EXPECT_EQ(caps.sasl, (std::set<std::string>{"PLAIN", "LOGIN", "CRAM-MD5"}));
}

TEST(ApopTimestamp, OnlyAMessageIdLikeStamp) {
    EXPECT_EQ(ApopTimestamp("POP3 ready <1896.697170952@dbc.mtview.ca.us>"),
              "<1896.697170952@dbc.mtview.ca.us>");
    EXPECT_FALSE(ApopTimestamp("ready <no-at-sign>").has_value());
    EXPECT_FALSE(ApopTimestamp("ready <open@").has_value());
    EXPECT_FALSE(ApopTimestamp("ready").has_value());
}

TEST(StatReply, PlainCountAndSizeOnly) {
    EXPECT_EQ(ParseStatReply("3 456"), (MailboxStatus{3, 456}));
    EXPECT_EQ(ParseStatReply("0 0"), (MailboxStatus{0, 0}));
    EXPECT_EQ(ParseStatReply("2147483647 1 extra text"), (MailboxStatus{2147483647, 1}));
    for (const char* odd :
         {"", "3", "-1 5", "99999999999999999999 0", "2147483648 0", "3 x", "+3 4", "0x3 4"}) {
        EXPECT_FALSE(ParseStatReply(odd).has_value()) << odd;
    }
}

TEST(DataLine, EndMarkerAndDotUnstuffing) {
    EXPECT_TRUE(ClassifyDataLine(".").end);
    EXPECT_FALSE(ClassifyDataLine("..").end);
    EXPECT_EQ(ClassifyDataLine("..").text, ".");
    EXPECT_EQ(ClassifyDataLine(".hidden").text, "hidden");
    EXPECT_EQ(ClassifyDataLine("plain").text, "plain");
}

TEST(Command, OnlyStatAndListOneToN) {
    EXPECT_EQ(ParseCommand("STAT")->kind, Command::Kind::Stat);
    EXPECT_EQ(ParseCommand("LIST 1-50")->count, 50u);
    EXPECT_EQ(ParseCommand("LIST 1-0")->count, 0u);
    // The whole range of the program's 16-bit count, and nothing beyond.
    EXPECT_EQ(ParseCommand("LIST 1-10001")->count, 10001u);
    EXPECT_EQ(ParseCommand("LIST 1-32767")->count, 32767u);
    EXPECT_EQ(ParseCommand("LIST 1-32768").failure().kind, FailureKind::ListTooLarge);
    EXPECT_EQ(ParseCommand("LIST 1-99999999999999999999999").failure().kind,
              FailureKind::ListTooLarge);
    for (const char* other : {"", "stat", "STAT ", "LIST", "LIST 1-", "LIST 2-5", "LIST 1--1",
                              "LIST 1-5x", "RETR 1", "DELE 1"}) {
        EXPECT_EQ(ParseCommand(other).failure().kind, FailureKind::UnknownCommand) << other;
    }
}

TEST(Encoding, Md5MatchesRfc1321AndApopExample) {
    EXPECT_EQ(Md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(Md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(
        Md5Hex("12345678901234567890123456789012345678901234567890123456789012345678901234567890"),
        "57edf4a22be3c955ac49da2e2107b67a");
    EXPECT_EQ(Md5Hex("<1896.697170952@dbc.mtview.ca.us>tanstaaf"),
              "c4c9334bac560ecc979e58001b3e22fb");
}

TEST(Encoding, Base64MatchesRfc4648) {
    EXPECT_EQ(Base64Encode(""), "");
    EXPECT_EQ(Base64Encode("f"), "Zg==");
    EXPECT_EQ(Base64Encode("fo"), "Zm8=");
    EXPECT_EQ(Base64Encode("foobar"), "Zm9vYmFy");
    EXPECT_EQ(Base64Encode(std::string("\0u\0p\xff", 5)), "AHUAcP8=");
}

TEST(LoginMethod, PasswordInClearOnlyWhereAllowed) {
    Capabilities sasl;
    sasl.known = true;
    sasl.sasl = {"PLAIN"};
    Capabilities userOnly;
    userOnly.known = true;
    userOnly.user = true;
    const Capabilities unknown;
    EXPECT_EQ(ChooseLogin(sasl, true, true), LoginMethod::SaslPlain);
    EXPECT_EQ(ChooseLogin(userOnly, true, true), LoginMethod::UserPass);
    EXPECT_EQ(ChooseLogin(unknown, true, false), LoginMethod::UserPass);
    EXPECT_EQ(ChooseLogin(sasl, false, true), LoginMethod::Apop);
    EXPECT_EQ(ChooseLogin(Capabilities{true, false, false, false, false, {}}, true, false),
              LoginMethod::None);
}

}  // namespace
}  // namespace popmail
