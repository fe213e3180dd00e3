#pragma once
// Profile (INI file) functions: one key of one section of one file per call.
// Section and key names are matched without regard to letter case.

#include <string>
#include <string_view>

#include "platform/FileStore.h"

namespace vantorel::platform {

class Profile {
  public:
    virtual ~Profile() = default;

    // The value stored under section/key in the file at `path`, whole.
    // Returns `fallback` when the file, the section or the key is missing or
    // the file cannot be read; a key present with an empty value gives "".
    virtual std::string getString(std::string_view section, std::string_view key,
                                  std::string_view fallback, const std::string& path) = 0;

    // Stores `value` under section/key, creating the file, the section or the
    // key as needed. Returns false when the value is refused or the file
    // cannot be written; the file is then left as it was.
    virtual bool writeString(std::string_view section, std::string_view key, std::string_view value,
                             const std::string& path) = 0;

    // Once at start-up, before the first read: removes what interrupted
    // writes of earlier runs left beside the file, and says whether the
    // file can be read (Missing before the first write).
    virtual FileCondition prepare(const std::string& path) = 0;
};

}  // namespace vantorel::platform
