#include "platform/qt/SessionEnd.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QSessionManager>
#include <array>
#include <csignal>

#include "platform/qt/QtWindowFramework.h"

namespace vantorel::qt {

namespace {

constexpr std::array kEndingSignals{SIGTERM, SIGHUP, SIGINT};

// The signal handler only writes a byte; the event loop does the rest.
int signalPipe[2] = {-1, -1};

void OnSignal(int /*signal*/) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(signalPipe[1], &byte, 1);
}

}  // namespace

SessionEnd::SessionEnd(QtWindowFramework& ui) : ui_(ui) {
    QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, qGuiApp,
                     [this](QSessionManager&) { ui_.endSession(); });

    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) {
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] {
        char byte = 0;
        [[maybe_unused]] const ssize_t got = read(signalPipe[0], &byte, 1);
        // A second request means the first did not end the program (a box
        // of it may still be open): end the event loop now.
        if (++requests_ > 1) {
            QCoreApplication::exit(1);
            return;
        }
        ui_.endSession();
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kEndingSignals) {
        sigaction(signal, &action, nullptr);
    }
}

SessionEnd::~SessionEnd() {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int signal : kEndingSignals) {
        sigaction(signal, &action, nullptr);
    }
    notifier_.reset();
    for (int& fd : signalPipe) {
        if (fd >= 0) {
            close(fd);
            fd = -1;
        }
    }
}

}  // namespace vantorel::qt
