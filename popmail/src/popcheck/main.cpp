// popcheck [--oauth2] HOST USER COMMAND...
//
// Reads the password (with --oauth2: an OAuth 2.0 access token) from the
// first line of standard input and runs each COMMAND ("STAT", "LIST 1-N")
// through RcvMail (RcvMailOAuth2), in one process as one check of the
// program does. Prints each element of a list on its own line, or
// the failure text, then an empty line. Exit status 1 if any command
// failed. Trusts what the library trusts: on Linux what OpenSSL trusts (so
// SSL_CERT_FILE works), on Windows the system's Root certificate stores.

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "popcheck/Console.h"
#include "popcheck/CoreDump.h"
#include "popmail/popmail.h"

namespace {

constexpr int kUsageError = 2;
constexpr std::string_view kOAuth2Option = "--oauth2";
constexpr int kFolderAttempts = 100;

// A folder for saveDir that exists during the run and is removed after.
class TemporaryFolder {
  public:
    TemporaryFolder() {
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        std::random_device random;
        for (int attempt = 0; attempt < kFolderAttempts && path_.empty(); ++attempt) {
            const std::filesystem::path candidate = base / ("popcheck-" + std::to_string(random()));
            std::error_code error;
            if (std::filesystem::create_directory(candidate, error)) {
                path_ = candidate.string();
            }
        }
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        if (!path_.empty()) {
            std::filesystem::remove_all(path_, ignored);
        }
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// Prints the reply; true when it is a list.
bool PrintReply(const PopmailReply* reply) {
    if (reply == nullptr) {
        popcheck::Write("out of memory\n");
        return false;
    }
    const bool isList = PopmailReplyIsList(reply) != 0;
    std::string text;
    if (isList) {
        for (size_t i = 0; i < PopmailReplyCount(reply); ++i) {
            text += PopmailReplyElement(reply, i);
            text += '\n';
        }
    } else {
        text += PopmailReplyText(reply);
        text += '\n';
    }
    text += '\n';
    popcheck::Write(text);
    return isList;
}

}  // namespace

int main(int argc, char** argv) {
    popcheck::KeepOutOfCoreDumps();
    std::vector<std::string> arguments = popcheck::Arguments(argc, argv);
    const bool oauth2 = arguments.size() > 1 && arguments[1] == kOAuth2Option;
    if (oauth2) {
        arguments.erase(arguments.begin() + 1);
    }
    constexpr std::size_t kFirstCommand = 3;
    if (arguments.size() <= kFirstCommand) {
        std::cerr << "usage: popcheck HOST USER COMMAND...         (password on standard input)\n"
                     "       popcheck --oauth2 HOST USER COMMAND... (access token on standard "
                     "input)\n";
        return kUsageError;
    }
    const auto receive = oauth2 ? RcvMailOAuth2 : RcvMail;
    const std::string secret = popcheck::ReadLine();
    const std::string& host = arguments[1];
    const std::string& user = arguments[2];
    TemporaryFolder saveDir;
    bool allSucceeded = true;
    for (std::size_t i = kFirstCommand; i < arguments.size(); ++i) {
        PopmailReply* reply = receive(host.c_str(), user.c_str(), secret.c_str(),
                                      arguments[i].c_str(), saveDir.path().c_str());
        allSucceeded = PrintReply(reply) && allSucceeded;
        PopmailReplyFree(reply);
    }
    std::cout.flush();
    return allSucceeded ? EXIT_SUCCESS : EXIT_FAILURE;
}
