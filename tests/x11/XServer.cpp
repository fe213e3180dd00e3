#include "x11/XServer.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace vantorel::x11::test {

namespace {
using namespace std::chrono_literals;
constexpr auto kStartTimeout = 10s;
constexpr auto kStopTimeout = 3s;
constexpr auto kPollStep = 10ms;
constexpr auto kProbeLimit = 300ms;
constexpr int kPollStepMs = 10;

std::string FindInPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string folders = path != nullptr ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        const std::size_t end = std::min(folders.find(':', start), folders.size());
        const std::string candidate = folders.substr(start, end - start) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        start = end + 1;
    }
    return {};
}

// Our environment with `overrides` ("NAME=value") put in.
std::vector<std::string> EnvironmentWith(const std::vector<std::string>& overrides) {
    std::vector<std::string> result;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string line = *entry;
        const std::string name = line.substr(0, line.find('=') + 1);
        bool replaced = false;
        for (const auto& override : overrides) {
            replaced = replaced || override.rfind(name, 0) == 0;
        }
        if (!replaced) {
            result.push_back(line);
        }
    }
    result.insert(result.end(), overrides.begin(), overrides.end());
    return result;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (auto& text : strings) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// Reads the display number Xvfb writes to `fd` once it listens.
std::string ReadDisplayNumber(int fd) {
    std::string number;
    const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd ready{fd, POLLIN, 0};
        if (poll(&ready, 1, kPollStepMs) <= 0) {
            continue;
        }
        char c = 0;
        if (read(fd, &c, 1) != 1) {
            break;
        }
        if (c == '\n') {
            return number;
        }
        number += c;
    }
    return {};
}

// What a program wrote, for the message of a failed start (the folder
// holding it goes with the server).
std::string LogText(const std::string& path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

bool HasProperty(Display* display, Window window, Atom property) {
    int count = 0;
    Atom* properties = XListProperties(display, window, &count);
    const bool found = properties != nullptr &&
                       std::find(properties, properties + count, property) != properties + count;
    if (properties != nullptr) {
        XFree(properties);
    }
    return found;
}

// True when the window manager takes a probe window into its care within
// `limit`. Openbox announces itself before it has finished starting and
// drops windows mapped in between, so only a managed window says it is
// ready.
bool ManagesAProbe(Display* display, std::chrono::milliseconds limit) {
    const Atom wmState = XInternAtom(display, "WM_STATE", False);
    const Window probe =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XMapWindow(display, probe);
    XSync(display, False);
    bool managed = false;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!managed && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(kPollStep);
        managed = HasProperty(display, probe, wmState);
    }
    XDestroyWindow(display, probe);
    XSync(display, False);
    return managed;
}

bool WaitForWindowManager(Display* display) {
    const Atom supported = XInternAtom(display, "_NET_SUPPORTED", False);
    bool ready = false;
    const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    while (!ready && std::chrono::steady_clock::now() < deadline) {
        ready = HasProperty(display, DefaultRootWindow(display), supported) &&
                ManagesAProbe(display, kProbeLimit);
        if (!ready) {
            std::this_thread::sleep_for(kPollStep);
        }
    }
    return ready;
}
}  // namespace

bool ChildProcess::start(const std::string& program, const std::vector<std::string>& arguments,
                         const std::vector<std::string>& environment, const std::string& logFile,
                         int keepFd) {
    std::string path = FindInPath(program);
    if (path.empty()) {
        return false;
    }
    std::vector<std::string> argv{path};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<std::string> envp = EnvironmentWith(environment);
    std::vector<char*> argPointers = Pointers(argv);
    std::vector<char*> envPointers = Pointers(envp);
    const int log = ::open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    const pid_t parent = getpid();

    pid_ = fork();
    if (pid_ == 0) {
        // Only async-signal-safe calls from here to exec.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) {
            _exit(1);
        }
        if (log >= 0) {
            dup2(log, STDOUT_FILENO);
            dup2(log, STDERR_FILENO);
        }
        if (keepFd >= 0) {
            fcntl(keepFd, F_SETFD, 0);
        }
        execve(path.c_str(), argPointers.data(), envPointers.data());
        _exit(127);
    }
    if (log >= 0) {
        close(log);
    }
    return pid_ > 0;
}

bool ChildProcess::running() {
    return pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0;
}

void ChildProcess::stop() {
    if (pid_ <= 0) {
        return;
    }
    kill(pid_, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + kStopTimeout;
    while (waitpid(pid_, nullptr, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
            break;
        }
        std::this_thread::sleep_for(kPollStep);
    }
    pid_ = -1;
}

std::unique_ptr<XServer> XServer::start(WindowManager manager, std::string& error) {
    std::unique_ptr<XServer> server(new XServer);
    std::string folder = (std::filesystem::temp_directory_path() / "vantorel-x11-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) {
        error = "cannot make a temporary folder";
        return nullptr;
    }
    server->folder_ = folder;
    if (!server->startXvfb(error)) {
        return nullptr;
    }
    if (manager == WindowManager::Openbox && !server->startOpenbox(error)) {
        return nullptr;
    }
    return server;
}

bool XServer::startXvfb(std::string& error) {
    int fds[2] = {-1, -1};
    if (pipe2(fds, O_CLOEXEC) != 0) {
        error = "cannot make a pipe";
        return false;
    }
    const bool started = xvfb_.start("Xvfb",
                                     {"-displayfd", std::to_string(fds[1]), "-screen", "0",
                                      "1024x768x24", "-nolisten", "tcp", "-noreset"},
                                     {}, folder_ + "/xvfb.log", fds[1]);
    close(fds[1]);
    const std::string number = started ? ReadDisplayNumber(fds[0]) : std::string();
    close(fds[0]);
    if (number.empty()) {
        error =
            started ? "Xvfb did not start: " + LogText(folder_ + "/xvfb.log") : "Xvfb not found";
        return false;
    }
    displayName_ = ":" + number;
    return true;
}

bool XServer::startOpenbox(std::string& error) {
    const std::vector<std::string> environment{"DISPLAY=" + displayName_,
                                               "HOME=" + folder_,
                                               "XDG_CONFIG_HOME=" + folder_ + "/config",
                                               "XDG_CACHE_HOME=" + folder_ + "/cache",
                                               "XDG_DATA_HOME=" + folder_ + "/data",
                                               "XDG_RUNTIME_DIR=" + folder_};
    if (!openbox_.start("openbox", {"--sm-disable"}, environment, folder_ + "/openbox.log")) {
        error = "openbox not found";
        return false;
    }
    // This connection stays open while the server runs: a client connecting
    // later would get the same window ids as the probes, and openbox may
    // still be saying goodbye to those.
    prober_ = XOpenDisplay(displayName_.c_str());
    if (prober_ == nullptr || !WaitForWindowManager(prober_)) {
        error = "openbox did not start: " + LogText(folder_ + "/openbox.log");
        return false;
    }
    return true;
}

XServer::~XServer() {
    if (prober_ != nullptr) {
        XCloseDisplay(prober_);
    }
    openbox_.stop();
    xvfb_.stop();
    if (!folder_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
}

}  // namespace vantorel::x11::test
