#pragma once
// Every platform service the program uses, in one place. A backend (or the
// tests' recording fake) fills it in and hands it to the program.

#include "platform/AppInfo.h"
#include "platform/ConnectionState.h"
#include "platform/DesktopNotifier.h"
#include "platform/FileDialog.h"
#include "platform/ForeignWindows.h"
#include "platform/MailLibrary.h"
#include "platform/MediaPlayer.h"
#include "platform/Profile.h"
#include "platform/SessionAutostart.h"
#include "platform/TokenCommand.h"
#include "platform/TrayShell.h"
#include "platform/WallClock.h"
#include "platform/WindowFramework.h"

namespace vantorel::platform {

struct Platform {
    AppInfo& app;
    FileSystem& files;
    Diagnostics& diagnostics;
    Profile& profile;
    WindowFramework& ui;
    TrayShell& tray;
    ForeignWindows& windows;
    ConnectionState& connection;
    MediaPlayer& player;
    FileDialogs& fileDialogs;
    MailLibrary& mail;
    TokenCommand& tokenCommand;
    WallClock& clock;
    DesktopNotifier& notifier;
    SessionAutostart& autostart;
};

}  // namespace vantorel::platform
