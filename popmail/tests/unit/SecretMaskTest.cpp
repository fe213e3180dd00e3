// The mask every quoted server text passes through: which words of a login
// command, which secrets and which pieces of them it hides, and what it
// leaves readable.

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "core/Encoding.h"
#include "core/SecretMask.h"

namespace popmail {
namespace {

TEST(SecretMask, HidesTheArgumentsOfLoginCommandsInAnyCase) {
    const SecretMask mask;
    EXPECT_EQ(mask.Apply("unknown command AUTH PLAIN AGFsaWNl"), "unknown command AUTH ***");
    EXPECT_EQ(mask.Apply("bad: pass  two words"), "bad: pass  ***");
    EXPECT_EQ(mask.Apply("'APOP mrose c4c9334b' refused"), "'APOP ***");
    EXPECT_EQ(mask.Apply("no USER bob here"), "no USER *** here");
    EXPECT_EQ(mask.Apply("Auth\txoauth2 dXNlcj1h"), "Auth\t***");
}

TEST(SecretMask, LeavesOrdinaryServerTextsAlone) {
    const SecretMask mask;
    for (const char* text :
         {"[AUTH] Authentication failed.", "Unknown command: AUTH", "username unknown",
          "superuser only", "[SYS/TEMP] try later", "PASS", "USER "}) {
        EXPECT_EQ(mask.Apply(text), text);
    }
}

TEST(SecretMask, HidesThePasswordAndItsEncodingsWithoutRegardToCase) {
    SecretMask mask;
    mask.AddPassword("alice", "Pa55/word+");
    EXPECT_EQ(mask.Apply("x pa55/WORD+ y"), "x *** y");
    EXPECT_EQ(mask.Apply("x " + Base64Encode("Pa55/word+") + " y"), "x *** y");
    EXPECT_EQ(mask.Apply("x UGE1NS93b3JkKw y"), "x *** y");  // Base64 without padding
    EXPECT_EQ(mask.Apply("x UGE1NS93b3JkKw== y"), "x *** y");
    EXPECT_EQ(mask.Apply("x 50613535 y"), "x *** y");  // a piece of the hex form
    EXPECT_EQ(mask.Apply("x Pa55%2Fword%2B y"), "x *** y");
    EXPECT_EQ(mask.Apply("x %50%61%35%35%2f%77%6F%72%64%2B y"), "x *** y");
}

std::string Base64Url(std::string base64) {
    for (char& c : base64) {
        c = c == '+' ? '-' : c == '/' ? '_' : c;
    }
    return base64;
}

// Characters of `encoded` left readable by `masked` ("echo " + encoded +
// " end" masked): those before the one "***" and those after it.
std::pair<std::size_t, std::size_t> ReadableEnds(const std::string& masked) {
    const std::string head = "echo ";
    const std::string tail = " end";
    const auto mask = masked.find("***");
    if (!masked.starts_with(head) || !masked.ends_with(tail) || mask == std::string::npos ||
        masked.find("***", mask + 1) != std::string::npos) {
        return {std::string::npos, std::string::npos};
    }
    return {mask - head.size(), masked.size() - tail.size() - (mask + 3)};
}

TEST(SecretMask, HidesThePasswordInsideALongerBase64MessageAtEveryAlignment) {
    const std::string password = "s3cr3t/V\xc3\xa4lue+1?";
    SecretMask mask;
    mask.AddPassword("alice", password);
    // Before the password: 0, 1 and 2 bytes of a field (mod 3), as in a
    // SASL message; after it, two more bytes.
    for (const std::string before : {"", "u", "us", "user=bob\x01pass="}) {
        const std::string encoded = Base64Encode(before + password + "\x01\x01");
        for (const std::string& echo : {encoded, Base64Url(encoded)}) {
            const auto [head, tail] = ReadableEnds(mask.Apply("echo " + echo + " end"));
            // Readable: only characters that carry bits of the bytes around
            // the password (at most one of them shared with it), and padding.
            EXPECT_LE(head, before.size() * 4 / 3 + 1) << echo;
            EXPECT_LE(tail, std::size_t{4 + 2}) << echo;
        }
    }
}

TEST(SecretMask, HidesPiecesOfLongSecretsButNotShorterOnes) {
    SecretMask mask;
    mask.AddPassword("alice", "correct horse battery");
    EXPECT_EQ(mask.Apply("echo: correct horse"), "echo: ***");
    EXPECT_EQ(mask.Apply("correct? yes"), "correct? yes");  // 7 bytes in common
    SecretMask shortPassword;
    shortPassword.AddPassword("alice", "abc");
    EXPECT_EQ(shortPassword.Apply("ABC or abcd"), "*** or ***d");
}

TEST(SecretMask, RemembersOnlyWhatALoginLineGivesAway) {
    SecretMask mask;
    // "AQ==" answers an OAUTHBEARER error challenge: a lone ^A, no secret.
    for (const char* line :
         {"CAPA", "STLS", "USER alice", "STAT", "TOP 1 0", "QUIT", "*", "AQ=="}) {
        mask.AddSentLine(line);
    }
    EXPECT_EQ(mask.Apply("alice STAT TOP 1 0 QUIT * CAPA AQ=="),
              "alice STAT TOP 1 0 QUIT * CAPA AQ==");
    mask.AddSentLine("APOP alice c4c9334bac560ecc979e58001b3e22fb\r\n");
    mask.AddSentLine("AUTH XOAUTH2 dXNlcj1hbGljZQFhdXRo");
    mask.AddSentLine("ZXhjaGFuZ2Vk");
    EXPECT_EQ(mask.Apply("digest c4c9334bac560ecc979e58001b3e22fb for alice"),
              "digest *** for alice");
    EXPECT_EQ(mask.Apply("token dXNlcj1hbGljZQFhdXRo"), "token ***");
    EXPECT_EQ(mask.Apply("response ZXhjaGFuZ2Vk!"), "response ***!");
}

}  // namespace
}  // namespace popmail
