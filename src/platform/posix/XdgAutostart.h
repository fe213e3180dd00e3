#pragma once
// Starting with the session on a freedesktop desktop: a desktop entry file
// "vantorel.desktop" in the user's autostart folder
// ($XDG_CONFIG_HOME/autostart, by default ~/.config/autostart), whose Exec
// line names this program's executable by its absolute path.

#include <string>
#include <utility>

#include "platform/SessionAutostart.h"

namespace vantorel::posix {

// The file name of the program's autostart entry.
inline constexpr const char* kAutostartFileName = "vantorel.desktop";

// The entry's full path for the given $XDG_CONFIG_HOME ("" when unset) and
// home folder.
std::string AutostartEntryPath(const std::string& xdgConfigHome, const std::string& home);

// `executable` as the Exec key's value: quoted when it holds a character
// the desktop entry rules reserve, with "%" doubled and the file's own
// escapes (backslash, new line, tab, carriage return) applied last.
std::string DesktopExecValue(const std::string& executable);

// The whole autostart entry for `executable`.
std::string AutostartEntryText(const std::string& executable);

// Whether the entry `fileText` is switched on (neither "Hidden=true" nor
// "X-GNOME-Autostart-enabled=false") and its Exec line's program is
// exactly `executable`.
bool EntryStarts(const std::string& fileText, const std::string& executable);

class XdgAutostart : public platform::SessionAutostart {
  public:
    // `entryPath` is the entry file; `executable` this program's absolute path.
    XdgAutostart(std::string entryPath, std::string executable)
        : entryPath_(std::move(entryPath)), executable_(std::move(executable)) {}

    // The entry of the running program, in the running user's folder.
    static XdgAutostart ForThisProgram();

    bool registered() override;
    platform::AutostartOutcome add() override;
    platform::AutostartOutcome remove() override;

    const std::string& entryPath() const { return entryPath_; }

  private:
    std::string entryPath_;
    std::string executable_;
};

}  // namespace vantorel::posix
