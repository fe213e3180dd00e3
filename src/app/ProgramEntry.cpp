#include "platform/ProgramEntry.h"

#include "app/App.h"
#include "mail/PopmailLibrary.h"
#include "platform/Platform.h"
#include "settings/IniProfile.h"

namespace vantorel {

int RunProgram(const BackendServices& services, const EventLoop& loop) {
    IniProfile profile(services.settingsCodec, services.settingsStore);
    PopmailLibrary mail(services.libraryLoader, services.diagnostics, services.programFolder);
    platform::Platform os{services.app,
                          services.files,
                          services.diagnostics,
                          profile,
                          services.ui,
                          services.tray,
                          services.windows,
                          services.connection,
                          services.player,
                          services.fileDialogs,
                          mail,
                          services.tokenCommand,
                          services.clock,
                          services.notifier,
                          services.autostart};
    App program(os);
    return loop([&] { program.start(); });
}

}  // namespace vantorel
