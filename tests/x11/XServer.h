#pragma once
// A private X server for one test: Xvfb on a display number it picks
// itself, and openbox on it when the test needs a window manager. Both end
// with the object, and with the test process should it die first.

#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

struct _XDisplay;

namespace vantorel::x11::test {

class ChildProcess {
  public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess() { stop(); }

    // Starts `program` (searched in PATH) with `arguments`, its output sent
    // to `logFile`, and `environment` ("NAME=value" lines) added to ours;
    // `keepFd` stays open in the child. False when it cannot be started.
    bool start(const std::string& program, const std::vector<std::string>& arguments,
               const std::vector<std::string>& environment, const std::string& logFile,
               int keepFd = -1);
    // Asks it to end, then ends it; waits for it either way.
    void stop();
    bool running();

  private:
    pid_t pid_ = -1;
};

class XServer {
  public:
    enum class WindowManager { Absent, Openbox };

    // Null, with the reason in `error`, when a program cannot be started.
    static std::unique_ptr<XServer> start(WindowManager manager, std::string& error);
    ~XServer();

    const std::string& displayName() const { return displayName_; }

  private:
    XServer() = default;
    bool startXvfb(std::string& error);
    bool startOpenbox(std::string& error);

    std::string folder_;  // HOME and XDG folders of the window manager, logs
    std::string displayName_;
    _XDisplay* prober_ = nullptr;  // Xlib's Display, once the window manager runs
    ChildProcess xvfb_;
    ChildProcess openbox_;
};

}  // namespace vantorel::x11::test
