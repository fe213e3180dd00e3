#pragma once
// One of the program's windows on Qt Widgets, built from its layout data:
// frames, labels, text boxes, buttons, check boxes, the picture, and the
// menus of its menu bar (a hidden top-level menu stays out of the bar and
// can still be popped up).

#include <QObject>
#include <QPointer>
#include <map>

#include "platform/FormLayout.h"
#include "platform/WindowFramework.h"
#include "platform/qt/FormWindow.h"

class QAction;
class QMenu;
class QMenuBar;

namespace vantorel::qt {

class QtWindowFramework;

class QtForm : public platform::Form {
  public:
    QtForm(QtWindowFramework& ui, const platform::FormLayout& layout, platform::FormEvents& events);
    ~QtForm() override;
    QtForm(const QtForm&) = delete;
    QtForm& operator=(const QtForm&) = delete;

    platform::WindowHandle handle() override;
    platform::IconHandle icon() override;
    void setVisible(bool visible) override;
    bool visible() override;
    void bringToFront() override;
    void close() override;
    void setCaption(std::string_view caption) override;
    std::string text(platform::ControlId control) override;
    void setText(platform::ControlId control, std::string_view text) override;
    bool enabled(platform::ControlId control) override;
    void setEnabled(platform::ControlId control, bool enabled) override;
    bool checked(platform::ControlId control) override;
    void setChecked(platform::ControlId control, bool checked) override;
    void setControlVisible(platform::ControlId control, bool visible) override;
    void setFocus(platform::ControlId control) override;
    void selectAll(platform::ControlId control) override;
    void popupMenu(platform::ControlId menu) override;

    // Raised by the tray for this window's icon.
    void raiseTrayNotify(int mouseCode);
    // Raised when the session ends.
    void raiseSessionEnd();

    bool isClosed() const { return closed_ || window_.isNull(); }
    const std::string& name() const { return layout_.name; }
    // The top-level widget, for tests and the framework; null once closed.
    FormWindow* window() const { return window_.data(); }
    bool isOwnedWindow() const { return layout_.ownedWindow; }
    QWidget* widget(platform::ControlId control) const;
    QAction* action(platform::ControlId control) const;
    QMenu* menu(platform::ControlId control) const;

  private:
    struct Control {
        const platform::ControlLayout* layout = nullptr;
        QPointer<QWidget> widget;   // a control on the client area
        QPointer<QMenu> menu;       // a menu
        QAction* action = nullptr;  // a menu item, separator, or a menu's own entry
    };

    void build();
    void buildControl(const platform::ControlLayout& control, ClientArea& client);
    void buildMenu(const platform::ControlLayout& control, QMenuBar*& bar);
    void setTabOrder();
    QWidget* parentWidget(const platform::ControlLayout& control, ClientArea& client);
    void raiseClick(platform::ControlId control);
    Control* find(platform::ControlId control);

    QtWindowFramework& ui_;
    // The context of every connection to this object's events: destroyed
    // with it, so no signal reaches a form that is gone.
    QObject guard_;
    platform::FormLayout layout_;
    platform::FormEvents& events_;
    QPointer<FormWindow> window_;
    std::map<platform::ControlId, Control> controls_;
    bool closed_ = false;
};

}  // namespace vantorel::qt
