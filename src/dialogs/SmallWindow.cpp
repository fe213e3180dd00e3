#include "dialogs/SmallWindow.h"

namespace vantorel {

SmallWindow::SmallWindow(platform::WindowFramework& ui, const platform::FormLayout& layout)
    : form_(ui.createForm(layout, *this)) {}

void SmallWindow::show() {
    form_->setVisible(true);
    // Chosen from the tray menu, the program is not the active one; without
    // this the window could open behind the window the user works in.
    form_->bringToFront();
}

void SmallWindow::bringToFront() {
    form_->bringToFront();
}

void SmallWindow::CloseRequested(platform::CloseReason /*reason*/) {
    Unload();
}

void SmallWindow::Unload() {
    unloaded_ = true;
    form_->close();
}

void WindowSlot::show(const Loader& load) {
    if (isOpen()) {
        window_->bringToFront();
        return;
    }
    window_.reset();
    window_ = load();
    window_->show();
}

}  // namespace vantorel
