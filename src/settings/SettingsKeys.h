#pragma once
// Sections, keys and defaults of the settings file, exactly as the file
// spells them. Files written by earlier versions rely on these names.

#include <string_view>

namespace vantorel::keys {

constexpr std::string_view kUserInfo = "USERINFO";
constexpr std::string_view kRemoteHost = "REMOTEHOST";
constexpr std::string_view kUserName = "USERNAME";
constexpr std::string_view kPassword = "PASSWORD";
constexpr std::string_view kInterval = "INTERVAL";
constexpr std::string_view kTimer = "TIMER";
constexpr std::string_view kStartUp = "STARTUP";
// A command that prints an OAuth 2.0 access token; when set, logins use the
// token instead of PASSWORD.
constexpr std::string_view kTokenCmd = "TOKENCMD";

constexpr std::string_view kOption = "OPTION";
constexpr std::string_view kZeroCheck = "ZEROCHECK";
constexpr std::string_view kTitleCallBack = "TitleCallBack";
// Holds the state of "エラーを表示": "True" means errors ARE shown.
constexpr std::string_view kIgnoreErr = "IGNOREERR";
constexpr std::string_view kOnMouse = "ONMOUSE";
constexpr std::string_view kCheckOnce = "CHECKONCE";
// "True": every announcement is also shown as a desktop notification.
constexpr std::string_view kNotify = "NOTIFY";

constexpr std::string_view kSound = "SOUND";
constexpr std::string_view kEnable = "ENABLE";
constexpr std::string_view kWavePath = "WAVEPATH";

constexpr std::string_view kTitleBar = "TITLEBAR";
constexpr std::string_view kSubject = "SUBJECT";
constexpr std::string_view kFrom = "FROM";
constexpr std::string_view kDate = "DATE";

// Defaults.
constexpr std::string_view kEmpty = "";
constexpr std::string_view kDefaultInterval = "3";
constexpr std::string_view kTrueText = "True";
constexpr std::string_view kFalseText = "False";
constexpr std::string_view kSoundOn = "TRUE";
constexpr std::string_view kSoundOff = "FALSE";
constexpr std::string_view kDefaultSubjectLabel = "Subject:";
constexpr std::string_view kDefaultFromLabel = "From:";
constexpr std::string_view kDefaultDateLabel = "Date:";

}  // namespace vantorel::keys
