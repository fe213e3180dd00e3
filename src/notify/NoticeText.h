#pragma once
// The texts written into the target window's title bar.

#include <cstdint>
#include <string>
#include <string_view>

namespace vantorel {

// "3通メールが来ています。": how many mails the announcement is about.
std::string ArrivalNotice(std::int32_t newCount);

// "以上3通メールが来ています。": the last notice of an announcement.
std::string ClosingNotice(std::int32_t newCount);

// "1通目:" followed by the labelled summary of one message.
std::string MessageNotice(std::int32_t number, std::string_view labelledEntry);

// A summary entry of the mail library ("Subject:" subject TAB "From:" sender
// TAB "Date:" date) with the user's labels in place of the three markers.
// The first 8 bytes are taken as the subject marker without being looked
// at. An entry too short for that marker, or one whose start is not plain
// ASCII, shows the labels with empty fields, so that no character is cut.
std::string LabelledEntry(std::string_view entry, std::string_view subjectLabel,
                          std::string_view fromLabel, std::string_view dateLabel);

}  // namespace vantorel
