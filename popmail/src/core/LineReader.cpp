#include "core/LineReader.h"

namespace popmail {

Status LineReader::Fill(net::Deadline deadline) {
    if (start_ > 0 && start_ == buffer_.size()) {
        buffer_.clear();
        start_ = 0;
    } else if (start_ >= kChunkBytes) {
        buffer_.erase(0, start_);
        start_ = 0;
    }
    const std::size_t oldSize = buffer_.size();
    buffer_.resize(oldSize + kChunkBytes);
    auto got = connection_.Read(buffer_.data() + oldSize, kChunkBytes, deadline);
    buffer_.resize(oldSize + (got ? *got : 0));
    if (!got) {
        broken_ = true;
        return got.failure();
    }
    if (*got == 0) {
        broken_ = true;
        return Fail(FailureKind::ConnectionClosed);
    }
    return Ok();
}

Result<std::string> LineReader::ReadLine(std::size_t cap, net::Deadline deadline) {
    if (broken_) {
        return Fail(FailureKind::ConnectionClosed);
    }
    for (;;) {
        const auto lf = buffer_.find('\n', start_ + scanned_);
        if (lf != std::string::npos) {
            std::size_t end = lf;
            if (end > start_ && buffer_[end - 1] == '\r') {
                --end;
            }
            if (end - start_ > cap) {
                broken_ = true;
                return Fail(FailureKind::ReplyTooLarge);
            }
            std::string line = buffer_.substr(start_, end - start_);
            start_ = lf + 1;
            scanned_ = 0;
            return line;
        }
        scanned_ = buffer_.size() - start_;
        if (scanned_ > cap) {
            broken_ = true;
            return Fail(FailureKind::ReplyTooLarge);
        }
        if (auto filled = Fill(deadline); !filled) {
            return filled.failure();
        }
    }
}

Result<bool> LineReader::SkipLine(net::Deadline deadline) {
    if (broken_) {
        return Fail(FailureKind::ConnectionClosed);
    }
    // Only the first two bytes matter: "." then the line end.
    std::string head;
    constexpr std::size_t kHeadBytes = 3;
    for (;;) {
        const auto lf = buffer_.find('\n', start_);
        const std::size_t end = lf == std::string::npos ? buffer_.size() : lf;
        if (head.size() < kHeadBytes) {
            head += buffer_.substr(start_, std::min(end - start_, kHeadBytes - head.size()));
        }
        if (lf != std::string::npos) {
            start_ = lf + 1;
            scanned_ = 0;
            return head == "." || head == ".\r";
        }
        start_ = buffer_.size();
        if (auto filled = Fill(deadline); !filled) {
            return filled.failure();
        }
    }
}

void LineReader::DiscardBuffered() {
    buffer_.clear();
    start_ = 0;
    scanned_ = 0;
}

}  // namespace popmail
