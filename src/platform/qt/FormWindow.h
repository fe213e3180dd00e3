#pragma once
// The top-level widget of one of the program's windows. It turns the
// window manager's close request into a question to the program (the
// window stays until the program closes it), presses the default and
// cancel buttons on Enter and Escape (or, in a small window without a cancel
// button, closes it on Escape).

#include <QPointer>
#include <QPushButton>
#include <QWidget>
#include <functional>

namespace vantorel::qt {

// The client area: the controls sit on it at their layout positions.
class ClientArea : public QWidget {
  public:
    using QWidget::QWidget;
};

class FormWindow : public QWidget {
  public:
    FormWindow();

    std::function<void()> onCloseBox;
    QPointer<QPushButton> defaultButton;
    QPointer<QPushButton> cancelButton;
    // Escape, with no cancel button to press, asks to close as the close box does.
    bool escapeCloses = false;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace vantorel::qt
