#include "platform/qt/x11/XlibWindows.h"

#include <algorithm>
#include <utility>

#include "platform/qt/x11/Attention.h"
#include "platform/qt/x11/ErrorTrap.h"
#include "platform/qt/x11/Properties.h"
#include "platform/qt/x11/TitleSnapshots.h"
#include "platform/qt/x11/WindowTree.h"
#include "platform/qt/x11/XlibCommon.h"

namespace vantorel::x11 {

namespace {
// X resource ids have their top three bits clear; a larger handle would be
// cut to 32 bits on the wire and could name some other window.
constexpr platform::WindowHandle kMaxResourceId = 0x1FFFFFFF;

// A flash never lasts longer than this, however many times it was asked for.
constexpr std::uint32_t kMaxFlashMs = 60000;
constexpr int kMaxBlinks = static_cast<int>(kMaxFlashMs / XlibWindows::kBlinkMs);

bool IsResourceId(platform::WindowHandle handle) {
    return handle != 0 && handle <= kMaxResourceId;
}

int IgnoreError(Display*, XErrorEvent*) {
    return 0;
}
}  // namespace

struct XlibWindows::Impl : std::enable_shared_from_this<Impl> {
    Impl(Display* connection, Scheduler schedule, bool owned)
        : display(connection),
          ownsDisplay(owned),
          ready(InternAtoms(connection, atoms)),
          tree(connection, atoms),
          attention(connection, atoms, tree),
          scheduler(std::move(schedule)) {}

    ~Impl() {
        {
            ErrorTrap trap(display);
            attention.stopAll();
            trap.failedAfterSync();
        }
        if (ownsDisplay) {
            XCloseDisplay(display);
            XSetErrorHandler(previousHandler);
        }
    }

    void scheduleBlink(Window window, std::uint64_t generation, std::uint32_t periodMs) {
        std::weak_ptr<Impl> weak = shared_from_this();
        scheduler(static_cast<int>(periodMs), [weak, window, generation, periodMs] {
            if (const auto self = weak.lock()) {
                self->blinkPassed(window, generation, periodMs);
            }
        });
    }

    void blinkPassed(Window window, std::uint64_t generation, std::uint32_t periodMs) {
        ErrorTrap trap(display);
        const bool goesOn = attention.blinkPassed(window, generation);
        trap.failedAfterSync();
        if (goesOn) {
            scheduleBlink(window, generation, periodMs);
        }
    }

    Display* display;
    bool ownsDisplay;
    XErrorHandler previousHandler = nullptr;
    Atoms atoms;
    bool ready;
    WindowTree tree;
    Attention attention;
    Scheduler scheduler;
    TitleSnapshots snapshots;
};

XlibWindows::XlibWindows(void* display, Scheduler scheduler)
    : XlibWindows(
          std::make_shared<Impl>(static_cast<Display*>(display), std::move(scheduler), false)) {}

XlibWindows::XlibWindows(std::shared_ptr<Impl> impl) : impl_(std::move(impl)) {}

std::unique_ptr<XlibWindows> XlibWindows::open(const std::string& displayName,
                                               Scheduler scheduler) {
    Display* display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
    if (display == nullptr) {
        return nullptr;
    }
    // Requests are trapped one by one; this handler catches anything else,
    // as Qt's does on its own connection.
    const XErrorHandler previous = XSetErrorHandler(&IgnoreError);
    auto impl = std::make_shared<Impl>(display, std::move(scheduler), true);
    impl->previousHandler = previous;
    return std::unique_ptr<XlibWindows>(new XlibWindows(std::move(impl)));
}

XlibWindows::~XlibWindows() = default;

void* XlibWindows::display() const {
    return impl_->display;
}

platform::WindowHandle XlibWindows::foregroundWindow() {
    if (!impl_->ready) {
        return 0;
    }
    ErrorTrap trap(impl_->display);
    const auto active = impl_->tree.activeWindow();
    const Window window = active ? *active : impl_->tree.focusWindow();
    return trap.failed() ? 0 : window;
}

platform::Point XlibWindows::cursorPos() {
    ErrorTrap trap(impl_->display);
    Window root = None;
    Window child = None;
    int rootX = 0;
    int rootY = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned int buttons = 0;
    if (XQueryPointer(impl_->display, impl_->tree.root(), &root, &child, &rootX, &rootY, &windowX,
                      &windowY, &buttons) == 0 ||
        trap.failed()) {
        return {};  // on another screen, or no answer
    }
    return {rootX, rootY};
}

platform::WindowHandle XlibWindows::windowFromPoint(platform::Point point) {
    if (!impl_->ready) {
        return 0;
    }
    ErrorTrap trap(impl_->display);
    const Window window = impl_->tree.windowAt(point.x, point.y);
    return trap.failed() ? 0 : window;
}

platform::WindowHandle XlibWindows::parent(platform::WindowHandle window) {
    if (!impl_->ready || !IsResourceId(window)) {
        return 0;
    }
    ErrorTrap trap(impl_->display);
    const Window parentWindow = impl_->tree.parentOf(static_cast<Window>(window));
    return trap.failed() ? 0 : parentWindow;
}

bool XlibWindows::isWindow(platform::WindowHandle window) {
    if (!IsResourceId(window)) {
        return false;
    }
    ErrorTrap trap(impl_->display);
    return impl_->tree.exists(static_cast<Window>(window)) && !trap.failed();
}

std::optional<std::string> XlibWindows::windowText(platform::WindowHandle window) {
    if (!impl_->ready || !IsResourceId(window)) {
        return std::nullopt;
    }
    const auto id = static_cast<Window>(window);
    ErrorTrap trap(impl_->display);
    const auto netWmName = ReadProperty(impl_->display, id, impl_->atoms.netWmName);
    const auto wmName = ReadProperty(impl_->display, id, XA_WM_NAME);
    if (!netWmName || !wmName || trap.failed()) {
        impl_->snapshots.forget(id);
        return std::nullopt;
    }
    std::string text = TitleFrom(impl_->display, impl_->atoms, *netWmName, *wmName);
    if (netWmName->whole && wmName->whole) {
        impl_->snapshots.remember(id, {text, *netWmName, *wmName});
    } else {
        impl_->snapshots.forget(id);
    }
    return text;
}

bool XlibWindows::setWindowText(platform::WindowHandle window, std::string_view text) {
    if (!impl_->ready || !IsResourceId(window)) {
        return false;
    }
    const auto id = static_cast<Window>(window);
    ErrorTrap trap(impl_->display);
    if (const TitleSnapshot* saved = impl_->snapshots.matching(id, text)) {
        WriteProperty(impl_->display, id, impl_->atoms.netWmName, saved->netWmName);
        WriteProperty(impl_->display, id, XA_WM_NAME, saved->wmName);
    } else {
        WriteTitle(impl_->display, impl_->atoms, id, std::string(text));
    }
    return !trap.failedAfterSync();
}

bool XlibWindows::flash(platform::WindowHandle window, int times) {
    if (!impl_->ready || !IsResourceId(window)) {
        return false;
    }
    const auto id = static_cast<Window>(window);
    ErrorTrap trap(impl_->display);
    const auto blinks = static_cast<std::uint32_t>(std::clamp(times, 1, kMaxBlinks));
    const Attention::Started started = impl_->attention.start(id, blinks);
    if (trap.failedAfterSync()) {
        impl_->attention.stop(id);
        trap.failedAfterSync();
        return false;
    }
    if (started.generation != 0) {
        impl_->scheduleBlink(id, started.generation, kBlinkMs);
    }
    return started.flashing;
}

}  // namespace vantorel::x11
