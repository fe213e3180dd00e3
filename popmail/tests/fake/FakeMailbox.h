#pragma once
// A well-behaved POP3 mailbox for the fake server, with hooks to make it
// misbehave: replaced replies, STLS, held replies, pipelining checks.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "fake/FakePop3Server.h"

namespace popmail::testing {

struct FakeMailbox {
    std::string greeting = "+OK fake POP3 server ready";
    // CAPA lines; STLS is added while `tls` is set and TLS not yet started.
    std::vector<std::string> capabilities = {"TOP", "USER", "PIPELINING", "SASL PLAIN",
                                             "RESP-CODES"};
    bool answersCapa = true;
    std::string user = "alice";
    std::string password = "secret";
    // The access token AUTH OAUTHBEARER and AUTH XOAUTH2 accept for `user`
    // (offered when CAPA lists them). Any other login gets an error
    // challenge with this JSON status, and -ERR once the client answered.
    std::string accessToken;
    std::string tokenErrorJson = R"({"status":"invalid_token","scope":"mail"})";
    std::vector<std::string> messages;  // whole messages, LF line ends
    // Raw replies (CR LF included) that replace the normal answer to a verb
    // ("STAT", "PASS", "TOP", "STLS"...).
    std::map<std::string, std::string> replies;
    // Offer STLS with this certificate.
    std::optional<TlsIdentity> tls;
    // Bytes sent right after the "+OK" to STLS, before the handshake.
    std::string injectedBeforeTls;
    // Answer no TOP until this many TOP commands have arrived, as a server
    // would that reads a whole pipelined batch first.
    std::size_t holdTopRepliesUntil = 0;
    // Answer no command of the first verb until a command of the second has
    // arrived: the two must come in one flight, as a client sends them
    // without waiting between them ("AUTH" -> "STAT": STAT pipelined with
    // the login). A client that waits for the reply in between times out.
    std::map<std::string, std::string> holdRepliesUntil;
    // Note "<pipelined>" when a command arrives before the previous reply
    // (for servers without PIPELINING).
    bool notePipelining = false;
};

// Serves the dialogue until QUIT (answered, then closed) or the client
// closes the connection.
void ServeMailbox(Peer& peer, const FakeMailbox& mailbox);

// A message with these header fields and a body holding dot lines.
std::string MakeMessage(const std::string& subject, const std::string& from,
                        const std::string& date);

}  // namespace popmail::testing
