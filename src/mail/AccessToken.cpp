#include "mail/AccessToken.h"

#include "platform/TokenCommandOutput.h"

namespace vantorel {

namespace {
constexpr std::string_view kNoTokenText = "トークンを取得できませんでした: ";
}

void WipeText(std::string& text) {
    // Growing to the capacity never reallocates, and makes every byte of the
    // buffer one the loop may write.
    text.resize(text.capacity());
    platform::WipeBytes(text.data(), text.size());
    text.clear();
}

std::string TokenFailureText(const platform::TokenCommandOutcome& outcome) {
    return std::string(kNoTokenText) + platform::TokenCommandFailureDetail(outcome);
}

void CheckToken::Take(std::string& token) {
    Forget();
    token_ = token;
    WipeText(token);
}

}  // namespace vantorel
