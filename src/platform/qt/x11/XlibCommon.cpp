#include "platform/qt/x11/XlibCommon.h"

namespace vantorel::x11 {

bool InternAtoms(Display* display, Atoms& atoms) {
    constexpr int kCount = 8;
    char* names[kCount] = {
        const_cast<char*>("UTF8_STRING"),
        const_cast<char*>("COMPOUND_TEXT"),
        const_cast<char*>("_NET_WM_NAME"),
        const_cast<char*>("WM_STATE"),
        const_cast<char*>("_NET_ACTIVE_WINDOW"),
        const_cast<char*>("_NET_SUPPORTED"),
        const_cast<char*>("_NET_WM_STATE"),
        const_cast<char*>("_NET_WM_STATE_DEMANDS_ATTENTION"),
    };
    Atom values[kCount] = {};
    if (XInternAtoms(display, names, kCount, False, values) == 0) {
        return false;
    }
    atoms = Atoms{values[0], values[1], values[2], values[3],
                  values[4], values[5], values[6], values[7]};
    return true;
}

}  // namespace vantorel::x11
