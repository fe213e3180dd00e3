#pragma once
// Keeps the password out of failure texts. A server may quote what the
// client sent during login (a refused "AUTH PLAIN <base64>", "PASS ...") or
// the password in some encoding; every text quoted from a server passes
// through a mask before the user sees it.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace popmail {

class SecretMask {
  public:
    // The password as it may come back: as is, in Base64 and Base64url, in
    // hex, percent-encoded, and inside the SASL PLAIN response for `user`.
    void AddPassword(std::string_view user, std::string_view password);

    // Remembers what a line the client sends gives away: the argument of
    // PASS, the digest of APOP, the initial response of AUTH, and any line
    // that is no command (a SASL response). Other commands give nothing.
    void AddSentLine(std::string_view line);

    // `text` with "***" in place of every argument of USER, PASS, APOP and
    // AUTH, every secret, and every piece of a secret of kMinPieceBytes or
    // more (a server may cut what it quotes). Letter case does not matter.
    std::string Apply(std::string_view text) const;

    // Shorter pieces of a secret are too common in ordinary text to hide.
    static constexpr std::size_t kMinPieceBytes = 8;

  private:
    void Add(std::string_view secret);

    std::vector<std::string> secrets_;  // ASCII letters in lower case
};

}  // namespace popmail
