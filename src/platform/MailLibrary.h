#pragma once
// The mail library: one function, RcvMail, that runs one command against
// the POP3 mailbox and answers with a list of texts or one failure text;
// its twin RcvMailOAuth2 logs in with an OAuth 2.0 access token instead of
// a password.

#include <string>
#include <utility>
#include <vector>

#include "platform/RuntimeFailure.h"

namespace vantorel::platform {

// The run-time failure of a mail library that cannot be found, or lacks one
// of its functions: told apart from other failures so that the user can be
// told what is missing.
class MailLibraryMissing : public RuntimeFailure {
  public:
    using RuntimeFailure::RuntimeFailure;
};

struct MailReply {
    bool isList = false;
    std::vector<std::string> list;  // the elements when isList
    std::string text;               // the failure text otherwise

    static MailReply List(std::vector<std::string> elements) {
        return MailReply{true, std::move(elements), {}};
    }
    static MailReply Text(std::string failure) { return MailReply{false, {}, std::move(failure)}; }
};

class MailLibrary {
  public:
    virtual ~MailLibrary() = default;

    // Runs `command` ("STAT" or "LIST 1-N") for the mailbox of user at host.
    // All texts are UTF-8. Blocks until the exchange is over.
    // Throws MailLibraryMissing when the library or its function cannot be
    // found, RuntimeFailure when it gives no reply at all.
    virtual MailReply RcvMail(const std::string& host, const std::string& user,
                              const std::string& password, const std::string& command,
                              const std::string& saveDir) = 0;

    // The same with an OAuth 2.0 access token in place of the password.
    // Throws MailLibraryMissing also when the library is older and lacks
    // the function.
    virtual MailReply RcvMailOAuth2(const std::string& host, const std::string& user,
                                    const std::string& accessToken, const std::string& command,
                                    const std::string& saveDir) = 0;
};

// Loading a shared library by name, for binding the mail library at its
// first call.
class LibraryLoader {
  public:
    virtual ~LibraryLoader() = default;

    // Loads the library with the platform's file name for `baseName`
    // ("popmail": libpopmail.so, popmail.dll), beside the executable first,
    // then from the system's library path. Returns nullptr when it cannot
    // be loaded; lastError() then says why.
    virtual void* load(const std::string& baseName) = 0;

    // The address of `symbol` in a loaded library; nullptr when missing.
    virtual void* symbol(void* library, const char* symbol) = 0;

    // Why the last load or symbol lookup failed.
    virtual std::string lastError() = 0;
};

}  // namespace vantorel::platform
