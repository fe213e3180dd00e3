#include "platform/qt/x11/TitleSnapshots.h"

#include <algorithm>

namespace vantorel::x11 {

void TitleSnapshots::forget(Window window) {
    std::erase_if(snapshots_, [window](const auto& entry) { return entry.first == window; });
}

void TitleSnapshots::remember(Window window, TitleSnapshot snapshot) {
    forget(window);
    if (snapshots_.size() == kMaxWindows) {
        snapshots_.erase(snapshots_.begin());
    }
    snapshots_.emplace_back(window, std::move(snapshot));
}

const TitleSnapshot* TitleSnapshots::matching(Window window, std::string_view text) const {
    const auto it = std::find_if(snapshots_.begin(), snapshots_.end(),
                                 [window](const auto& entry) { return entry.first == window; });
    if (it == snapshots_.end() || it->second.text != text) {
        return nullptr;
    }
    return &it->second;
}

}  // namespace vantorel::x11
