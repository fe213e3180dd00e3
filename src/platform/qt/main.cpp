// Vantorel on the Linux desktop: Qt Widgets for the program's own windows
// and the tray, Xlib for other programs' windows, POSIX for the rest.

#include <sys/prctl.h>

#include <QApplication>

#include "platform/FileStore.h"
#include "platform/ProgramEntry.h"
#include "platform/SystemTextCodec.h"
#include "platform/posix/DlLibraryLoader.h"
#include "platform/posix/InterfaceConnection.h"
#include "platform/posix/LocalClock.h"
#include "platform/posix/PosixAppInfo.h"
#include "platform/posix/ShellTokenCommand.h"
#include "platform/posix/XdgAutostart.h"
#include "platform/qt/AppSetup.h"
#include "platform/qt/DBusNotifier.h"
#include "platform/qt/ForeignWindowsChoice.h"
#include "platform/qt/QtFileDialogs.h"
#include "platform/qt/QtSoundPlayer.h"
#include "platform/qt/QtTrayShell.h"
#include "platform/qt/QtWindowFramework.h"
#include "platform/qt/SessionEnd.h"

int main(int argc, char** argv) {
    // The settings hold the mail password: a crash must not write it into a
    // core file (and other processes of the user may not attach to read it).
    prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
    using namespace vantorel;
    QApplication app(argc, argv);
    qt::SetUpApplication(app);

    posix::PosixAppInfo appInfo;
    posix::PosixFileSystem files;
    posix::StderrDiagnostics diagnostics;
    const auto codec = MakeSystemTextCodec();
    const auto fileStore = platform::MakeFileStore();
    qt::QtWindowFramework ui(diagnostics);
    qt::QtTrayShell tray(ui, diagnostics);
    const auto windows = qt::MakeForeignWindows(diagnostics);
    posix::InterfaceConnection connection;
    posix::DlLibraryLoader loader;
    qt::QtSoundPlayer player(loader, diagnostics);
    qt::QtFileDialogs fileDialogs;
    posix::ShellTokenCommand tokenCommand;
    posix::LocalClock clock;
    qt::DBusNotifier notifier;
    posix::XdgAutostart autostart = posix::XdgAutostart::ForThisProgram();
    qt::SessionEnd sessionEnd(ui);

    const BackendServices services{.app = appInfo,
                                   .files = files,
                                   .diagnostics = diagnostics,
                                   .settingsCodec = *codec,
                                   .settingsStore = *fileStore,
                                   .ui = ui,
                                   .tray = tray,
                                   .windows = *windows,
                                   .connection = connection,
                                   .player = player,
                                   .fileDialogs = fileDialogs,
                                   .libraryLoader = loader,
                                   .programFolder = posix::ExecutableFolder(),
                                   .tokenCommand = tokenCommand,
                                   .clock = clock,
                                   .notifier = notifier,
                                   .autostart = autostart};
    const int exitCode = RunProgram(services, [&](const std::function<void()>& start) {
        ui.raise(start);
        return QApplication::exec();
    });
    // Windows closed during the last event are deleted before Qt goes.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return exitCode;
}
