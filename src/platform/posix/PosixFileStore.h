#pragma once
// The settings file's reads and atomic, private replacements on POSIX.

#include <functional>
#include <string>
#include <string_view>

#include "platform/FileStore.h"

namespace vantorel::posix {

class PosixFileStore : public platform::FileStore {
  public:
    // Called with the temporary file's path right after it was created,
    // before a byte is written: lets a test look at the new file as it
    // first appears.
    using CreatedHook = std::function<void(const std::string& temporaryPath)>;

    PosixFileStore() = default;
    explicit PosixFileStore(CreatedHook onTemporaryCreated)
        : onTemporaryCreated_(std::move(onTemporaryCreated)) {}

    platform::FileBytes readWhole(const std::string& path, std::size_t maxBytes) override;
    bool replaceWhole(const std::string& path, std::string_view bytes) override;
    bool isWriteProtected(const std::string& path) override;
    platform::AsideOutcome keepAside(const std::string& path,
                                     const std::string& asidePath) override;

  private:
    CreatedHook onTemporaryCreated_;
};

}  // namespace vantorel::posix
