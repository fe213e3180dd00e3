#pragma once
// An announcement as one desktop notification: the arrival notice as its
// summary and the first messages as "subject — sender" lines.

#include <cstddef>

#include "notify/Announcement.h"
#include "platform/DesktopNotifier.h"

namespace vantorel {

// Messages listed in the body; the rest are counted in a last line.
constexpr std::size_t kMessagesInNotice = 5;

platform::DesktopNotice AnnouncementNotice(const Announcement& announcement);

}  // namespace vantorel
