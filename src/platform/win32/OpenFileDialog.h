#pragma once
// The common file-open dialog (GetOpenFileNameW).

#include <string>

#include "platform/FileDialog.h"

namespace vantorel::win32 {

class OpenFileDialog : public platform::FileDialog {
  public:
    void setFilter(std::string_view filter) override { filter_ = filter; }
    void showOpen() override;
    std::string fileName() override { return fileName_; }

  private:
    std::string filter_;
    std::string fileName_;
};

class Win32FileDialogs : public platform::FileDialogs {
  public:
    std::unique_ptr<platform::FileDialog> createFileDialog() override {
        return std::make_unique<OpenFileDialog>();
    }
};

// The dialog's filter from "description|pattern|description|pattern": the
// parts separated by NULs and ended by two.
std::wstring DialogFilter(std::string_view filter);

}  // namespace vantorel::win32
