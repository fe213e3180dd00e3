#include "tray/TrayStatus.h"

#include <cstdio>

#include "settings/Count16.h"
#include "text/NumberText.h"
#include "text/Utf8.h"

namespace vantorel {

namespace {

constexpr std::string_view kSeparator = " - ";
constexpr std::string_view kNewMailBefore = "新着";
constexpr std::string_view kNewMailAfter = "通";
constexpr std::string_view kNoNewMail = "新着なし";
constexpr std::string_view kLastCheck = "最終確認 ";
constexpr std::string_view kFailure = "エラー: ";
constexpr std::string_view kFailureMark = "エラー:";
constexpr std::string_view kPaused = "一時停止中";
constexpr std::string_view kEllipsis = "…";
// A reason longer than this is cut: the tooltip is one glance, the box (or
// the next check) has the whole text.
constexpr std::size_t kReasonLimit = 60;

constexpr unsigned char kContinuationMask = 0xC0;
constexpr unsigned char kContinuationBits = 0x80;
constexpr unsigned char kFourByteLead = 0xF0;

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & kContinuationMask) == kContinuationBits;
}

// The length in bytes of the character starting at `at`.
std::size_t CharLength(std::string_view text, std::size_t at) {
    std::size_t end = at + 1;
    while (end < text.size() && IsContinuation(text[end])) {
        ++end;
    }
    return end - at;
}

// A character beyond the basic plane takes two UTF-16 units.
std::size_t Utf16Units(std::string_view text, std::size_t at) {
    return static_cast<unsigned char>(text[at]) >= kFourByteLead ? 2 : 1;
}

std::string TimeText(platform::ClockTime at) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", at.hour % 24, at.minute % 60);
    return text;
}

}  // namespace

std::size_t Utf16Length(std::string_view text) {
    std::size_t units = 0;
    for (std::size_t at = 0; at < text.size(); at += CharLength(text, at)) {
        units += Utf16Units(text, at);
    }
    return units;
}

std::string ShortReason(std::string_view text, std::size_t limit) {
    std::string_view line = text.substr(0, text.find_first_of("\r\n"));
    while (!line.empty() && line.back() == ' ') {
        line.remove_suffix(1);
    }
    std::size_t at = 0;
    for (std::size_t count = 0; at < line.size() && count < limit; ++count) {
        at += CharLength(line, at);
    }
    if (at >= line.size()) {
        return std::string(line);
    }
    return std::string(line.substr(0, at)) + std::string(kEllipsis);
}

std::string FitUtf16(std::string_view text, std::size_t limit) {
    std::size_t at = 0;
    std::size_t units = 0;
    while (at < text.size()) {
        const std::size_t next = units + Utf16Units(text, at);
        if (next > limit) {
            break;
        }
        units = next;
        at += CharLength(text, at);
    }
    return std::string(text.substr(0, at));
}

void TrayStatus::CheckSucceeded(platform::ClockTime at) {
    lastCheck_ = at;
    failure_.reset();
}

void TrayStatus::CheckFailed(platform::ClockTime at, std::string_view reason) {
    lastCheck_ = at;
    // A library text with bytes that are no UTF-8 must not make the
    // tooltip unreadable.
    std::string_view text = reason;
    // The tooltip says "エラー: " itself; the program's own texts start so too.
    for (const std::string_view prefix : {kFailure, kFailureMark}) {
        if (text.substr(0, prefix.size()) == prefix) {
            text.remove_prefix(prefix.size());
        }
    }
    failure_ = ShortReason(text::SanitizeUtf8(text), kReasonLimit);
}

void TrayStatus::MailAnnounced(int count, bool addsToUnseen) {
    // An announcement of no mail (the zero-count option) is no news.
    if (count <= 0) {
        if (!addsToUnseen) {
            unseen_ = 0;
        }
        return;
    }
    unseen_ = addsToUnseen && count < kInt16Max - unseen_ ? unseen_ + count : count;
}

void TrayStatus::Seen() {
    unseen_ = 0;
}

void TrayStatus::Paused(bool paused) {
    paused_ = paused;
}

platform::TrayMark TrayStatus::Mark() const {
    using Kind = platform::TrayMark::Kind;
    // A failure outranks the rest: mail may be waiting unseen behind it.
    if (failure_) {
        return {Kind::Error, 0};
    }
    if (unseen_ > 0) {
        return {Kind::NewMail, unseen_};
    }
    return {paused_ ? Kind::Paused : Kind::None, 0};
}

std::string TrayStatus::StateText() const {
    if (!lastCheck_) {
        return {};
    }
    const std::string time = TimeText(*lastCheck_);
    if (failure_) {
        return std::string(kFailure) + *failure_ + " (" + time + ")";
    }
    const std::string news =
        unseen_ > 0
            ? std::string(kNewMailBefore) + text::DecimalText(unseen_) + std::string(kNewMailAfter)
            : std::string(kNoNewMail);
    return news + " (" + std::string(kLastCheck) + time + ")";
}

std::string TrayStatus::ToolTip() const {
    std::string tip = productName_;
    if (paused_) {
        tip += std::string(kSeparator) + std::string(kPaused);
    }
    const std::string state = StateText();
    if (!state.empty()) {
        tip += std::string(kSeparator) + state;
    }
    if (Utf16Length(tip) <= kTipLimit || !failure_) {
        return FitUtf16(tip, kTipLimit);
    }
    // Only a long failure reason can overflow: it is cut further so that
    // the time at the end stays.
    std::string head = productName_;
    if (paused_) {
        head += std::string(kSeparator) + std::string(kPaused);
    }
    head += std::string(kSeparator) + std::string(kFailure);
    const std::string tail = " (" + TimeText(*lastCheck_) + ")";
    const std::size_t fixed = Utf16Length(head) + Utf16Length(tail) + Utf16Length(kEllipsis);
    const std::size_t room = fixed < kTipLimit ? kTipLimit - fixed : 0;
    return head + FitUtf16(*failure_, room) + std::string(kEllipsis) + tail;
}

}  // namespace vantorel
