#include "platform/win32/OpenFileDialog.h"

#include <windows.h>
// The common dialog headers need the types of windows.h first.
#include <cderr.h>
#include <commdlg.h>

#include "platform/win32/WideText.h"

namespace vantorel::win32 {

namespace {

constexpr DWORD kNameBuffer = 32768;  // the longest path Windows knows

bool RunDialog(const std::wstring& filter, std::wstring& name) {
    std::wstring buffer = name;
    buffer.resize(kNameBuffer, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = kNameBuffer;
    // The current folder stays where it was: the program finds its files
    // through its own folder, never through the current one.
    dialog.Flags =
        OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&dialog)) {
        return false;
    }
    name = buffer.c_str();
    return true;
}

}  // namespace

std::wstring DialogFilter(std::string_view filter) {
    std::wstring parts = Widen(filter);
    for (wchar_t& c : parts) {
        if (c == L'|') {
            c = L'\0';
        }
    }
    if (!parts.empty()) {
        parts += L'\0';
        parts += L'\0';
    }
    return parts;
}

void OpenFileDialog::showOpen() {
    const std::wstring filter = DialogFilter(filter_);
    std::wstring name = Widen(fileName_);
    if (RunDialog(filter, name)) {
        fileName_ = Narrow(name);
        return;
    }
    // A held name the dialog cannot start from (a folder that is gone, a
    // name too long) must not keep the user from choosing: start empty.
    if (CommDlgExtendedError() == FNERR_INVALIDFILENAME) {
        name.clear();
        if (RunDialog(filter, name)) {
            fileName_ = Narrow(name);
        }
    }
}

}  // namespace vantorel::win32
