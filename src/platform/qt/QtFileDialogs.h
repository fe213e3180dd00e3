#pragma once
// The file-open dialog on QFileDialog. The program's filter form
// "description|pattern|..." becomes Qt's "description (pattern);;...".

#include <QString>
#include <string>
#include <string_view>

#include "platform/FileDialog.h"

namespace vantorel::qt {

// Qt's filter for a filter in the program's form. A description that
// already names its pattern in parentheses ("WAVファイル(*.wav)") is kept
// as it is; a pattern list "*.wav;*.wave" becomes "*.wav *.wave".
QString QtFilter(std::string_view filter);

class QtFileDialogs : public platform::FileDialogs {
  public:
    std::unique_ptr<platform::FileDialog> createFileDialog() override;
};

}  // namespace vantorel::qt
