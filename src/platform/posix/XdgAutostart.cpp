#include "platform/posix/XdgAutostart.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string_view>

#include "platform/TemporaryName.h"
#include "platform/posix/SettingsFolder.h"
#include "platform/posix/UserSession.h"

namespace vantorel::posix {

namespace {

constexpr std::string_view kGroupHeader = "[Desktop Entry]";
// The characters the desktop entry rules reserve in an Exec argument; an
// argument holding one must be quoted.
constexpr std::string_view kReservedInExec = " \t\n\"'\\><~|&;$*?#()`";
// Inside a quoted argument these take a backslash.
constexpr std::string_view kEscapedInQuotes = "\"`$\\";
// An autostart entry is a few hundred bytes; anything far larger is not one
// of ours, and is not read whole.
constexpr std::size_t kLargestEntry = 64 * 1024;
constexpr mode_t kEntryMode = 0644;

// The file's own escapes of a string value, undone.
std::string UnescapeValue(std::string_view value) {
    std::string plain;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            plain += value[i];
            continue;
        }
        switch (value[++i]) {
            case 's':
                plain += ' ';
                break;
            case 'n':
                plain += '\n';
                break;
            case 't':
                plain += '\t';
                break;
            case 'r':
                plain += '\r';
                break;
            case '\\':
                plain += '\\';
                break;
            default:  // not an escape of the file: both characters stand
                plain += '\\';
                plain += value[i];
                break;
        }
    }
    return plain;
}

std::string EscapeValue(std::string_view plain) {
    std::string value;
    for (const char c : plain) {
        switch (c) {
            case '\\':
                value += "\\\\";
                break;
            case '\n':
                value += "\\n";
                break;
            case '\t':
                value += "\\t";
                break;
            case '\r':
                value += "\\r";
                break;
            default:
                value += c;
                break;
        }
    }
    return value;
}

std::string DoublePercent(std::string_view text) {
    std::string doubled;
    for (const char c : text) {
        doubled += c;
        if (c == '%') {
            doubled += '%';
        }
    }
    return doubled;
}

std::string UndoublePercent(std::string_view text) {
    std::string single;
    for (std::size_t i = 0; i < text.size(); ++i) {
        single += text[i];
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == '%') {
            ++i;
        }
    }
    return single;
}

// The program of an Exec command line (its first argument, unquoted); no
// value when a quote is left open.
std::optional<std::string> ExecProgram(std::string_view command) {
    std::size_t i = command.find_first_not_of(" \t");
    if (i == std::string_view::npos) {
        return std::string();
    }
    std::string program;
    if (command[i] != '"') {
        const std::size_t end = command.find_first_of(" \t", i);
        program = command.substr(i, end == std::string_view::npos ? end : end - i);
        return UndoublePercent(program);
    }
    for (++i; i < command.size(); ++i) {
        const char c = command[i];
        if (c == '"') {
            return UndoublePercent(program);
        }
        if (c == '\\' && i + 1 < command.size() &&
            kEscapedInQuotes.find(command[i + 1]) != std::string_view::npos) {
            ++i;
        }
        program += command[i];
    }
    return std::nullopt;
}

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// The keys of the entry's "[Desktop Entry]" group that decide whether it
// starts the program.
struct EntryKeys {
    std::optional<std::string> exec;
    bool hidden = false;
    bool switchedOff = false;
};

EntryKeys ReadKeys(const std::string& fileText) {
    EntryKeys keys;
    std::istringstream lines(fileText);
    std::string line;
    bool inGroup = false;
    while (std::getline(lines, line)) {
        const std::string_view text = Trim(line);
        if (text.empty() || text.front() == '#') {
            continue;
        }
        if (text.front() == '[') {
            inGroup = text == kGroupHeader;
            continue;
        }
        const std::size_t equals = text.find('=');
        if (!inGroup || equals == std::string_view::npos) {
            continue;
        }
        const std::string_view key = Trim(text.substr(0, equals));
        const std::string value = UnescapeValue(Trim(text.substr(equals + 1)));
        if (key == "Exec") {
            keys.exec = value;
        } else if (key == "Hidden") {
            keys.hidden = value == "true";
        } else if (key == "X-GNOME-Autostart-enabled") {
            keys.switchedOff = value == "false";
        }
    }
    return keys;
}

bool NamesProgram(const EntryKeys& keys, const std::string& executable) {
    if (!keys.exec || executable.empty()) {
        return false;
    }
    const auto program = ExecProgram(*keys.exec);
    return program && *program == executable;
}

// The entry file's text; no value when it does not exist. `problem` says
// why it could not be read otherwise.
std::optional<std::string> ReadEntry(const std::string& path, std::string& problem) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        if (errno != ENOENT) {
            problem = path + ": " + std::strerror(errno);
        }
        return std::nullopt;
    }
    std::string text(kLargestEntry, '\0');
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(file.gcount()));
    return text;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos || slash == 0 ? "/" : path.substr(0, slash);
}

std::string SystemProblem(const std::string& path) {
    return path + ": " + std::strerror(errno);
}

bool WriteAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Writes `bytes` to a new file beside `path` and renames it over `path`,
// so that a failure at any step leaves the old entry whole.
platform::AutostartOutcome ReplaceFile(const std::string& path, std::string_view bytes) {
    const std::string temporary =
        platform::TemporaryNameFor(path, platform::RandomTemporaryNumber());
    const int descriptor =
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kEntryMode);
    if (descriptor < 0) {
        return platform::AutostartOutcome::Failed(SystemProblem(temporary));
    }
    const bool written = WriteAll(descriptor, bytes) && ::fsync(descriptor) == 0;
    const int writeError = errno;
    const bool closed = ::close(descriptor) == 0;
    if (!written || !closed) {
        errno = written ? errno : writeError;
        std::string problem = SystemProblem(temporary);
        ::unlink(temporary.c_str());
        return platform::AutostartOutcome::Failed(std::move(problem));
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        std::string problem = SystemProblem(path);
        ::unlink(temporary.c_str());
        return platform::AutostartOutcome::Failed(std::move(problem));
    }
    return platform::AutostartOutcome::Done();
}

}  // namespace

std::string AutostartEntryPath(const std::string& xdgConfigHome, const std::string& home) {
    return XdgConfigFolder(xdgConfigHome, home) + "/autostart/" + kAutostartFileName;
}

std::string DesktopExecValue(const std::string& executable) {
    std::string argument = DoublePercent(executable);
    if (argument.find_first_of(kReservedInExec) != std::string::npos) {
        std::string quoted = "\"";
        for (const char c : argument) {
            if (kEscapedInQuotes.find(c) != std::string_view::npos) {
                quoted += '\\';
            }
            quoted += c;
        }
        argument = quoted + "\"";
    }
    return EscapeValue(argument);
}

std::string AutostartEntryText(const std::string& executable) {
    return std::string(kGroupHeader) +
           "\n"
           "Type=Application\n"
           "Name=Vantorel\n"
           "Comment=POP3 着信通知\n"
           "Exec=" +
           DesktopExecValue(executable) +
           "\n"
           "Icon=vantorel\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

bool EntryStarts(const std::string& fileText, const std::string& executable) {
    const EntryKeys keys = ReadKeys(fileText);
    return !keys.hidden && !keys.switchedOff && NamesProgram(keys, executable);
}

XdgAutostart XdgAutostart::ForThisProgram() {
    return XdgAutostart(AutostartEntryPath(Environment("XDG_CONFIG_HOME"), HomeFolder()),
                        RunningExecutable());
}

bool XdgAutostart::registered() {
    std::string problem;
    const auto text = ReadEntry(entryPath_, problem);
    return text && EntryStarts(*text, executable_);
}

platform::AutostartOutcome XdgAutostart::add() {
    if (executable_.empty()) {
        return platform::AutostartOutcome::Failed(
            "/proc/self/exe: the program's own path is unknown");
    }
    const std::string folder = FolderOf(entryPath_);
    if (!MakeFolders(folder)) {
        return platform::AutostartOutcome::Failed(SystemProblem(folder));
    }
    return ReplaceFile(entryPath_, AutostartEntryText(executable_));
}

platform::AutostartOutcome XdgAutostart::remove() {
    std::string problem;
    const auto text = ReadEntry(entryPath_, problem);
    if (!text) {
        return problem.empty() ? platform::AutostartOutcome::Done()
                               : platform::AutostartOutcome::Failed(problem);
    }
    if (!NamesProgram(ReadKeys(*text), executable_)) {
        return platform::AutostartOutcome::Done();  // another program's entry stays
    }
    if (::unlink(entryPath_.c_str()) != 0 && errno != ENOENT) {
        return platform::AutostartOutcome::Failed(SystemProblem(entryPath_));
    }
    return platform::AutostartOutcome::Done();
}

}  // namespace vantorel::posix
