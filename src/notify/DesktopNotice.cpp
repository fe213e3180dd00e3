// The announcement as a desktop notification, for a desktop where no title
// can be written, or as well as the title when the user asked for it.

#include "notify/DesktopNotice.h"

#include <string>
#include <string_view>

#include "notify/DisplayCycle.h"
#include "notify/NoticeText.h"
#include "settings/SettingsKeys.h"
#include "text/NumberText.h"

namespace vantorel {

namespace {

constexpr std::string_view kDash = " — ";
constexpr std::string_view kMoreBefore = "ほか";
constexpr std::string_view kMoreAfter = "通";
constexpr std::string_view kTabFrom = "\tFrom:";
constexpr std::string_view kTabDate = "\tDate:";
constexpr std::size_t kSubjectMarkerLength = 8;  // "Subject:"

struct Summary {
    std::string_view subject;
    std::string_view from;
};

// The subject and sender of a library summary ("Subject:" subject TAB
// "From:" sender TAB "Date:" date); both empty for an entry of another shape.
Summary SplitSummary(std::string_view entry) {
    if (entry.size() < kSubjectMarkerLength) {
        return {};
    }
    const std::string_view rest = entry.substr(kSubjectMarkerLength);
    const std::size_t from = rest.find(kTabFrom);
    if (from == std::string_view::npos) {
        return {rest.substr(0, rest.find(kTabDate)), {}};
    }
    const std::string_view sender = rest.substr(from + kTabFrom.size());
    return {rest.substr(0, from), sender.substr(0, sender.find(kTabDate))};
}

// A label the user set in place of the library's marker is shown; the
// default marker is not, as the dash already tells subject from sender.
std::string Labelled(std::string_view label, std::string_view defaultLabel,
                     std::string_view field) {
    return label == defaultLabel ? std::string(field) : std::string(label) + std::string(field);
}

std::string MessageLine(const Announcement& announcement, std::string_view entry) {
    const Summary summary = SplitSummary(entry);
    return Labelled(announcement.subjectLabel, keys::kDefaultSubjectLabel, summary.subject) +
           std::string(kDash) +
           Labelled(announcement.fromLabel, keys::kDefaultFromLabel, summary.from);
}

}  // namespace

platform::DesktopNotice AnnouncementNotice(const Announcement& announcement) {
    platform::DesktopNotice notice;
    notice.summary = ArrivalNotice(announcement.newCount);
    std::size_t listed = 0;
    std::int32_t index = announcement.position;
    for (; index <= announcement.lastIndex && index > 0 && listed < kMessagesInNotice; ++index) {
        const auto at = static_cast<std::size_t>(index);
        const std::string_view entry =
            at < announcement.entries.size() ? announcement.entries[at] : std::string_view();
        if (!notice.body.empty()) {
            notice.body += '\n';
        }
        notice.body += MessageLine(announcement, entry);
        ++listed;
    }
    const std::int32_t left = announcement.lastIndex - index + 1;
    if (listed > 0 && left > 0) {
        notice.body +=
            '\n' + std::string(kMoreBefore) + text::DecimalText(left) + std::string(kMoreAfter);
    }
    return notice;
}

void DisplayCycle::notifyDesktopNow() {
    // A desktop without a notification service has nowhere else to show
    // it: the tray icon's mark still says that mail came.
    if (!os_.notifier.notify(AnnouncementNotice(display_))) {
        os_.diagnostics.warn("the desktop notification could not be shown");
    }
}

}  // namespace vantorel
