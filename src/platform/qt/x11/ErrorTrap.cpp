#include "platform/qt/x11/ErrorTrap.h"

namespace vantorel::x11 {

namespace {
// Traps nest: the innermost one of this thread, each linked to the one
// around it. Xlib calls its error handler on the thread making the request.
thread_local ErrorTrap* innermost = nullptr;
}  // namespace

ErrorTrap::ErrorTrap(Display* display)
    : display_(display),
      firstSerial_(NextRequest(display)),
      outer_(innermost),
      previous_(XSetErrorHandler(&ErrorTrap::Handle)) {
    innermost = this;
}

ErrorTrap::~ErrorTrap() {
    innermost = outer_;
    XSetErrorHandler(previous_);
}

bool ErrorTrap::failedAfterSync() {
    XSync(display_, False);
    return failed();
}

bool ErrorTrap::catches(const Display* display, unsigned long serial) const {
    return display == display_ && serial >= firstSerial_;
}

int ErrorTrap::Handle(Display* display, XErrorEvent* error) {
    ErrorTrap* outermost = nullptr;
    for (ErrorTrap* trap = innermost; trap != nullptr; trap = trap->outer_) {
        if (trap->catches(display, error->serial)) {
            if (trap->errorCode_ == 0) {
                trap->errorCode_ = error->error_code;
            }
            return 0;
        }
        outermost = trap;
    }
    // Not one of ours: whoever handled errors before the traps decides.
    if (outermost != nullptr && outermost->previous_ != nullptr) {
        return outermost->previous_(display, error);
    }
    return 0;
}

}  // namespace vantorel::x11
