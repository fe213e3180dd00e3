#pragma once
// What the user is told at start-up when the settings file is there but
// cannot be read: the program then starts as on a first run, and the first
// save keeps the old file beside the new one.

#include <optional>
#include <string>

#include "platform/FileStore.h"

namespace vantorel {

struct SettingsFileNotice {
    std::string box;   // the message box text, several lines
    std::string line;  // the same on one line, for standard error
};

// Nothing for a file that was read or is missing (a first run).
std::optional<SettingsFileNotice> NoticeForSettingsFile(const std::string& path,
                                                        const platform::FileCondition& condition);

}  // namespace vantorel
