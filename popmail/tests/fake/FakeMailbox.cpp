#include "fake/FakeMailbox.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <deque>
#include <set>
#include <utility>

#include "core/Encoding.h"
#include "core/Response.h"

namespace popmail::testing {
namespace {

using namespace std::chrono_literals;

constexpr auto kPipeliningProbe = 30ms;

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < line.size()) {
        const auto end = std::min(line.find(' ', at), line.size());
        words.push_back(line.substr(at, end - at));
        at = end + 1;
    }
    return words;
}

// CRLF lines, dot-stuffed, end marker added; `headerOnly` stops at the
// blank line after the header.
std::string MultiLine(const std::string& message, bool headerOnly) {
    std::string out = "+OK\r\n";
    std::size_t at = 0;
    while (at < message.size()) {
        const auto lf = std::min(message.find('\n', at), message.size());
        const std::string line = message.substr(at, lf - at);
        at = lf + 1;
        out += (!line.empty() && line[0] == '.' ? "." : "") + line + "\r\n";
        if (headerOnly && line.empty()) {
            break;
        }
    }
    return out + ".\r\n";
}

std::size_t TotalSize(const FakeMailbox& mailbox) {
    std::size_t size = 0;
    for (const auto& message : mailbox.messages) {
        size += message.size();
    }
    return size;
}

class Dialogue {
  public:
    Dialogue(Peer& peer, const FakeMailbox& mailbox) : peer_(peer), mailbox_(mailbox) {}

    void Run() {
        if (!peer_.Send(mailbox_.greeting + "\r\n")) {
            return;
        }
        while (auto line = NextCommand()) {
            const auto words = Words(*line);
            const std::string verb = words.empty() ? "" : Upper(words[0]);
            if (!AwaitFlight(verb) || !Answer(verb, words) || verb == "QUIT") {
                break;
            }
        }
        peer_.Close();
    }

  private:
    // A command read ahead while a reply was held, else the next one.
    std::optional<std::string> NextCommand() {
        if (!readAhead_.empty()) {
            std::string line = std::move(readAhead_.front());
            readAhead_.pop_front();
            return line;
        }
        return ReadNew();
    }

    std::optional<std::string> ReadNew() {
        auto line = peer_.ReadCommand();
        if (!line) {
            return line;
        }
        if (mailbox_.notePipelining && peer_.MoreArrivesWithin(kPipeliningProbe)) {
            peer_.Note("<pipelined>");
        }
        const auto words = Words(*line);
        arrived_.insert(words.empty() ? "" : Upper(words[0]));
        return line;
    }

    // Holds the reply to `verb` until the command it waits for has come;
    // false when the client ended the connection first.
    bool AwaitFlight(const std::string& verb) {
        const auto hold = mailbox_.holdRepliesUntil.find(verb);
        if (hold == mailbox_.holdRepliesUntil.end()) {
            return true;
        }
        while (!arrived_.contains(hold->second)) {
            auto line = ReadNew();
            if (!line) {
                return false;
            }
            readAhead_.push_back(std::move(*line));
        }
        return true;
    }

    bool Answer(const std::string& verb, const std::vector<std::string>& words) {
        if (const auto replaced = mailbox_.replies.find(verb); replaced != mailbox_.replies.end()) {
            return peer_.Send(replaced->second);
        }
        if (verb == "CAPA") {
            return peer_.Send(Capa());
        }
        if (verb == "STLS" && mailbox_.tls) {
            return peer_.Send("+OK Begin TLS\r\n" + mailbox_.injectedBeforeTls) &&
                   peer_.StartTls(*mailbox_.tls);
        }
        if (verb == "USER") {
            user_ = words.size() > 1 ? words[1] : "";
            return peer_.Send("+OK\r\n");
        }
        if (verb == "PASS") {
            return Login(user_ == mailbox_.user && words.size() > 1 &&
                         words[1] == mailbox_.password);
        }
        if (verb == "AUTH" && words.size() >= 2 && IsTokenMechanism(Upper(words[1]))) {
            return TokenLogin(Upper(words[1]), words);
        }
        if (verb == "AUTH" && words.size() == 3) {
            return Login(words[2] == Base64Encode(std::string(1, '\0') + mailbox_.user + '\0' +
                                                  mailbox_.password));
        }
        if (verb == "APOP" && words.size() == 3) {
            const auto stamp = ApopTimestamp(mailbox_.greeting);
            return Login(stamp && words[1] == mailbox_.user &&
                         words[2] == Md5Hex(*stamp + mailbox_.password));
        }
        if (verb == "STAT") {
            return peer_.Send("+OK " + std::to_string(mailbox_.messages.size()) + " " +
                              std::to_string(TotalSize(mailbox_)) + "\r\n");
        }
        if ((verb == "TOP" || verb == "RETR") && words.size() >= 2) {
            return Fetch(verb == "TOP", words[1]);
        }
        if (verb == "QUIT") {
            return peer_.Send("+OK bye\r\n");
        }
        return peer_.Send("-ERR unknown command\r\n");
    }

    std::string Capa() const {
        if (!mailbox_.answersCapa) {
            return "-ERR no CAPA here\r\n";
        }
        std::string reply = "+OK capability list follows\r\n";
        for (const auto& line : mailbox_.capabilities) {
            reply += line + "\r\n";
        }
        if (mailbox_.tls && !peer_.Encrypted()) {
            reply += "STLS\r\n";
        }
        return reply + ".\r\n";
    }

    static bool IsTokenMechanism(const std::string& mechanism) {
        return mechanism == "OAUTHBEARER" || mechanism == "XOAUTH2";
    }

    // RFC 7628 / XOAUTH2: the client's message, with or without an initial
    // response; a refused token gets the error challenge, and -ERR after
    // the client's answer.
    bool TokenLogin(const std::string& mechanism, const std::vector<std::string>& words) {
        std::string response = words.size() > 2 ? words[2] : "";
        if (words.size() == 2) {
            if (!peer_.Send("+ \r\n")) {
                return false;
            }
            auto line = peer_.ReadCommand();
            if (!line) {
                return false;
            }
            response = *line;
        }
        const std::string bearer =
            std::string("\x01") + "auth=Bearer " + mailbox_.accessToken + "\x01\x01";
        const std::string expected = mechanism == "XOAUTH2" ? "user=" + mailbox_.user + bearer
                                                            : "n,a=" + mailbox_.user + ",";
        const auto message = Base64Decode(response);
        const bool accepted =
            !mailbox_.accessToken.empty() && message && message->rfind(expected, 0) == 0 &&
            message->size() >= bearer.size() &&
            message->compare(message->size() - bearer.size(), bearer.size(), bearer) == 0;
        if (accepted) {
            return peer_.Send("+OK logged in\r\n");
        }
        if (!peer_.Send("+ " + Base64Encode(mailbox_.tokenErrorJson) + "\r\n") ||
            !peer_.ReadCommand()) {
            return false;
        }
        return peer_.Send("-ERR [AUTH] Authentication failed.\r\n");
    }

    bool Login(bool accepted) {
        return peer_.Send(accepted ? "+OK logged in\r\n" : "-ERR [AUTH] invalid credentials\r\n");
    }

    bool Fetch(bool top, const std::string& number) {
        const std::size_t index = static_cast<std::size_t>(std::atoi(number.c_str()));
        if (index == 0 || index > mailbox_.messages.size()) {
            return peer_.Send("-ERR no such message\r\n");
        }
        const std::string reply = MultiLine(mailbox_.messages[index - 1], top);
        if (top && mailbox_.holdTopRepliesUntil > 0) {
            held_ += reply;
            if (++heldCount_ < mailbox_.holdTopRepliesUntil) {
                return true;
            }
            return peer_.Send(std::exchange(held_, {}));
        }
        return peer_.Send(reply);
    }

    Peer& peer_;
    const FakeMailbox& mailbox_;
    std::string user_;
    std::string held_;
    std::size_t heldCount_ = 0;
    std::deque<std::string> readAhead_;
    std::set<std::string> arrived_;  // verbs of the commands read so far
};

}  // namespace

void ServeMailbox(Peer& peer, const FakeMailbox& mailbox) {
    Dialogue(peer, mailbox).Run();
}

std::string MakeMessage(const std::string& subject, const std::string& from,
                        const std::string& date) {
    return "From: " + from + "\nSubject: " + subject + "\nDate: " + date +
           "\n\nbody line\n.\n..\n.leading dot\nlast\n";
}

}  // namespace popmail::testing
