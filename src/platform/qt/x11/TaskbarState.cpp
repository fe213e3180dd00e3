#include "platform/qt/x11/TaskbarState.h"

#include <algorithm>
#include <vector>

#include "platform/qt/x11/Properties.h"
#include "platform/qt/x11/XlibCommon.h"

namespace vantorel::x11 {

namespace {
constexpr int kAtomFormat = 32;
}  // namespace

void KeepOffTaskbar(void* opaqueDisplay, unsigned long window) {
    auto* display = static_cast<Display*>(opaqueDisplay);
    if (display == nullptr || window == 0) {
        return;
    }
    const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    std::vector<unsigned long> states;
    if (const auto current = ReadProperty(display, window, state)) {
        states = LongsOf(*current);
    }
    for (const char* name : {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"}) {
        const Atom wanted = XInternAtom(display, name, False);
        if (std::find(states.begin(), states.end(), wanted) == states.end()) {
            states.push_back(wanted);
        }
    }
    XChangeProperty(display, window, state, XA_ATOM, kAtomFormat, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(states.data()),
                    static_cast<int>(states.size()));
    XFlush(display);
}

}  // namespace vantorel::x11
