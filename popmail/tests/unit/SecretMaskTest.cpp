// The mask every quoted server text passes through: which words of a login
// command, which secrets and which pieces of them it hides, and what it
// leaves readable.

#include <gtest/gtest.h>

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
    for (const char* line : {"CAPA", "STLS", "USER alice", "STAT", "TOP 1 0", "QUIT", "*"}) {
        mask.AddSentLine(line);
    }
    EXPECT_EQ(mask.Apply("alice STAT TOP 1 0 QUIT * CAPA"), "alice STAT TOP 1 0 QUIT * CAPA");
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
