#include "notify/NoticeText.h"

#include <algorithm>

#include "text/NumberText.h"
#include "text/ReplaceAll.h"

namespace vantorel {

namespace {

constexpr std::string_view kMailsHaveArrived = "通メールが来ています。";
constexpr std::string_view kThatIsAll = "以上";
constexpr std::string_view kNthMail = "通目:";

constexpr std::size_t kSubjectMarkerLength = 8;  // "Subject:"
constexpr std::string_view kEmptySummary = "Subject:\tFrom:\tDate:";
constexpr std::string_view kTabFrom = "\tFrom:";
constexpr std::string_view kTabDate = "\tDate:";
constexpr char kSpace = ' ';
constexpr unsigned char kFirstNonAscii = 0x80;

bool StartsWithAsciiMarker(std::string_view entry) {
    if (entry.size() < kSubjectMarkerLength) {
        return false;
    }
    const std::string_view marker = entry.substr(0, kSubjectMarkerLength);
    return std::all_of(marker.begin(), marker.end(),
                       [](char c) { return static_cast<unsigned char>(c) < kFirstNonAscii; });
}

}  // namespace

std::string ArrivalNotice(std::int32_t newCount) {
    return text::DecimalText(newCount) + std::string(kMailsHaveArrived);
}

std::string ClosingNotice(std::int32_t newCount) {
    return std::string(kThatIsAll) + ArrivalNotice(newCount);
}

std::string MessageNotice(std::int32_t number, std::string_view labelledEntry) {
    return text::DecimalText(number) + std::string(kNthMail) + std::string(labelledEntry);
}

std::string LabelledEntry(std::string_view entry, std::string_view subjectLabel,
                          std::string_view fromLabel, std::string_view dateLabel) {
    const std::string_view summary = StartsWithAsciiMarker(entry) ? entry : kEmptySummary;
    std::string labelled =
        std::string(subjectLabel) + std::string(summary.substr(kSubjectMarkerLength));
    text::ReplaceAll(labelled, kTabFrom, kSpace + std::string(fromLabel));
    text::ReplaceAll(labelled, kTabDate, kSpace + std::string(dateLabel));
    return labelled;
}

}  // namespace vantorel
