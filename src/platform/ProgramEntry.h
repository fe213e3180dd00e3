#pragma once
// Where a backend's entry point (main, wWinMain) hands over to the program.
// The backend makes its platform services; the program makes its own parts
// on them (the settings file, the binding of the mail library), runs, and
// lets go of them before the backend's services go. Defined by the program
// (app/), which knows every part.

#include <functional>
#include <string>

#include "platform/AppInfo.h"
#include "platform/ConnectionState.h"
#include "platform/DesktopNotifier.h"
#include "platform/FileDialog.h"
#include "platform/FileStore.h"
#include "platform/ForeignWindows.h"
#include "platform/MailLibrary.h"
#include "platform/MediaPlayer.h"
#include "platform/SessionAutostart.h"
#include "platform/TextCodec.h"
#include "platform/TokenCommand.h"
#include "platform/TrayShell.h"
#include "platform/WallClock.h"
#include "platform/WindowFramework.h"

namespace vantorel {

// Every service a backend provides.
struct BackendServices {
    platform::AppInfo& app;
    platform::FileSystem& files;
    platform::Diagnostics& diagnostics;
    // The settings file's text codec and its file access.
    platform::TextCodec& settingsCodec;
    platform::FileStore& settingsStore;
    platform::WindowFramework& ui;
    platform::TrayShell& tray;
    platform::ForeignWindows& windows;
    platform::ConnectionState& connection;
    platform::MediaPlayer& player;
    platform::FileDialogs& fileDialogs;
    // Loads the mail library, looking in `programFolder` first.
    platform::LibraryLoader& libraryLoader;
    std::string programFolder;
    platform::TokenCommand& tokenCommand;
    platform::WallClock& clock;
    platform::DesktopNotifier& notifier;
    platform::SessionAutostart& autostart;
};

// The backend's event loop: runs `start` (the main window's load step) once,
// as its first event or just before the loop, then handles events until the
// program ends, and returns the program's exit code.
using EventLoop = std::function<int(const std::function<void()>& start)>;

// Makes the program on `services`, runs `loop` and returns what it returns.
int RunProgram(const BackendServices& services, const EventLoop& loop);

}  // namespace vantorel
