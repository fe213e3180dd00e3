#pragma once
// Finding our way through the window tree: the client windows that carry
// WM_STATE, the window manager's frames around them, owners and the
// pointer. Every function answers 0 (or nothing) when a window it needs
// has vanished; the caller holds an ErrorTrap.

#include <optional>
#include <vector>

#include "platform/qt/x11/XlibCommon.h"

namespace vantorel::x11 {

class WindowTree {
  public:
    WindowTree(Display* display, const Atoms& atoms);

    Window root() const { return root_; }

    bool exists(Window window) const;

    // True when the window manager manages `window`: it carries WM_STATE.
    bool isClient(Window window) const;

    // WM_STATE says normal or iconic (not withdrawn).
    bool isManagedNow(Window window) const;

    // The window manager lists `atom` in _NET_SUPPORTED.
    bool supports(Atom atom) const;

    // The window in _NET_ACTIVE_WINDOW; nothing when the window manager does
    // not keep that property, 0 when no window is active.
    std::optional<Window> activeWindow() const;

    // The window holding the keyboard focus, for window managers without
    // _NET_ACTIVE_WINDOW; 0 when none or the root has it.
    Window focusWindow() const;

    // The client window at (x, y) on the root: the first window on the way
    // down that carries WM_STATE; on a frame's decoration, the client it
    // frames; without any, the deepest window there. 0 over the bare root.
    Window windowAt(int x, int y) const;

    // A subwindow's nearest ancestor that is a client (for an unmanaged
    // top-level, that top-level); a top-level client's WM_TRANSIENT_FOR
    // owner. Never a frame or the root; 0 when there is none.
    Window parentOf(Window window) const;

    // The owner named by WM_TRANSIENT_FOR, when it exists and following
    // owners from it does not lead back to `window`.
    Window ownerOf(Window window) const;

  private:
    struct Links {
        Window parent = 0;
        std::vector<Window> children;  // bottom to top
    };
    std::optional<Links> links(Window window) const;
    Window clientInside(Window topLevel) const;
    Window clientOrSelf(Window topLevel) const;
    Window transientFor(Window window) const;
    Window childAt(Window window, int x, int y) const;

    Display* display_;
    const Atoms& atoms_;
    Window root_;
};

}  // namespace vantorel::x11
