// The binding of the mail library: loaded at the first command, its
// functions found by name, its replies converted and freed, and a missing
// library reported once.

#include <gmock/gmock.h>

#include <map>
#include <vector>

#include <popmail/popmail.h>

#include "fake/FakePlatform.h"
#include "mail/PopmailLibrary.h"

// The reply object of the library, as this test's stand-in library makes it.
struct PopmailReply {
    bool isList = false;
    std::vector<std::string> elements;
    std::string text;
};

namespace vantorel {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// What the stand-in library was asked and what it answers next.
struct StandIn {
    std::vector<std::string> calls;
    PopmailReply next;
    bool outOfMemory = false;
    int alive = 0;  // replies made and not freed
};
StandIn* standIn = nullptr;

PopmailReply* StandInRcvMail(const char* host, const char* user, const char* password,
                             const char* command, const char* saveDir) {
    standIn->calls.push_back(std::string(host) + " " + user + " " + password + " " + command + " " +
                             saveDir);
    if (standIn->outOfMemory) {
        return nullptr;
    }
    ++standIn->alive;
    return new PopmailReply(standIn->next);
}
PopmailReply* StandInRcvMailOAuth2(const char* host, const char* user, const char* token,
                                   const char* command, const char* saveDir) {
    return StandInRcvMail(host, user, (std::string("OAuth2:") + token).c_str(), command, saveDir);
}
int StandInIsList(const PopmailReply* reply) {
    return reply->isList ? 1 : 0;
}
size_t StandInCount(const PopmailReply* reply) {
    return reply->isList ? reply->elements.size() : 0;
}
const char* StandInElement(const PopmailReply* reply, size_t index) {
    return index < reply->elements.size() ? reply->elements[index].c_str() : nullptr;
}
const char* StandInText(const PopmailReply* reply) {
    return reply->text.c_str();
}
void StandInFree(PopmailReply* reply) {
    --standIn->alive;
    delete reply;
}

// A library loader over a table of functions.
class TableLoader : public platform::LibraryLoader {
  public:
    void* load(const std::string& baseName) override {
        loads.push_back(baseName);
        return present ? &table : nullptr;
    }
    void* symbol(void* library, const char* name) override {
        const auto* functions = static_cast<std::map<std::string, void*>*>(library);
        const auto it = functions->find(name);
        return it != functions->end() ? it->second : nullptr;
    }
    std::string lastError() override { return "libpopmail.so: cannot open shared object file"; }

    std::map<std::string, void*> table = {
        {"RcvMail", reinterpret_cast<void*>(&StandInRcvMail)},
        {"RcvMailOAuth2", reinterpret_cast<void*>(&StandInRcvMailOAuth2)},
        {"PopmailReplyIsList", reinterpret_cast<void*>(&StandInIsList)},
        {"PopmailReplyCount", reinterpret_cast<void*>(&StandInCount)},
        {"PopmailReplyElement", reinterpret_cast<void*>(&StandInElement)},
        {"PopmailReplyText", reinterpret_cast<void*>(&StandInText)},
        {"PopmailReplyFree", reinterpret_cast<void*>(&StandInFree)},
    };
    bool present = true;
    std::vector<std::string> loads;
};

class PopmailBinding : public ::testing::Test {
  protected:
    PopmailBinding() { standIn = &state; }
    ~PopmailBinding() override { standIn = nullptr; }

    platform::MailReply call(const std::string& command) {
        return library.RcvMail("mail.example", "bob", "secret", command, "/opt/vantorel/save");
    }

    StandIn state;
    TableLoader loader;
    fake::Transcript transcript;
    fake::FakeDiagnostics diagnostics{transcript};
    PopmailLibrary library{loader, diagnostics, "/opt/vantorel"};
};

TEST_F(PopmailBinding, TheLibraryIsLoadedAtTheFirstCommandAndOnlyOnce) {
    EXPECT_THAT(loader.loads, IsEmpty());
    state.next = PopmailReply{true, {"2 300"}, ""};
    EXPECT_THAT(call("STAT").list, ElementsAre("2 300"));
    call("STAT");
    EXPECT_THAT(loader.loads, ElementsAre("popmail"));
    EXPECT_THAT(state.calls, ElementsAre("mail.example bob secret STAT /opt/vantorel/save",
                                         "mail.example bob secret STAT /opt/vantorel/save"));
    EXPECT_EQ(state.alive, 0);
}

TEST_F(PopmailBinding, ListsAndFailureTextsAreConvertedAndFreed) {
    state.next = PopmailReply{true, {"Subject:件名\tFrom:a\tDate:b", ""}, ""};
    const platform::MailReply list = call("LIST 1-2");
    EXPECT_TRUE(list.isList);
    EXPECT_THAT(list.list, ElementsAre("Subject:件名\tFrom:a\tDate:b", ""));

    state.next = PopmailReply{false, {}, "No Message+OK 0 0"};
    const platform::MailReply text = call("LIST 1-0");
    EXPECT_FALSE(text.isList);
    EXPECT_EQ(text.text, "No Message+OK 0 0");
    EXPECT_TRUE(text.list.empty());
    EXPECT_EQ(state.alive, 0);
}

TEST_F(PopmailBinding, AMissingLibraryIsSaidOnceAndLookedForAgainAtEachCommand) {
    loader.present = false;
    EXPECT_THROW(call("STAT"), platform::MailLibraryMissing);
    EXPECT_THROW(call("STAT"), platform::MailLibraryMissing);
    ASSERT_EQ(transcript.lines().size(), 1u);
    EXPECT_THAT(transcript.lines()[0], HasSubstr("stderr: the mail library popmail"));
    EXPECT_THAT(transcript.lines()[0], HasSubstr("/opt/vantorel"));
    EXPECT_THAT(transcript.lines()[0], HasSubstr("cannot open shared object file"));
    EXPECT_EQ(loader.loads.size(), 2u);

    // Installed while the program runs: the next command finds it.
    loader.present = true;
    state.next = PopmailReply{true, {"0 0"}, ""};
    EXPECT_THAT(call("STAT").list, ElementsAre("0 0"));
}

TEST_F(PopmailBinding, AMissingFunctionCountsAsAMissingLibrary) {
    loader.table.erase("PopmailReplyFree");
    try {
        call("STAT");
        FAIL() << "no failure";
    } catch (const platform::MailLibraryMissing& missing) {
        EXPECT_THAT(missing.what(), HasSubstr("PopmailReplyFree"));
    }
    EXPECT_THAT(state.calls, IsEmpty());
    EXPECT_EQ(transcript.lines().size(), 1u);
}

TEST_F(PopmailBinding, TokenLoginsGoThroughTheirOwnEntryWhichOlderLibrariesLack) {
    state.next = PopmailReply{true, {"1 10"}, ""};
    EXPECT_THAT(library.RcvMailOAuth2("mail.example", "bob", "tok", "STAT", "/save").list,
                ElementsAre("1 10"));
    EXPECT_THAT(state.calls, ElementsAre("mail.example bob OAuth2:tok STAT /save"));
    EXPECT_EQ(state.alive, 0);

    // A library from before token logins: passwords still work.
    loader.table.erase("RcvMailOAuth2");
    try {
        library.RcvMailOAuth2("mail.example", "bob", "tok", "STAT", "/save");
        FAIL() << "no failure";
    } catch (const platform::MailLibraryMissing& missing) {
        EXPECT_THAT(missing.what(), HasSubstr("RcvMailOAuth2"));
    }
    EXPECT_THAT(call("STAT").list, ElementsAre("1 10"));
    EXPECT_EQ(state.calls.size(), 2u);
}

TEST_F(PopmailBinding, NoReplyAtAllIsAnOrdinaryRunTimeFailure) {
    state.outOfMemory = true;
    try {
        call("STAT");
        FAIL() << "no failure";
    } catch (const platform::MailLibraryMissing&) {
        FAIL() << "reported as missing";
    } catch (const RuntimeFailure&) {
    }
    EXPECT_THAT(transcript.lines(), IsEmpty());
}

}  // namespace
}  // namespace vantorel
