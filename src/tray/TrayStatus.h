#pragma once
// What the tray icon and its tooltip say about the program: nothing checked
// yet, the last check's time, new mail the user has not looked at, a check
// that failed, checking paused. The mail check and the tray menu report
// here; the tray object only shows the result.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/TrayShell.h"
#include "platform/WallClock.h"

namespace vantorel {

class TrayStatus {
  public:
    // `productName` heads the tooltip.
    explicit TrayStatus(std::string productName) : productName_(std::move(productName)) {}

    // The tooltip holds at most this many UTF-16 units (the shell's tip
    // field of 128 with its NUL), so that no platform cuts it.
    static constexpr std::size_t kTipLimit = 127;

    // The mailbox answered: an earlier failure is over.
    void CheckSucceeded(platform::ClockTime at);
    // The check failed for `reason` (the library's or the program's text).
    // The failure shows until a check succeeds.
    void CheckFailed(platform::ClockTime at, std::string_view reason);
    // An announcement of `count` messages began. With `addsToUnseen` (only
    // messages not announced before are counted) the new ones add to those
    // the user has not looked at yet; otherwise the count is the whole news.
    void MailAnnounced(int count, bool addsToUnseen);
    // The user looked (double-clicked the icon or opened its menu): the
    // new-mail mark goes.
    void Seen();
    void Paused(bool paused);

    platform::TrayMark Mark() const;
    std::string ToolTip() const;

  private:
    std::string StateText() const;

    std::string productName_;
    std::optional<platform::ClockTime> lastCheck_;
    std::optional<std::string> failure_;  // the short reason of the last check's failure
    int unseen_ = 0;
    bool paused_ = false;
};

// The first line of a failure text, cut after `limit` characters with "…"
// (never inside a character), for the tooltip.
std::string ShortReason(std::string_view text, std::size_t limit);

// The length of UTF-8 `text` in UTF-16 units.
std::size_t Utf16Length(std::string_view text);

// `text` cut to at most `limit` UTF-16 units, never inside a character.
std::string FitUtf16(std::string_view text, std::size_t limit);

}  // namespace vantorel
