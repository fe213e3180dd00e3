#pragma once
// The user's token command: a command line, run through the system's shell
// (/bin/sh -c on POSIX systems, cmd /c on Windows), that prints an OAuth 2.0
// access token as the first line of its standard output. Token helpers for
// the large mail providers work this way, so the program never keeps a
// refresh token itself.
//
// The token is only ever returned: an implementation never writes it to
// standard error, a log or anywhere else.

#include <chrono>
#include <string>

namespace vantorel::platform {

// How long a token command may run before it is ended, with every process
// it started.
inline constexpr std::chrono::milliseconds kTokenCommandTimeLimit = std::chrono::seconds(30);

struct TokenCommandOutcome {
    enum class Kind {
        Token,       // exited with status 0 and printed a first line: `token`
        NotStarted,  // the shell could not be started (`errorOutput` says why)
        Failed,      // exited with another status, or was ended by a signal
        TimedOut,    // still running at the time limit, and ended
        NoOutput,    // exited with status 0, but its first line was empty
        TooLong,     // its first line went past any token's length
    };
    Kind kind = Kind::NotStarted;
    std::string token;        // Kind::Token only
    int exitStatus = 0;       // Kind::Failed: the status, or the signal's number
    bool signalled = false;   // Kind::Failed: ended by signal `exitStatus`
    std::string errorOutput;  // its standard error (UTF-8, bounded, trimmed)
};

class TokenCommand {
  public:
    virtual ~TokenCommand() = default;

    // Runs `commandLine` (UTF-8) with an empty standard input and waits for
    // it at most `limit`; then it is ended, with every process it started.
    virtual TokenCommandOutcome Run(const std::string& commandLine,
                                    std::chrono::milliseconds limit) = 0;
};

}  // namespace vantorel::platform
