#pragma once
// The OAuth 2.0 access token of one mail check. The user's token command is
// asked at the check's first login; STAT and the LIST after it then log in
// with the same token, so the mail library can keep the STAT's session for
// the LIST. The token is overwritten when the check ends, however it ends.

#include <string>

#include "platform/TokenCommand.h"

namespace vantorel {

// Overwrites the whole buffer of a secret, also bytes a move left behind
// past its end, and empties it.
void WipeText(std::string& text);

// What a failed token command means for the user: "トークンを取得できません
// でした: " and why, with the command's standard error where it wrote one.
std::string TokenFailureText(const platform::TokenCommandOutcome& outcome);

class CheckToken {
  public:
    CheckToken() = default;
    ~CheckToken() { Forget(); }
    CheckToken(const CheckToken&) = delete;
    CheckToken& operator=(const CheckToken&) = delete;

    bool Held() const { return !token_.empty(); }
    const std::string& Text() const { return token_; }

    // Keeps `token` and wipes the caller's copy.
    void Take(std::string& token);
    void Forget() { WipeText(token_); }

  private:
    std::string token_;
};

// Forgets a check's token when the check ends.
class ForgetTokenAtEnd {
  public:
    explicit ForgetTokenAtEnd(CheckToken& token) : token_(token) {}
    ~ForgetTokenAtEnd() { token_.Forget(); }
    ForgetTokenAtEnd(const ForgetTokenAtEnd&) = delete;
    ForgetTokenAtEnd& operator=(const ForgetTokenAtEnd&) = delete;

  private:
    CheckToken& token_;
};

}  // namespace vantorel
