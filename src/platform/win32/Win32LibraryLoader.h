#pragma once
// Loads a DLL by its base name: the copy beside the executable first (by its
// full path, so that no other folder is searched), then the system's.

#include "platform/AppInfo.h"
#include "platform/MailLibrary.h"

namespace vantorel::win32 {

class Win32LibraryLoader : public platform::LibraryLoader {
  public:
    explicit Win32LibraryLoader(platform::AppInfo& app) : app_(app) {}

    void* load(const std::string& baseName) override;
    void* symbol(void* library, const char* symbol) override;
    std::string lastError() override { return lastError_; }

  private:
    platform::AppInfo& app_;
    std::string lastError_;
};

// The system's text for a GetLastError code, without its line end.
std::string SystemErrorText(unsigned long code);

}  // namespace vantorel::win32
