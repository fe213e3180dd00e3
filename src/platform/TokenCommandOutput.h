#pragma once
// What the implementations of TokenCommand share: bounded capture of the
// command's output, the outcome it means, and the text that tells the user
// why no token came.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/TokenCommand.h"

namespace vantorel::platform {

// Bytes kept of the token's line (providers' tokens reach a few KiB) and of
// standard error; the rest is read and dropped, so the command never blocks
// writing.
inline constexpr std::size_t kMaxTokenLineBytes = 64 * 1024;
inline constexpr std::size_t kMaxErrorOutputBytes = 4 * 1024;

// Overwrites `size` bytes at `data` in a way the compiler keeps: what a
// command printed may be an access token.
void WipeBytes(char* data, std::size_t size);

// Output read from one of the command's pipes, kept up to a bound. Its whole
// buffer is taken at once, so that no copy of the output is left behind in
// memory given back by a growing string, and overwritten at the end.
class BoundedOutput {
  public:
    explicit BoundedOutput(std::size_t limit) : limit_(limit) { kept_.reserve(limit_); }
    ~BoundedOutput();
    BoundedOutput(BoundedOutput&&) = default;
    BoundedOutput(const BoundedOutput&) = delete;
    BoundedOutput& operator=(const BoundedOutput&) = delete;
    void Append(std::string_view bytes);
    const std::string& Kept() const { return kept_; }
    // True when bytes past the bound were dropped.
    bool Truncated() const { return truncated_; }

  private:
    std::size_t limit_;
    std::string kept_;
    bool truncated_ = false;
};

// How the command ended.
struct CommandEnd {
    enum class Kind { Exited, Signalled, TimedOut };
    Kind kind = Kind::Exited;
    int status = 0;  // the exit status, or the signal's number
};

// The outcome of a command that ran and ended so, with what it printed.
TokenCommandOutcome OutcomeOf(const CommandEnd& end, const BoundedOutput& standardOutput,
                              const std::string& standardError);

// Standard error made fit for a message: valid UTF-8 (others bytes become
// "?"), control characters other than line ends as spaces, blank lines and
// surrounding blanks removed.
std::string CleanErrorOutput(std::string_view bytes);

// Why no token came, in a few words for the user ("トークンを取得できません
// でした: " goes before it): the command's standard error where it wrote
// one, else what happened.
std::string TokenCommandFailureDetail(const TokenCommandOutcome& outcome);

}  // namespace vantorel::platform
