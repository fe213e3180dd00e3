// The Windows program: the platform services on Win32, the main window and
// its load step, then the message loop until the program ends.

#include <windows.h>
// commctrl.h needs the types of windows.h first.
#include <commctrl.h>

#include "platform/FileStore.h"
#include "platform/ProgramEntry.h"
#include "platform/SystemTextCodec.h"
#include "platform/win32/MciPlayer.h"
#include "platform/win32/OpenFileDialog.h"
#include "platform/win32/RunKeyAutostart.h"
#include "platform/win32/ShellTray.h"
#include "platform/win32/TrayBalloon.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32AppInfo.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Connection.h"
#include "platform/win32/Win32ForeignWindows.h"
#include "platform/win32/Win32LibraryLoader.h"
#include "platform/win32/Win32TokenCommand.h"
#include "platform/win32/Win32Ui.h"

namespace {

int RunOnWin32(HINSTANCE instance) {
    using namespace vantorel;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    win32::Win32AppInfo app;
    win32::Win32FileSystem files;
    win32::Win32Diagnostics diagnostics;
    const auto codec = MakeSystemTextCodec();
    const auto fileStore = platform::MakeFileStore();
    win32::Win32Ui ui(instance, diagnostics);
    win32::ShellTray tray;
    win32::Win32ForeignWindows windows;
    win32::Win32Connection connection;
    win32::MciPlayer player;
    win32::Win32FileDialogs fileDialogs;
    win32::Win32LibraryLoader loader(app);
    win32::Win32TokenCommand tokenCommand;
    win32::Win32Clock clock;
    win32::TrayBalloon notifier(tray);
    win32::RunKeyAutostart autostart = win32::RunKeyAutostart::ForThisProgram();

    const BackendServices services{.app = app,
                                   .files = files,
                                   .diagnostics = diagnostics,
                                   .settingsCodec = *codec,
                                   .settingsStore = *fileStore,
                                   .ui = ui,
                                   .tray = tray,
                                   .windows = windows,
                                   .connection = connection,
                                   .player = player,
                                   .fileDialogs = fileDialogs,
                                   .libraryLoader = loader,
                                   .programFolder = app.path(),
                                   .tokenCommand = tokenCommand,
                                   .clock = clock,
                                   .notifier = notifier,
                                   .autostart = autostart};
    return RunProgram(services, [&](const std::function<void()>& start) {
        start();
        return ui.run();
    });
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    try {
        return RunOnWin32(instance);
    } catch (const std::exception& failure) {
        // An unhandled run-time failure: say what it was rather than vanish.
        const std::wstring text = vantorel::win32::Widen(failure.what());
        MessageBoxW(nullptr, text.c_str(), L"Vantorel", MB_OK | MB_ICONERROR | MB_TASKMODAL);
        return 1;
    }
}
