#include "platform/qt/FormWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>

namespace vantorel::qt {

namespace {

void Press(QPushButton* button) {
    if (button != nullptr && button->isEnabled() && button->isVisible()) {
        button->click();
    }
}

}  // namespace

FormWindow::FormWindow() {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
}

void FormWindow::closeEvent(QCloseEvent* event) {
    // The program decides: it closes the window itself through Form::close.
    event->ignore();
    if (onCloseBox) {
        onCloseBox();
    }
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->modifiers() == Qt::NoModifier) {
        // Enter presses the focused button, else the default button.
        auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
        if (focused != nullptr && isAncestorOf(focused)) {
            Press(focused);
            return;
        }
        if (defaultButton) {
            Press(defaultButton);
            return;
        }
    }
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (cancelButton) {
            Press(cancelButton);
            return;
        }
        if (escapeCloses && onCloseBox) {
            onCloseBox();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

}  // namespace vantorel::qt
