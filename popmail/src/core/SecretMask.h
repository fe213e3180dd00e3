#pragma once
// Keeps login secrets out of failure texts. A server may quote what the
// client sent during login (a refused "AUTH PLAIN <base64>", "PASS ...", a
// SASL message carrying an access token) or the secret in some encoding,
// whole or cut short; every text quoted from a server passes through a mask
// before the user sees it.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace popmail {

class SecretMask {
  public:
    // The password in every form of SecretForms (core/SecretForms.h), and
    // inside the SASL PLAIN response for `user`.
    void AddPassword(std::string_view user, std::string_view password);

    // An OAuth 2.0 access token in every form of SecretForms: the SASL
    // messages of OAUTHBEARER and XOAUTH2 carry it in Base64 after fields of
    // any length, so at any alignment.
    void AddAccessToken(std::string_view token);

    // Remembers what a line the client sends gives away: the argument of
    // PASS, the digest of APOP, the initial response of AUTH, and any line
    // that is no command (a SASL response). Other commands, a cancelled
    // exchange and the answer to an OAUTHBEARER error challenge give nothing.
    void AddSentLine(std::string_view line);

    // `text` with "***" in place of every argument of USER, PASS, APOP and
    // AUTH, every secret, and every piece of a secret of kMinPieceBytes or
    // more (a server may cut what it quotes). Letter case does not matter.
    std::string Apply(std::string_view text) const;

    // Shorter pieces of a secret are too common in ordinary text to hide.
    static constexpr std::size_t kMinPieceBytes = 8;

  private:
    void Add(std::string_view secret);
    void AddForms(std::string_view secret);

    std::vector<std::string> secrets_;  // ASCII letters in lower case
};

}  // namespace popmail
