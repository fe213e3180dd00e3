#include "x11/TestWindows.h"

#include <X11/Xatom.h>

#include <chrono>
#include <thread>

namespace vantorel::x11::test {

namespace {
using namespace std::chrono_literals;
constexpr auto kWaitLimit = 5s;
constexpr auto kWaitStep = 10ms;
constexpr auto kSettleTime = 100ms;
constexpr long kMaxPropertyLongs = 1 << 16;
constexpr long kSourcePager = 2;
constexpr int kLongFormat = 32;
}  // namespace

OtherProgram::OtherProgram(const std::string& displayName, bool managed)
    : display_(XOpenDisplay(displayName.c_str())), managed_(managed) {}

OtherProgram::~OtherProgram() {
    if (display_ != nullptr) {
        XCloseDisplay(display_);
    }
}

Atom OtherProgram::atom(const char* name) const {
    return XInternAtom(display_, name, False);
}

Window OtherProgram::create(int x, int y, int width, int height, Window parent) {
    const Window window = XCreateSimpleWindow(display_, parent != 0 ? parent : root(), x, y,
                                              static_cast<unsigned>(width),
                                              static_cast<unsigned>(height), 0, 0, 0xFFFFFF);
    XSync(display_, False);
    return window;
}

Window OtherProgram::parentOf(Window window) const {
    Window rootWindow = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    XQueryTree(display_, window, &rootWindow, &parent, &children, &count);
    if (children != nullptr) {
        XFree(children);
    }
    return parent;
}

void OtherProgram::show(Window window) {
    const bool topLevel = parentOf(window) == root();
    XMapWindow(display_, window);
    XSync(display_, False);
    if (!topLevel) {
        return;  // subwindows are mapped at once, without the window manager
    }
    // Managed: in its frame, with its state and frame extents set.
    const bool shown = waitFor([&] {
        XWindowAttributes attributes{};
        XGetWindowAttributes(display_, window, &attributes);
        return attributes.map_state == IsViewable &&
               (!managed_ || (parentOf(window) != root() && property(window, "WM_STATE") &&
                              property(window, "_NET_FRAME_EXTENTS")));
    });
    if (!shown) {
        ADD_FAILURE() << "window " << window << " was not shown";
    }
}

void OtherProgram::destroy(Window window) {
    XDestroyWindow(display_, window);
    XSync(display_, False);
}

void OtherProgram::setText(Window window, const char* name, Atom type, const std::string& bytes) {
    XChangeProperty(display_, window, atom(name), type, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(bytes.data()),
                    static_cast<int>(bytes.size()));
    XSync(display_, False);
}

void OtherProgram::setNetWmName(Window window, const std::string& utf8) {
    setText(window, "_NET_WM_NAME", atom("UTF8_STRING"), utf8);
}

void OtherProgram::setTransientFor(Window window, Window owner) {
    XSetTransientForHint(display_, window, owner);
    XSync(display_, False);
}

std::optional<Property> OtherProgram::property(Window window, const char* name) const {
    Atom type = 0;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display_, window, atom(name), 0, kMaxPropertyLongs, False,
                           AnyPropertyType, &type, &format, &items, &after, &data) != Success ||
        type == None) {
        if (data != nullptr) {
            XFree(data);
        }
        return std::nullopt;
    }
    Property result{type, format, {}, {}};
    if (format == 8) {
        result.bytes.assign(reinterpret_cast<const char*>(data), items);
    } else if (format == kLongFormat) {
        const auto* values = reinterpret_cast<const long*>(data);
        result.longs.assign(values, values + items);
    }
    XFree(data);
    return result;
}

std::string OtherProgram::wmNameText(Window window) const {
    XTextProperty text{};
    if (XGetWMName(display_, window, &text) == 0) {
        return {};
    }
    char** list = nullptr;
    int count = 0;
    std::string result;
    if (Xutf8TextPropertyToTextList(display_, &text, &list, &count) >= 0 && count > 0) {
        result = list[0];
    }
    if (list != nullptr) {
        XFreeStringList(list);
    }
    XFree(text.value);
    return result;
}

void OtherProgram::activate(Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = atom("_NET_ACTIVE_WINDOW");
    event.xclient.format = kLongFormat;
    event.xclient.data.l[0] = kSourcePager;
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, root(), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XSync(display_, False);
    // Openbox may still be handing the focus around after windows were just
    // mapped: the window must stay active for a moment.
    const auto isActive = [&] { return activeWindow() == window; };
    bool active = waitFor(isActive);
    if (active) {
        std::this_thread::sleep_for(kSettleTime);
        active = waitFor(isActive);
    }
    if (!active) {
        ADD_FAILURE() << "window " << window << " did not become active";
    }
}

Window OtherProgram::activeWindow() const {
    const auto active = property(root(), "_NET_ACTIVE_WINDOW");
    return active && !active->longs.empty() ? static_cast<Window>(active->longs[0]) : 0;
}

void OtherProgram::warpPointer(int x, int y) {
    XWarpPointer(display_, None, root(), 0, 0, 0, 0, x, y);
    XSync(display_, False);
}

std::pair<int, int> OtherProgram::rootPosition(Window window) const {
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(display_, window, root(), 0, 0, &x, &y, &child);
    return {x, y};
}

bool OtherProgram::waitFor(const std::function<bool()>& condition) const {
    const auto deadline = std::chrono::steady_clock::now() + kWaitLimit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(kWaitStep);
    }
    return true;
}

XlibWindows::Scheduler ManualClock::scheduler() {
    return [this](int milliseconds, std::function<void()> task) {
        due_.emplace_back(milliseconds, std::move(task));
    };
}

int ManualClock::runDue() {
    auto tasks = std::move(due_);
    due_.clear();
    for (auto& task : tasks) {
        task.second();
    }
    return static_cast<int>(tasks.size());
}

std::vector<int> ManualClock::delays() const {
    std::vector<int> result;
    for (const auto& task : due_) {
        result.push_back(task.first);
    }
    return result;
}

void X11Test::SetUp() {
    std::string error;
    server = XServer::start(manager_, error);
    ASSERT_TRUE(server) << error;
    other = std::make_unique<OtherProgram>(server->displayName(),
                                           manager_ != XServer::WindowManager::Absent);
    ASSERT_NE(other->display(), nullptr);
    windows = XlibWindows::open(server->displayName(), clock.scheduler());
    ASSERT_TRUE(windows);
}

void X11Test::TearDown() {
    windows.reset();
    other.reset();
    server.reset();
}

}  // namespace vantorel::x11::test
