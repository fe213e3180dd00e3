// The C entry point as the program binds it: reply shapes and accessors.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "popmail/popmail.h"

namespace {

struct ReplyDeleter {
    void operator()(PopmailReply* reply) const { PopmailReplyFree(reply); }
};
using ReplyPtr = std::unique_ptr<PopmailReply, ReplyDeleter>;

ReplyPtr Call(const char* host, const char* command) {
    return ReplyPtr(RcvMail(host, "alice", "secret", command, "/nonexistent/save"));
}

TEST(EntryPoint, ListOfNothingIsTheNoMessageText) {
    const ReplyPtr reply = Call("mail.example.jp", "LIST 1-0");
    ASSERT_NE(reply, nullptr);
    EXPECT_EQ(PopmailReplyIsList(reply.get()), 0);
    EXPECT_EQ(PopmailReplyCount(reply.get()), 0u);
    EXPECT_EQ(PopmailReplyElement(reply.get(), 0), nullptr);
    EXPECT_STREQ(PopmailReplyText(reply.get()), "No Message+OK 0 0");
}

TEST(EntryPoint, FailuresAreOneTextAndNullArgumentsAreEmpty) {
    const ReplyPtr unknown = Call("mail.example.jp", "DELE 1");
    EXPECT_EQ(PopmailReplyIsList(unknown.get()), 0);
    EXPECT_NE(std::string(PopmailReplyText(unknown.get())).find("コマンド"), std::string::npos);
    const ReplyPtr noHost = ReplyPtr(RcvMail(nullptr, nullptr, nullptr, "STAT", nullptr));
    EXPECT_NE(std::string(PopmailReplyText(noHost.get())).find("設定されていない"),
              std::string::npos);
    EXPECT_EQ(PopmailReplyIsList(nullptr), 0);
    EXPECT_EQ(PopmailReplyCount(nullptr), 0u);
    EXPECT_STREQ(PopmailReplyText(nullptr), "");
    PopmailReplyFree(nullptr);
}

TEST(EntryPoint, TokenLoginsHaveTheirOwnEntryPointAndRefuseNoToken) {
    const ReplyPtr empty =
        ReplyPtr(RcvMailOAuth2("mail.example.jp", "alice", "", "STAT", "/nonexistent/save"));
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(PopmailReplyIsList(empty.get()), 0);
    EXPECT_NE(std::string(PopmailReplyText(empty.get())).find("アクセストークンが空"),
              std::string::npos);
    const ReplyPtr nulls = ReplyPtr(RcvMailOAuth2(nullptr, nullptr, nullptr, nullptr, nullptr));
    EXPECT_NE(std::string(PopmailReplyText(nulls.get())).find("アクセストークンが空"),
              std::string::npos);
}

}  // namespace
