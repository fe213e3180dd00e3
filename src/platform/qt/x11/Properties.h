#pragma once
// Window properties as raw bytes, and the window title they make up.

#include <optional>
#include <string>
#include <vector>

#include "platform/qt/x11/XlibCommon.h"

namespace vantorel::x11 {

// A property exactly as the server holds it, or its absence.
struct RawProperty {
    bool present = false;
    Atom type = 0;
    int format = 0;                   // 8, 16 or 32
    unsigned long items = 0;          // elements of `format` bits
    std::vector<unsigned char> data;  // as Xlib returns it: 32-bit items as longs
    bool whole = true;                // false when it was too large to read at once
};

// Reads the property (its first kMaxPropertyBytes when larger); nothing when
// the window is gone.
std::optional<RawProperty> ReadProperty(Display* display, Window window, Atom property);

// The elements of a 32-bit property (atoms, windows, numbers); none when
// the property is absent or of another format.
std::vector<unsigned long> LongsOf(const RawProperty& property);

// Puts `value` back as it was read, deleting the property when it was
// absent. Makes the requests only; the caller checks for errors.
void WriteProperty(Display* display, Window window, Atom property, const RawProperty& value);

// The title shown from the two name properties: _NET_WM_NAME when it holds
// UTF-8 text, otherwise WM_NAME converted to UTF-8.
std::string TitleFrom(Display* display, const Atoms& atoms, const RawProperty& netWmName,
                      const RawProperty& wmName);

// Writes `utf8` as _NET_WM_NAME (UTF8_STRING) and as WM_NAME (STRING when
// Latin-1 holds it, else compound text, else UTF8_STRING). Makes the
// requests only.
void WriteTitle(Display* display, const Atoms& atoms, Window window, const std::string& utf8);

}  // namespace vantorel::x11
