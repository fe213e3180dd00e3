#pragma once
// The common file-open dialog, one object per window that uses it.

#include <memory>
#include <string>
#include <string_view>

namespace vantorel::platform {

class FileDialog {
  public:
    virtual ~FileDialog() = default;

    // The filter in the form "description|pattern", as "WAVファイル(*.wav)|*.wav".
    virtual void setFilter(std::string_view filter) = 0;

    // Shows the dialog modally and returns when it closes. A choice replaces
    // fileName(); a cancelled dialog leaves it as it was.
    virtual void showOpen() = 0;

    // The name the dialog holds: the last file chosen, "" before any choice.
    virtual std::string fileName() = 0;
};

class FileDialogs {
  public:
    virtual ~FileDialogs() = default;

    // A new dialog holding no file name. Never null.
    virtual std::unique_ptr<FileDialog> createFileDialog() = 0;
};

}  // namespace vantorel::platform
