// On Windows the client is never destroyed, and popmail.dll stays in the
// process once it has been called:
// - FreeLibrary runs a DLL's static destructors under the loader lock.
//   Joining the keeper's thread there deadlocks (the thread's own exit
//   needs that lock), and not joining it would unmap code the thread still
//   runs. So the first call pins the DLL (FreeLibrary then leaves it in
//   place), and the keeper goes on sending QUIT for a kept session within
//   kSessionKeepAlive, as it does while the program runs.
// - At the process's exit Windows has already ended the keeper's thread,
//   perhaps while it held the keeper's lock, before the DLL hears of it; and
//   the TLS code a QUIT would need may already be detached. Nothing of the
//   client runs then: a session still kept (at most kSessionKeepAlive after
//   a STAT no LIST followed) is closed by the system with the process. The
//   server ends it without the UPDATE state, and nothing is lost, since
//   the library never deletes mail.
// A DLL that was loaded but never called unloads normally.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "api/Library.h"

namespace popmail::api {
namespace {

// Any address inside popmail.dll names the module to pin.
const char kAddressInThisModule = 0;

void PinThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&kAddressInThisModule), &module);
}

}  // namespace

Library& TheLibrary() {
    static Library* const library = [] {
        PinThisModule();
        return new Library;
    }();
    return *library;
}

}  // namespace popmail::api
