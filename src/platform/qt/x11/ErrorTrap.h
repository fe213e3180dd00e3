#pragma once
// Catches the X errors of the requests made while a trap is set, so that a
// window that vanished between two calls gives a failed call instead of
// Xlib's default handler, which ends the program.

#include "platform/qt/x11/XlibCommon.h"

namespace vantorel::x11 {

class ErrorTrap {
  public:
    explicit ErrorTrap(Display* display);
    ~ErrorTrap();
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    // True when a request made since the trap was set has failed so far.
    // Requests with a reply have had their answer by the time they return.
    bool failed() const { return errorCode_ != 0; }

    // Waits until the server has handled every request made so far (and
    // with that, flushes them), then tells whether any of them failed.
    bool failedAfterSync();

  private:
    static int Handle(Display* display, XErrorEvent* error);
    bool catches(const Display* display, unsigned long serial) const;

    Display* display_;
    unsigned long firstSerial_;
    int errorCode_ = 0;
    ErrorTrap* outer_;
    XErrorHandler previous_;
};

}  // namespace vantorel::x11
