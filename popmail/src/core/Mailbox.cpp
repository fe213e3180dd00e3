#include "core/Mailbox.h"

#include <deque>
#include <utility>

#include "core/Limits.h"
#include "core/Summary.h"

namespace popmail {
namespace {

Failure RefusedBy(const Session& session, FailureKind kind, const StatusLine& status) {
    Failure failure = FailWithReply(kind, "-ERR " + status.text, status.code);
    failure.server = session.Server();
    return session.Masked(std::move(failure));
}

// Reads one TOP or RETR reply after its +OK: keeps the header block (up to
// kMaxHeaderBytes) and reads past the body without keeping it.
Result<std::string> ReadHeaderBlock(Session& session) {
    std::string block;
    for (;;) {
        auto line = session.ReadDataLine(kMaxDataLineBytes);
        if (!line) {
            return line.failure();
        }
        const DataLine data = ClassifyDataLine(*line);
        if (data.end) {
            return block;
        }
        if (data.text.empty()) {
            break;  // end of the header
        }
        if (block.size() + data.text.size() + 2 <= kMaxHeaderBytes) {
            block.append(data.text).append("\r\n");
        }
    }
    for (;;) {
        auto end = session.SkipDataLine();
        if (!end) {
            return end.failure();
        }
        if (*end) {
            return block;
        }
    }
}

class SummaryFetcher {
  public:
    SummaryFetcher(Session& session, std::size_t count, const SessionOpener& reopen)
        : session_(&session),
          count_(count),
          reopen_(reopen),
          useTop_(!session.capabilities.known || session.capabilities.top) {
        StartOver();
    }

    Result<std::vector<MessageSummary>> Run() {
        while (!unsent_.empty() || !inFlight_.empty()) {
            if (auto sent = SendMore(); !sent) {
                return sent.failure();
            }
            if (auto read = ReadOneReply(); !read) {
                return read.failure();
            }
            if (wholeOnAnotherSession_ && inFlight_.empty()) {
                if (auto reopened = OnAnotherSession(); !reopened) {
                    return reopened.failure();
                }
            }
        }
        if (replacement_) {
            replacement_->Quit(kQuitTimeout);
        }
        return std::move(summaries_);
    }

  private:
    struct Request {
        std::size_t message;
        bool top;
        std::size_t bytes;
    };

    std::string CommandFor(std::size_t message, bool top) const {
        const std::string number = std::to_string(message);
        return top ? "TOP " + number + " 0\r\n" : "RETR " + number + "\r\n";
    }

    void StartOver() {
        summaries_.assign(count_, {});
        unsent_.clear();
        inFlight_.clear();
        bytesInFlight_ = 0;
        for (std::size_t message = 1; message <= count_; ++message) {
            unsent_.push_back(message);
        }
    }

    // The server refused a TOP it announced, after QUIT went out: once
    // every reply and QUIT's are read (the server has then let go of the
    // maildrop), a new session fetches every message whole. Message numbers
    // hold for one session only, so nothing is kept from this one.
    Status OnAnotherSession() {
        wholeOnAnotherSession_ = false;
        session_->Quit(kQuitTimeout);
        auto reopened = reopen_();
        if (!reopened) {
            return reopened.failure();
        }
        replacement_ = std::move(*reopened);
        session_ = replacement_.get();
        useTop_ = false;
        StartOver();
        return Ok();
    }

    // Pipelined: as many commands as fit in the window, in one write, and
    // QUIT after the last of them: its reply then comes with theirs
    // instead of a round trip later. Otherwise one command once the
    // previous reply is read.
    Status SendMore() {
        if (session_->QuitSent()) {
            return Ok();  // what is left waits for another session
        }
        const bool pipelined = session_->capabilities.pipelining;
        std::string batch;
        while (!unsent_.empty() && (inFlight_.empty() || pipelined)) {
            const std::size_t message = unsent_.front();
            std::string command = CommandFor(message, useTop_);
            if (!inFlight_.empty() && bytesInFlight_ + command.size() > kMaxPipelinedBytes) {
                break;
            }
            inFlight_.push_back({message, useTop_, command.size()});
            bytesInFlight_ += command.size();
            batch += command;
            unsent_.pop_front();
        }
        if (batch.empty()) {
            return Ok();
        }
        return pipelined && unsent_.empty() ? session_->SendThenQuit(batch) : session_->Send(batch);
    }

    Status ReadOneReply() {
        const Request request = inFlight_.front();
        inFlight_.pop_front();
        bytesInFlight_ -= request.bytes;
        auto status = session_->ReadStatus();
        if (!status) {
            return status.failure();
        }
        if (status->kind != StatusLine::Kind::Ok) {
            if (request.top && status->kind == StatusLine::Kind::Err) {
                // TOP is optional (RFC 1939): fetch this and the rest whole.
                useTop_ = false;
                unsent_.push_front(request.message);
                wholeOnAnotherSession_ = wholeOnAnotherSession_ || session_->QuitSent();
                return Ok();
            }
            return RefusedBy(*session_, FailureKind::CommandRefused, *status);
        }
        auto block = ReadHeaderBlock(*session_);
        if (!block) {
            return block.failure();
        }
        summaries_[request.message - 1] = SummaryOf(*block);
        return Ok();
    }

    Session* session_;
    std::size_t count_;
    const SessionOpener& reopen_;
    std::unique_ptr<Session> replacement_;
    std::vector<MessageSummary> summaries_;
    bool useTop_;
    bool wholeOnAnotherSession_ = false;
    std::deque<std::size_t> unsent_;
    std::deque<Request> inFlight_;
    std::size_t bytesInFlight_ = 0;
};

}  // namespace

Result<MailboxStatus> Stat(Session& session) {
    if (!std::exchange(session.statSent, false)) {
        if (auto sent = session.Send("STAT\r\n"); !sent) {
            return sent.failure();
        }
    }
    auto status = session.ReadStatus();
    if (!status) {
        return status.failure();
    }
    if (status->kind != StatusLine::Kind::Ok) {
        return RefusedBy(session, FailureKind::CommandRefused, *status);
    }
    const auto mailbox = ParseStatReply(status->text);
    if (!mailbox) {
        Failure failure = FailWithReply(FailureKind::BadStatReply, "+OK " + status->text);
        failure.server = session.Server();
        return session.Masked(std::move(failure));
    }
    session.messageCount = mailbox->count;
    return *mailbox;
}

Result<std::vector<MessageSummary>> FetchSummaries(Session& session, std::size_t count,
                                                   const SessionOpener& reopen) {
    return SummaryFetcher(session, count, reopen).Run();
}

}  // namespace popmail
