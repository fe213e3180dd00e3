#pragma once
// Loads shared libraries with dlopen: beside the executable first, then
// from the system's library path.

#include <string>

#include "platform/MailLibrary.h"

namespace vantorel::posix {

class DlLibraryLoader : public platform::LibraryLoader {
  public:
    void* load(const std::string& baseName) override;
    void* symbol(void* library, const char* symbol) override;
    std::string lastError() override { return lastError_; }

  private:
    std::string lastError_;
};

// The folder of the running executable ("" when unknown).
std::string ExecutableFolder();

}  // namespace vantorel::posix
