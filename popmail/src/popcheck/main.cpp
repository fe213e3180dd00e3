// popcheck HOST USER COMMAND...
//
// Reads the password from the first line of standard input and runs each
// COMMAND ("STAT", "LIST 1-N") through RcvMail, in one process as one check
// of the program does. Prints each element of a list on its own line, or
// the failure text, then an empty line. Exit status 1 if any command
// failed. Trusts what OpenSSL trusts, so SSL_CERT_FILE works.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "popmail/popmail.h"

namespace {

constexpr int kUsageError = 2;

// A folder for saveDir that exists during the run and is removed after.
class TemporaryFolder {
  public:
    TemporaryFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "popcheck-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
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

std::string ReadPassword() {
    std::string line;
    std::getline(std::cin, line);
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

// Prints the reply; true when it is a list.
bool PrintReply(const PopmailReply* reply) {
    if (reply == nullptr) {
        std::cout << "out of memory\n";
        return false;
    }
    const bool isList = PopmailReplyIsList(reply) != 0;
    if (isList) {
        for (size_t i = 0; i < PopmailReplyCount(reply); ++i) {
            std::cout << PopmailReplyElement(reply, i) << '\n';
        }
    } else {
        std::cout << PopmailReplyText(reply) << '\n';
    }
    std::cout << '\n';
    return isList;
}

}  // namespace

int main(int argc, char** argv) {
    constexpr int kFirstCommand = 3;
    if (argc <= kFirstCommand) {
        std::cerr << "usage: popcheck HOST USER COMMAND... (password on standard input)\n";
        return kUsageError;
    }
    const std::string password = ReadPassword();
    TemporaryFolder saveDir;
    bool allSucceeded = true;
    for (int i = kFirstCommand; i < argc; ++i) {
        PopmailReply* reply =
            RcvMail(argv[1], argv[2], password.c_str(), argv[i], saveDir.path().c_str());
        allSucceeded = PrintReply(reply) && allSucceeded;
        PopmailReplyFree(reply);
    }
    std::cout.flush();
    return allSucceeded ? EXIT_SUCCESS : EXIT_FAILURE;
}
