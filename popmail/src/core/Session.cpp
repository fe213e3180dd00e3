#include "core/Session.h"

#include <algorithm>

#include "core/Limits.h"

namespace popmail {
namespace {

constexpr std::string_view kQuit = "QUIT\r\n";

}  // namespace

Session::Session(std::unique_ptr<net::Connection> connection, std::string server,
                 const SessionTimeouts& timeouts, net::Deadline total)
    : connection_(std::move(connection)),
      reader_(*connection_),
      server_(std::move(server)),
      timeouts_(timeouts),
      total_(total),
      replyEnd_(total) {}

net::Deadline Session::ReplyDeadline() const {
    return std::min(net::Clock::now() + timeouts_.reply, total_);
}

Failure Session::Broken(Failure failure) {
    usable_ = false;
    if (failure.kind == FailureKind::ReplyTimedOut && net::Clock::now() >= total_) {
        failure.kind = FailureKind::DeadlineExceeded;
    }
    failure.server = server_;
    return Masked(std::move(failure));
}

Failure Session::Masked(Failure failure) const {
    failure.detail = sent_.Apply(failure.detail);
    failure.reply = sent_.Apply(failure.reply);
    return failure;
}

Status Session::Send(std::string_view lines) {
    if (!usable_) {
        return Broken(Fail(FailureKind::ConnectionClosed));
    }
    for (std::size_t at = 0; at < lines.size();) {
        const std::size_t end = std::min(lines.find('\n', at), lines.size());
        sent_.AddSentLine(lines.substr(at, end - at));
        at = end + 1;
    }
    auto sent = connection_->Write(lines, ReplyDeadline());
    if (!sent) {
        return Broken(sent.failure());
    }
    return Ok();
}

Result<StatusLine> Session::ReadStatus() {
    replyEnd_ = ReplyDeadline();
    auto line = reader_.ReadLine(kMaxStatusLineBytes, replyEnd_);
    if (!line) {
        return Broken(line.failure());
    }
    StatusLine status = ParseStatusLine(*line);
    if (status.kind == StatusLine::Kind::Invalid) {
        return Broken(FailWithReply(FailureKind::ProtocolError, *line));
    }
    return status;
}

Result<std::string> Session::ReadDataLine(std::size_t cap) {
    auto line = reader_.ReadLine(cap, replyEnd_);
    if (!line) {
        return Broken(line.failure());
    }
    return line;
}

Result<bool> Session::SkipDataLine() {
    auto end = reader_.SkipLine(replyEnd_);
    if (!end) {
        return Broken(end.failure());
    }
    return end;
}

Result<std::vector<std::string>> Session::ReadDataLines(std::size_t lineCap, std::size_t maxLines) {
    std::vector<std::string> lines;
    for (;;) {
        auto line = ReadDataLine(lineCap);
        if (!line) {
            return line.failure();
        }
        const DataLine data = ClassifyDataLine(*line);
        if (data.end) {
            return lines;
        }
        if (lines.size() == maxLines) {
            return Broken(Fail(FailureKind::ReplyTooLarge));
        }
        lines.emplace_back(data.text);
    }
}

Status Session::StartTls(const std::string& serverName) {
    reader_.DiscardBuffered();
    auto started = connection_->StartTls(serverName, ReplyDeadline());
    if (!started) {
        return Broken(started.failure());
    }
    return Ok();
}

Status Session::SendThenQuit(std::string_view lines) {
    quitSent_ = true;
    return Send(std::string(lines) + std::string(kQuit));
}

void Session::Quit(std::chrono::milliseconds wait) {
    if (usable_) {
        total_ = std::min(total_, net::Clock::now() + wait);
        // A QUIT sent with the last commands has its reply right after
        // theirs: reading it costs no round trip and closes cleanly.
        if (quitSent_ || Send(kQuit)) {
            (void)ReadStatus();
        }
    }
    usable_ = false;
}

}  // namespace popmail
