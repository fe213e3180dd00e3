// The pure parts of a token login: Base64 and JSON of the error challenge,
// the SASL messages, what a refusal means, and keeping the token out of
// failure texts.

#include <algorithm>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/Encoding.h"
#include "core/FailureText.h"
#include "core/JsonFields.h"
#include "core/OAuthSasl.h"
#include "core/SecretForms.h"
#include "core/SecretMask.h"

namespace popmail {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::Optional;
using ::testing::Pair;
using ::testing::UnorderedElementsAre;

// A token shaped like the JWTs providers issue (longer than one AUTH line).
const std::string kJwt =
    "eyJhbGciOiJIUzI1NiIsInR5cCI6IkpXVCJ9.eyJzdWIiOiJhbGljZSIsImV4cCI6MTc5NjY1NjgyOSwic2NvcGUi"
    "OiJtYWlsIn0.kkXSYvnDz2pmPYy4Nq1Q78X6cjy4Tr9WwNHy6l7sd08";

TEST(Base64Decode, ReadsWhatBase64EncodeWritesAndRefusesOtherText) {
    const std::vector<std::string> samples{"",    "a",    "ab",
                                           "abc", "abcd", std::string("\0\x01\xff", 3)};
    for (const std::string& data : samples) {
        EXPECT_THAT(Base64Decode(Base64Encode(data)), Optional(data));
    }
    EXPECT_THAT(Base64Decode("eyJzdGF0dXMiOiI0MDEifQ=="),
                Optional(std::string(R"({"status":"401"})")));
    EXPECT_EQ(Base64Decode("abc"), std::nullopt);   // not whole groups
    EXPECT_EQ(Base64Decode("ab!d"), std::nullopt);  // outside the alphabet
    EXPECT_EQ(Base64Decode("a==="), std::nullopt);  // more padding than a group allows
    EXPECT_EQ(Base64Decode("ab=d"), std::nullopt);  // padding inside
}

TEST(JsonObjectFields, KeepsTopLevelScalarsAsTextAndReadsPastNesting) {
    const auto fields = JsonObjectFields(
        R"( {"status":"invalid_token", "scope" : "mail read", "code":401, "ok":false,)"
        R"( "nested":{"a":[1,{"b":"c"}]}, "list":[], "esc":"a\"b\\c\u00e9\ud83d\ude00\u3042"} )");
    ASSERT_TRUE(fields.has_value());
    EXPECT_THAT(*fields,
                UnorderedElementsAre(Pair("status", "invalid_token"), Pair("scope", "mail read"),
                                     Pair("code", "401"), Pair("ok", "false"),
                                     Pair("esc", "a\"b\\c\u00e9\U0001F600\u3042")));
    EXPECT_THAT(JsonObjectFields("{}"), Optional(::testing::IsEmpty()));
}

TEST(JsonObjectFields, RefusesWhatIsNotOneObject) {
    for (const char* json : {"", "[]", "\"status\"", "{", "{\"a\":}", "{\"a\":\"b\",}",
                             "{\"a\":\"b\"} x", "{\"a\" \"b\"}", "{\"a\":\"\x01\"}",
                             "{\"a\":\"\\x\"}", "{\"a\":\"\\u12\"}", "{\"a\":\"open}"}) {
        EXPECT_EQ(JsonObjectFields(json), std::nullopt) << json;
    }
    std::string deep = "{\"a\":";
    for (int i = 0; i < kMaxJsonDepth + 1; ++i) {
        deep += "[";
    }
    EXPECT_EQ(JsonObjectFields(deep + std::string(kMaxJsonDepth + 1, ']') + "}"), std::nullopt);
}

TEST(JsonObjectFields, LoneSurrogatesBecomeReplacementCharacters) {
    EXPECT_THAT(JsonObjectFields(R"({"s":"\ud800x\udc00"})"),
                Optional(UnorderedElementsAre(Pair("s", "\uFFFDx\uFFFD"))));
}

TEST(OAuthMechanism, OauthbearerIsPreferredThenXoauth2) {
    Capabilities capabilities;
    capabilities.sasl = {"PLAIN", "XOAUTH2", "OAUTHBEARER"};
    EXPECT_EQ(ChooseOAuthMechanism(capabilities), OAuthMechanism::OAuthBearer);
    capabilities.sasl = {"PLAIN", "XOAUTH2"};
    EXPECT_EQ(ChooseOAuthMechanism(capabilities), OAuthMechanism::XOAuth2);
    capabilities.sasl = {"PLAIN", "LOGIN"};
    EXPECT_EQ(ChooseOAuthMechanism(capabilities), std::nullopt);
}

TEST(BearerToken, AcceptsRfc6750TokensOnly) {
    const std::vector<std::string> good{kJwt, "ya29.a0Af-H_~+/x==", "x"};
    for (const std::string& token : good) {
        EXPECT_TRUE(IsBearerToken(token)) << token;
    }
    const std::vector<std::string> bad{"",    "==",    "a b", std::string("a\x01") + "b",
                                       "a=b", "tökén", "a,b"};
    for (const std::string& token : bad) {
        EXPECT_FALSE(IsBearerToken(token)) << token;
    }
}

TEST(OAuthClientResponse, FollowsRfc7628AndXoauth2) {
    const TokenLoginTarget target{"a,li=ce@example.jp", "mail.example.jp", 995};
    EXPECT_EQ(OAuthClientResponse(OAuthMechanism::OAuthBearer, target, "tok"),
              "n,a=a=2Cli=3Dce@example.jp,\x01host=mail.example.jp\x01port=995\x01"
              "auth=Bearer tok\x01\x01");
    EXPECT_EQ(OAuthClientResponse(OAuthMechanism::XOAuth2, target, "tok"),
              "user=a,li=ce@example.jp\x01"
              "auth=Bearer tok\x01\x01");
    EXPECT_EQ(ErrorChallengeAnswer(OAuthMechanism::OAuthBearer), "\x01");
    EXPECT_EQ(Base64Encode(ErrorChallengeAnswer(OAuthMechanism::OAuthBearer)), "AQ==");
    EXPECT_EQ(ErrorChallengeAnswer(OAuthMechanism::XOAuth2), "");
}

TEST(ErrorChallenge, StatusAndScopeAreRead) {
    const auto status = ParseErrorChallenge(
        Base64Encode(R"({"status":"insufficient_scope","scope":"https://mail.example/pop"})"));
    EXPECT_EQ(status.status, "insufficient_scope");
    EXPECT_EQ(status.scope, "https://mail.example/pop");
    EXPECT_EQ(ParseErrorChallenge("not base64!").status, "");
    EXPECT_EQ(ParseErrorChallenge(Base64Encode("not json")).status, "");
}

const TokenLoginTarget kTarget{"alice", "mail.example.jp", 995};

// What a token login's failure texts pass through: the token, and what the
// session sent (the OAUTHBEARER message, the answer to the error challenge).
SecretMask TokenLoginMask() {
    SecretMask mask;
    mask.AddAccessToken(kJwt);
    mask.AddSentLine("AUTH OAUTHBEARER");
    mask.AddSentLine(Base64Encode(OAuthClientResponse(OAuthMechanism::OAuthBearer, kTarget, kJwt)));
    mask.AddSentLine(Base64Encode(ErrorChallengeAnswer(OAuthMechanism::OAuthBearer)));
    return mask;
}

// The text of a refused token login, through the mask such a login uses:
// what the refusal says must stay readable.
std::string RefusalText(const std::optional<OAuthErrorStatus>& challenge,
                        const std::string& errLine) {
    const StatusLine refusal = ParseStatusLine(errLine);
    return FailureText(TokenRefusal(challenge, refusal), TokenLoginMask());
}

TEST(TokenRefusal, TheChallengesStatusNamesTheCause) {
    const std::string expired = RefusalText(OAuthErrorStatus{"invalid_token", "mail"},
                                            "-ERR [AUTH] Authentication failed.");
    EXPECT_THAT(expired, HasSubstr("アクセストークンが無効か、有効期限が切れている"));
    EXPECT_THAT(expired,
                HasSubstr("サーバーの応答: invalid_token -ERR [AUTH] Authentication failed."));
    // [AUTH] only repeats that the login failed: not "wrong password".
    EXPECT_THAT(expired, Not(HasSubstr("パスワード")));
    EXPECT_THAT(RefusalText(OAuthErrorStatus{"401", ""}, "-ERR no"),
                HasSubstr("有効期限が切れている"));
    const std::string scope = RefusalText(OAuthErrorStatus{"insufficient_scope", "pop"}, "-ERR no");
    EXPECT_THAT(scope, HasSubstr("権限（スコープ）がない"));
    EXPECT_THAT(scope, HasSubstr("必要なスコープ: pop"));
    EXPECT_THAT(RefusalText(OAuthErrorStatus{"403", ""}, "-ERR no"), HasSubstr("スコープ"));
    EXPECT_THAT(RefusalText(OAuthErrorStatus{"invalid_request", ""}, "-ERR no"),
                HasSubstr("アクセストークンでログインできない"));
    EXPECT_THAT(RefusalText(std::nullopt, "-ERR [AUTH] no"),
                HasSubstr("アクセストークンでログインできない"));
    // Other response codes keep their own meaning.
    EXPECT_THAT(RefusalText(std::nullopt, "-ERR [SYS/TEMP] later"), HasSubstr("一時的な障害"));
}

// A piece, SecretMask::kMinPieceBytes long, of one of the token's forms
// that `text` still holds; empty when there is none.
std::string LeftPieceOf(const std::string& text, const std::vector<std::string>& forms) {
    constexpr std::size_t kPiece = SecretMask::kMinPieceBytes;
    for (const std::string& form : forms) {
        for (std::size_t at = 0; at + kPiece <= form.size(); ++at) {
            if (text.find(form.substr(at, kPiece)) != std::string::npos) {
                return form.substr(at, kPiece);
            }
        }
    }
    return {};
}

std::string Base64Url(std::string base64) {
    std::replace(base64.begin(), base64.end(), '+', '-');
    std::replace(base64.begin(), base64.end(), '/', '_');
    return base64;
}

TEST(SecretMask, TheTokenIsMaskedRawAndInsideAnyBase64Message) {
    const auto forms = SecretForms(kJwt, SecretMask::kMinPieceBytes);
    SecretMask mask;
    mask.AddAccessToken(kJwt);
    std::vector<std::string> echoes{
        kJwt, Base64Encode(kJwt),
        Base64Encode(OAuthClientResponse(OAuthMechanism::OAuthBearer, kTarget, kJwt)),
        Base64Encode(OAuthClientResponse(OAuthMechanism::XOAuth2, kTarget, kJwt))};
    for (std::size_t prefix = 0; prefix < 3; ++prefix) {
        const std::string encoded = Base64Encode(std::string(prefix, 'x') + kJwt + "\x01");
        echoes.push_back(encoded);
        echoes.push_back(Base64Url(encoded));
    }
    for (const std::string& echo : echoes) {
        const std::string masked = mask.Apply("-ERR bad: " + echo + " end");
        EXPECT_THAT(masked, HasSubstr("-ERR bad: ")) << echo;
        EXPECT_THAT(masked, HasSubstr(" end")) << echo;
        EXPECT_THAT(masked, HasSubstr("***")) << echo;
        EXPECT_EQ(LeftPieceOf(masked, forms), "") << masked;
        EXPECT_THAT(masked, Not(HasSubstr(kJwt.substr(0, SecretMask::kMinPieceBytes))));
    }
    // A part of the token, as a server that cuts its echo short gives it.
    EXPECT_EQ(mask.Apply("-ERR " + kJwt.substr(40, 30)), "-ERR ***");
    EXPECT_EQ(mask.Apply("-ERR [AUTH] Authentication failed."),
              "-ERR [AUTH] Authentication failed.");
}

TEST(SecretMask, FailureTextMasksEveryQuotedPart) {
    Failure failure = Fail(FailureKind::TokenRefused, "-ERR " + kJwt);
    failure.advice = "echo " + Base64Encode(kJwt);
    failure.server = "mail.example.jp:995";
    SecretMask mask;
    mask.AddAccessToken(kJwt);
    const std::string text = FailureText(failure, mask);
    EXPECT_THAT(text, Not(HasSubstr(kJwt.substr(0, SecretMask::kMinPieceBytes))));
    EXPECT_THAT(text, Not(HasSubstr(Base64Encode(kJwt).substr(0, SecretMask::kMinPieceBytes))));
    EXPECT_THAT(text, HasSubstr("mail.example.jp:995"));
}

}  // namespace
}  // namespace popmail
