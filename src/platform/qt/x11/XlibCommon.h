#pragma once
// Xlib for the files of this folder only. Its macros (None, Bool, Status,
// Success) break Qt's headers, so nothing outside x11/ includes this file.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace vantorel::x11 {

// The atoms this backend reads and writes, interned once per connection.
struct Atoms {
    Atom utf8String = 0;
    Atom compoundText = 0;
    Atom netWmName = 0;
    Atom wmState = 0;
    Atom netActiveWindow = 0;
    Atom netSupported = 0;
    Atom netWmState = 0;
    Atom netWmStateDemandsAttention = 0;
};

// Interns every atom in one round trip; false when the server refused.
bool InternAtoms(Display* display, Atoms& atoms);

}  // namespace vantorel::x11
