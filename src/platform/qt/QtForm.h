#pragma once
// One of the program's windows on Qt Widgets, built from its layout data:
// frames, labels, text boxes, buttons, check boxes, the picture, and the
// menus of its menu bar (a hidden top-level menu stays out of the bar and
// can still be popped up).
//
// The window and its menus are made at once: the tray menu pops up from
// them and their check marks are the program's state. The controls of the
// client area are made when the window is first shown (or a test asks for
// one of them): until then what the program sets on them is kept and read
// back here, so that a program living in the tray never builds them, nor
// loads the fonts and the style they need.

#include <QObject>
#include <QPointer>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/FormLayout.h"
#include "platform/WindowFramework.h"
#include "platform/qt/FormWindow.h"

class QAction;
class QMenu;

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
    void raiseTrayAction(platform::TrayAction action);
    // Raised when the session ends.
    void raiseSessionEnd();

    bool isClosed() const { return closed_ || window_.isNull(); }
    const std::string& name() const { return layout_.name; }
    // The top-level widget, for tests and the framework; null once closed.
    FormWindow* window() const { return window_.data(); }
    bool isOwnedWindow() const { return layout_.ownedWindow; }
    // A control of the client area; builds them all if they are not yet.
    QWidget* widget(platform::ControlId control);
    bool clientBuilt() const { return clientBuilt_; }
    QAction* action(platform::ControlId control) const;
    QMenu* menu(platform::ControlId control) const;

  private:
    // What the program set on a control of the client area before it was
    // built; given to the control when it is.
    struct Pending {
        std::optional<std::string> text;
        std::optional<bool> enabled;
        std::optional<bool> checked;
        std::optional<bool> visible;
        bool selectAll = false;
    };

    struct Control {
        const platform::ControlLayout* layout = nullptr;
        QPointer<QWidget> widget;   // a control on the client area
        QPointer<QMenu> menu;       // a menu
        QAction* action = nullptr;  // a menu item, separator, or a menu's own entry
        Pending pending;            // until the client area is built
    };

    void build();
    void buildClient();
    void applyPending();
    // The control while the client area is not built yet (nullptr for a
    // menu, a built or unknown control, or a closed window).
    Control* unbuilt(platform::ControlId control);
    QWidget* builtWidget(platform::ControlId control) const;
    void buildControl(const platform::ControlLayout& control, ClientArea& client);
    void buildMenu(const platform::ControlLayout& control);
    void buildMenuBar();
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
    QPointer<ClientArea> client_;
    std::vector<QPointer<QMenu>> barMenus_;  // the menu bar's menus, in order
    std::map<platform::ControlId, Control> controls_;
    bool clientBuilt_ = false;
    platform::ControlId pendingFocus_ = platform::kNoControl;
    bool closed_ = false;
};

}  // namespace vantorel::qt
