#include "mail/PopmailLibrary.h"

#include <memory>
#include <type_traits>

#include <popmail/popmail.h>

namespace vantorel {

namespace {

// RcvMail and RcvMailOAuth2 take the same arguments.
using RcvMailFunction = decltype(&::RcvMail);
static_assert(std::is_same_v<RcvMailFunction, decltype(&::RcvMailOAuth2)>);
using IsListFunction = decltype(&::PopmailReplyIsList);
using CountFunction = decltype(&::PopmailReplyCount);
using ElementFunction = decltype(&::PopmailReplyElement);
using TextFunction = decltype(&::PopmailReplyText);
using FreeFunction = decltype(&::PopmailReplyFree);

constexpr const char* kPasswordEntry = "RcvMail";
constexpr const char* kTokenEntry = "RcvMailOAuth2";

std::string TextOf(const char* text) {
    return text != nullptr ? std::string(text) : std::string();
}

}  // namespace

struct PopmailLibrary::Functions {
    RcvMailFunction rcvMail;
    IsListFunction isList;
    CountFunction count;
    ElementFunction element;
    TextFunction text;
    FreeFunction release;
};

PopmailLibrary::PopmailLibrary(platform::LibraryLoader& loader, platform::Diagnostics& diagnostics,
                               std::string programFolder)
    : loader_(loader), diagnostics_(diagnostics), programFolder_(std::move(programFolder)) {}

platform::MailReply PopmailLibrary::RcvMail(const std::string& host, const std::string& user,
                                            const std::string& password, const std::string& command,
                                            const std::string& saveDir) {
    return Run(host, user, password, command, saveDir, kPasswordEntry);
}

platform::MailReply PopmailLibrary::RcvMailOAuth2(const std::string& host, const std::string& user,
                                                  const std::string& accessToken,
                                                  const std::string& command,
                                                  const std::string& saveDir) {
    return Run(host, user, accessToken, command, saveDir, kTokenEntry);
}

platform::MailReply PopmailLibrary::Run(const std::string& host, const std::string& user,
                                        const std::string& secret, const std::string& command,
                                        const std::string& saveDir, const char* entryPoint) {
    const Functions f = Bind(entryPoint);
    const auto release = [&f](PopmailReply* reply) { f.release(reply); };
    const std::unique_ptr<PopmailReply, decltype(release)> reply(
        f.rcvMail(host.c_str(), user.c_str(), secret.c_str(), command.c_str(), saveDir.c_str()),
        release);
    if (reply == nullptr) {
        throw RuntimeFailure("the mail library gave no reply to " + command);
    }
    if (f.isList(reply.get()) == 0) {
        return platform::MailReply::Text(TextOf(f.text(reply.get())));
    }
    const std::size_t count = f.count(reply.get());
    std::vector<std::string> elements;
    elements.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        elements.push_back(TextOf(f.element(reply.get(), i)));
    }
    return platform::MailReply::List(std::move(elements));
}

PopmailLibrary::Functions PopmailLibrary::Bind(const char* entryPoint) {
    // Loaded at the first command rather than at start, so that the program
    // runs, and says what is missing, without the library.
    if (library_ == nullptr) {
        library_ = loader_.load(kLibraryName);
        if (library_ == nullptr) {
            Missing("the mail library " + std::string(kLibraryName) +
                    " could not be loaded; it was looked for beside the program in " +
                    programFolder_ + ", then on the system's library path (" + loader_.lastError() +
                    ")");
        }
    }
    Functions f{};
    f.rcvMail = reinterpret_cast<RcvMailFunction>(Lookup(entryPoint));
    f.isList = reinterpret_cast<IsListFunction>(Lookup("PopmailReplyIsList"));
    f.count = reinterpret_cast<CountFunction>(Lookup("PopmailReplyCount"));
    f.element = reinterpret_cast<ElementFunction>(Lookup("PopmailReplyElement"));
    f.text = reinterpret_cast<TextFunction>(Lookup("PopmailReplyText"));
    f.release = reinterpret_cast<FreeFunction>(Lookup("PopmailReplyFree"));
    return f;
}

void* PopmailLibrary::Lookup(const char* name) {
    void* address = loader_.symbol(library_, name);
    if (address == nullptr) {
        Missing("the mail library " + std::string(kLibraryName) + " has no function " + name +
                " (" + loader_.lastError() + ")");
    }
    return address;
}

void PopmailLibrary::Missing(const std::string& what) {
    // Said once: the same problem comes back at every check.
    if (!warned_) {
        warned_ = true;
        diagnostics_.warn(what);
    }
    throw platform::MailLibraryMissing(what);
}

}  // namespace vantorel
