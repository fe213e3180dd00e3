#include "platform/qt/x11/WindowTree.h"

#include <algorithm>
#include <deque>
#include <utility>

#include "platform/qt/x11/Properties.h"

namespace vantorel::x11 {

namespace {
// Bounds on walks through trees and owner chains another program controls.
constexpr int kMaxTreeDepth = 64;
constexpr int kMaxClientSearchDepth = 8;
constexpr int kMaxClientSearchWindows = 512;
constexpr int kMaxOwnerChain = 64;

// ICCCM's WM_STATE values.
constexpr unsigned long kNormalState = 1;
constexpr unsigned long kIconicState = 3;

// X's PointerRoot focus value (Xlib's macro is an int in disguise).
constexpr Window kPointerRootFocus = 1;
}  // namespace

WindowTree::WindowTree(Display* display, const Atoms& atoms)
    : display_(display), atoms_(atoms), root_(DefaultRootWindow(display)) {}

bool WindowTree::exists(Window window) const {
    XWindowAttributes attributes{};
    return window != None && XGetWindowAttributes(display_, window, &attributes) != 0;
}

bool WindowTree::isClient(Window window) const {
    Atom type = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long bytesAfter = 0;
    unsigned char* data = nullptr;
    const int status =
        XGetWindowProperty(display_, window, atoms_.wmState, 0, 0, False, AnyPropertyType, &type,
                           &format, &items, &bytesAfter, &data);
    if (data != nullptr) {
        XFree(data);
    }
    return status == Success && type != None;
}

bool WindowTree::isManagedNow(Window window) const {
    const auto state = ReadProperty(display_, window, atoms_.wmState);
    const auto values = state ? LongsOf(*state) : std::vector<unsigned long>{};
    return !values.empty() && (values[0] == kNormalState || values[0] == kIconicState);
}

bool WindowTree::supports(Atom atom) const {
    const auto supported = ReadProperty(display_, root_, atoms_.netSupported);
    const auto atoms = supported ? LongsOf(*supported) : std::vector<unsigned long>{};
    return std::find(atoms.begin(), atoms.end(), atom) != atoms.end();
}

std::optional<Window> WindowTree::activeWindow() const {
    const auto active = ReadProperty(display_, root_, atoms_.netActiveWindow);
    if (!active || !active->present || active->type != XA_WINDOW) {
        // Before the first window gets the focus the property may be missing.
        return supports(atoms_.netActiveWindow) ? std::optional<Window>(None) : std::nullopt;
    }
    const auto values = LongsOf(*active);
    return values.empty() ? Window{None} : Window{values[0]};
}

Window WindowTree::focusWindow() const {
    Window focus = None;
    int revertTo = 0;
    XGetInputFocus(display_, &focus, &revertTo);
    return focus == kPointerRootFocus || focus == root_ ? Window{None} : focus;
}

std::optional<WindowTree::Links> WindowTree::links(Window window) const {
    Window root = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display_, window, &root, &parent, &children, &count) == 0) {
        return std::nullopt;
    }
    Links result;
    result.parent = parent;
    if (children != nullptr) {
        result.children.assign(children, children + count);
        XFree(children);
    }
    return result;
}

// The client a frame holds, searched breadth first as window managers nest
// clients a few levels down; 0 when there is none.
Window WindowTree::clientInside(Window topLevel) const {
    std::deque<std::pair<Window, int>> pending{{topLevel, 0}};
    int visited = 0;
    while (!pending.empty() && visited++ < kMaxClientSearchWindows) {
        const auto [window, depth] = pending.front();
        pending.pop_front();
        if (isClient(window)) {
            return window;
        }
        if (depth >= kMaxClientSearchDepth) {
            continue;
        }
        if (const auto found = links(window)) {
            for (const Window child : found->children) {
                pending.emplace_back(child, depth + 1);
            }
        }
    }
    return None;
}

Window WindowTree::clientOrSelf(Window topLevel) const {
    const Window client = clientInside(topLevel);
    return client != None ? client : topLevel;
}

Window WindowTree::childAt(Window window, int x, int y) const {
    int localX = 0;
    int localY = 0;
    Window child = None;
    if (XTranslateCoordinates(display_, root_, window, x, y, &localX, &localY, &child) == 0) {
        return None;
    }
    return child;
}

Window WindowTree::windowAt(int x, int y) const {
    Window current = root_;
    Window topLevel = None;
    for (int depth = 0; depth < kMaxTreeDepth; ++depth) {
        const Window child = childAt(current, x, y);
        if (child == None) {
            break;
        }
        current = child;
        if (topLevel == None) {
            topLevel = child;
        }
        if (isClient(current)) {
            return current;
        }
    }
    if (topLevel == None) {
        return None;
    }
    const Window client = clientInside(topLevel);
    return client != None ? client : current;
}

Window WindowTree::parentOf(Window window) const {
    if (window == root_) {
        return None;
    }
    if (isClient(window)) {
        return ownerOf(window);
    }
    auto found = links(window);
    if (!found) {
        return None;
    }
    if (found->parent == root_) {
        // A frame stands for the client it holds; an unmanaged top-level
        // window is a client of its own.
        const Window client = clientInside(window);
        return client != None ? client : ownerOf(window);
    }
    Window ancestor = found->parent;
    for (int depth = 0; depth < kMaxTreeDepth; ++depth) {
        if (isClient(ancestor)) {
            return ancestor;
        }
        found = links(ancestor);
        if (!found) {
            return None;
        }
        if (found->parent == root_) {
            return clientOrSelf(ancestor);
        }
        ancestor = found->parent;
    }
    return None;
}

Window WindowTree::transientFor(Window window) const {
    Window owner = None;
    if (XGetTransientForHint(display_, window, &owner) == 0 || owner == root_ || owner == window) {
        return None;
    }
    return owner;
}

Window WindowTree::ownerOf(Window window) const {
    const Window owner = transientFor(window);
    if (owner == None || !exists(owner)) {
        return None;
    }
    // Owners that lead back here would make climbing to the outermost
    // window go round for ever.
    Window step = owner;
    for (int i = 0; i < kMaxOwnerChain; ++i) {
        step = transientFor(step);
        if (step == window) {
            return None;
        }
        if (step == None) {
            break;
        }
    }
    return owner;
}

}  // namespace vantorel::x11
