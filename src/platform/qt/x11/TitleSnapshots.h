#pragma once
// The name properties of the windows whose titles were read, kept so that
// writing a title back restores exactly what was there: the same types and
// bytes (Latin-1, compound text), and the absence of a property.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/qt/x11/Properties.h"

namespace vantorel::x11 {

struct TitleSnapshot {
    std::string text;  // the title as read
    RawProperty netWmName;
    RawProperty wmName;
};

class TitleSnapshots {
  public:
    // Keeps the newest snapshot of each window, of the last few windows.
    void remember(Window window, TitleSnapshot snapshot);

    void forget(Window window);

    // The snapshot of `window` when its text is `text`.
    const TitleSnapshot* matching(Window window, std::string_view text) const;

  private:
    // Titles are read once per announcement; a few windows are plenty.
    static constexpr std::size_t kMaxWindows = 8;

    std::vector<std::pair<Window, TitleSnapshot>> snapshots_;  // oldest first
};

}  // namespace vantorel::x11
