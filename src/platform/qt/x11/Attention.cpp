#include "platform/qt/x11/Attention.h"

#include <algorithm>
#include <vector>

#include "platform/qt/x11/Properties.h"

namespace vantorel::x11 {

namespace {
// EWMH's _NET_WM_STATE actions and the source a pager-like program gives.
constexpr long kStateRemove = 0;
constexpr long kStateAdd = 1;
constexpr long kSourceOtherProgram = 2;
constexpr int kClientMessageFormat = 32;

bool Contains(const std::vector<unsigned long>& values, Atom atom) {
    return std::find(values.begin(), values.end(), atom) != values.end();
}
}  // namespace

Attention::Attention(Display* display, const Atoms& atoms, const WindowTree& tree)
    : display_(display), atoms_(atoms), tree_(tree) {}

Attention::Started Attention::start(Window window, std::uint32_t blinks) {
    if (!tree_.exists(window)) {
        requests_.erase(window);
        return {};
    }
    if (tree_.activeWindow() == window) {
        stop(window);
        return {};
    }
    Request& request = requests_[window];
    const bool stateWasOn = hasAttentionState(window);
    setUrgency(window, request);
    if (!request.stateAdded && !stateWasOn && tree_.isManagedNow(window) &&
        tree_.supports(atoms_.netWmStateDemandsAttention)) {
        askAttentionState(window, true);
        request.stateAdded = true;
    }
    if (!request.urgencySet && !request.stateAdded) {
        // The window's own program asks for attention already.
        requests_.erase(window);
        return {true, 0};
    }
    request.blinksLeft = std::max<std::uint32_t>(blinks, 1);
    request.generation = ++lastGeneration_;
    return {true, request.generation};
}

bool Attention::blinkPassed(Window window, std::uint64_t generation) {
    const auto it = requests_.find(window);
    if (it == requests_.end() || it->second.generation != generation) {
        return false;
    }
    if (!tree_.exists(window)) {
        requests_.erase(it);
        return false;
    }
    Request& request = it->second;
    if (--request.blinksLeft == 0 || tree_.activeWindow() == window) {
        stop(window);
        return false;
    }
    return true;
}

void Attention::stop(Window window) {
    const auto it = requests_.find(window);
    if (it == requests_.end()) {
        return;
    }
    const Request request = it->second;
    requests_.erase(it);
    end(window, request);
}

void Attention::stopAll() {
    while (!requests_.empty()) {
        stop(requests_.begin()->first);
    }
}

void Attention::end(Window window, const Request& request) {
    if (request.urgencySet) {
        clearUrgency(window, request);
    }
    if (request.stateAdded && tree_.isManagedNow(window)) {
        askAttentionState(window, false);
    }
}

// Sets the urgency flag unless it is on already, keeping every other field
// of WM_HINTS.
void Attention::setUrgency(Window window, Request& request) {
    XWMHints* current = XGetWMHints(display_, window);
    const bool alreadyOn = current != nullptr && (current->flags & XUrgencyHint) != 0;
    if (!alreadyOn) {
        XWMHints hints = current != nullptr ? *current : XWMHints{};
        hints.flags |= XUrgencyHint;
        XSetWMHints(display_, window, &hints);
        if (!request.urgencySet) {
            request.hintsCreated = current == nullptr;
        }
        request.urgencySet = true;
    }
    if (current != nullptr) {
        XFree(current);
    }
}

// Clears the flag we set, reading WM_HINTS afresh since its program may
// have changed the other fields meanwhile.
void Attention::clearUrgency(Window window, const Request& request) {
    XWMHints* current = XGetWMHints(display_, window);
    if (current == nullptr) {
        return;
    }
    if ((current->flags & XUrgencyHint) != 0) {
        current->flags &= ~XUrgencyHint;
        if (request.hintsCreated && current->flags == 0) {
            XDeleteProperty(display_, window, XA_WM_HINTS);
        } else {
            XSetWMHints(display_, window, current);
        }
    }
    XFree(current);
}

bool Attention::hasAttentionState(Window window) const {
    const auto state = ReadProperty(display_, window, atoms_.netWmState);
    return state && Contains(LongsOf(*state), atoms_.netWmStateDemandsAttention);
}

void Attention::askAttentionState(Window window, bool on) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = atoms_.netWmState;
    event.xclient.format = kClientMessageFormat;
    event.xclient.data.l[0] = on ? kStateAdd : kStateRemove;
    event.xclient.data.l[1] = static_cast<long>(atoms_.netWmStateDemandsAttention);
    event.xclient.data.l[2] = 0;
    event.xclient.data.l[3] = kSourceOtherProgram;
    XSendEvent(display_, tree_.root(), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &event);
}

}  // namespace vantorel::x11
