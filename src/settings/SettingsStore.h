#pragma once
// The settings store: one INI file beside the executable, read and written
// one key at a time, with no cache: every call goes to the file.

#include <string>
#include <string_view>

#include "platform/AppInfo.h"
#include "platform/Profile.h"

namespace vantorel {

class SettingsStore {
  public:
    SettingsStore(platform::AppInfo& app, platform::Profile& profile)
        : app_(app), profile_(profile) {}

    // The value under section/key, whole, or `fallback` when there is none.
    std::string read(std::string_view section, std::string_view key, std::string_view fallback);

    // Stores the value at once. False when it could not be stored.
    bool write(std::string_view section, std::string_view key, std::string_view value);

    // Once at start-up, before the first read: clears away what
    // interrupted writes left and says whether the file can be read.
    platform::FileCondition prepareFile();

    // The settings file that reads and writes reach.
    std::string filePath();

    // The "save" folder beside the settings file, handed to the mail library.
    std::string saveFolder();

  private:
    platform::AppInfo& app_;
    platform::Profile& profile_;
};

}  // namespace vantorel
