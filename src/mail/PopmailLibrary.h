#pragma once
// The program's binding of the mail library popmail: loaded by name at the
// first command, its functions looked up by name, its replies turned into
// the program's own.

#include <string>

#include "platform/AppInfo.h"
#include "platform/MailLibrary.h"

namespace vantorel {

class PopmailLibrary : public platform::MailLibrary {
  public:
    static constexpr const char* kLibraryName = "popmail";

    // `programFolder` is where the loader looks first; it is named in the
    // message about a missing library.
    PopmailLibrary(platform::LibraryLoader& loader, platform::Diagnostics& diagnostics,
                   std::string programFolder);

    // Throws MailLibraryMissing while the library or one of its functions
    // cannot be found (the library is looked for again at the next call),
    // RuntimeFailure when it gives no reply at all.
    platform::MailReply RcvMail(const std::string& host, const std::string& user,
                                const std::string& password, const std::string& command,
                                const std::string& saveDir) override;
    // Binds RcvMailOAuth2 at its first use only: a library older than token
    // logins still serves password logins.
    platform::MailReply RcvMailOAuth2(const std::string& host, const std::string& user,
                                      const std::string& accessToken, const std::string& command,
                                      const std::string& saveDir) override;

  private:
    struct Functions;
    Functions Bind(const char* entryPoint);
    platform::MailReply Run(const std::string& host, const std::string& user,
                            const std::string& secret, const std::string& command,
                            const std::string& saveDir, const char* entryPoint);
    void* Lookup(const char* name);
    [[noreturn]] void Missing(const std::string& what);

    platform::LibraryLoader& loader_;
    platform::Diagnostics& diagnostics_;
    std::string programFolder_;
    void* library_ = nullptr;
    bool warned_ = false;
};

}  // namespace vantorel
