#pragma once
// The settings file's reads and atomic, private replacements on Windows.

#include <functional>
#include <string>
#include <string_view>

#include "platform/FileStore.h"

namespace vantorel::win32 {

class Win32FileStore : public platform::FileStore {
  public:
    // Called with the temporary file's path right after it was created,
    // before a byte is written: lets a test look at the new file as it
    // first appears.
    using CreatedHook = std::function<void(const std::string& temporaryPath)>;

    Win32FileStore() = default;
    explicit Win32FileStore(CreatedHook onTemporaryCreated)
        : onTemporaryCreated_(std::move(onTemporaryCreated)) {}

    platform::FileBytes readWhole(const std::string& path, std::size_t maxBytes) override;
    // The new file's access list grants the user and the system account
    // alone, and inherits nothing from the folder.
    bool replaceWhole(const std::string& path, std::string_view bytes) override;
    bool isWriteProtected(const std::string& path) override;
    platform::AsideOutcome keepAside(const std::string& path,
                                     const std::string& asidePath) override;

  private:
    CreatedHook onTemporaryCreated_;
};

}  // namespace vantorel::win32
