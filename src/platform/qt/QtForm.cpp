#include "platform/qt/QtForm.h"

#include <QAction>
#include <QCheckBox>
#include <QCursor>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

#include "platform/qt/OwnedWindows.h"
#include "platform/qt/ProgramIcon.h"
#include "platform/qt/QtText.h"
#include "platform/qt/QtWindowFramework.h"

namespace vantorel::qt {

namespace {

using platform::ControlKind;

// The program has one icon; every window shows it.
constexpr platform::IconHandle kProgramIconHandle = 1;

// Shows every character of a password as "*", whatever the style's own
// password character.
constexpr const char* kAsteriskPassword = "QLineEdit { lineedit-password-character: 42; }";

bool IsMenuPart(ControlKind kind) {
    return kind == ControlKind::Menu || kind == ControlKind::MenuItem ||
           kind == ControlKind::Separator;
}

bool TakesFocus(ControlKind kind) {
    return kind == ControlKind::TextBox || kind == ControlKind::Button ||
           kind == ControlKind::CheckBox;
}

}  // namespace

QtForm::QtForm(QtWindowFramework& ui, const platform::FormLayout& layout,
               platform::FormEvents& events)
    : ui_(ui), layout_(layout), events_(events), window_(new FormWindow) {
    build();
    ui_.registerForm(this);
}

QtForm::~QtForm() {
    ui_.forgetForm(this);
    close();
}

void QtForm::build() {
    window_->setWindowTitle(ToQ(layout_.caption));
    window_->setWindowIcon(ProgramIcon());
    window_->setObjectName(ToQ(layout_.name));
    if (layout_.ownedWindow) {
        // A dialog of the main window: no minimise box, and the window
        // manager treats it as one with its owner.
        window_->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                Qt::WindowCloseButtonHint);
        window_->escapeCloses = true;
    }
    window_->onCloseBox = [this] {
        if (!isClosed()) {
            ui_.raise([this] { events_.CloseRequested(platform::CloseReason::CloseBox); });
        }
    };

    auto* frame = new QVBoxLayout(window_);
    frame->setContentsMargins(0, 0, 0, 0);
    frame->setSpacing(0);
    frame->setSizeConstraint(QLayout::SetFixedSize);

    auto* client = new ClientArea(window_);
    client->setFixedSize(ui_.pixels(layout_.clientWidth), ui_.pixels(layout_.clientHeight));
    frame->addWidget(client);
    client_ = client;

    for (const auto& control : layout_.controls) {
        controls_[control.id].layout = &control;
        if (IsMenuPart(control.kind)) {
            buildMenu(control);
        }
    }
}

void QtForm::buildMenuBar() {
    if (barMenus_.empty()) {
        return;
    }
    // Made with the client area: a menu bar asks the style for its icons,
    // which loads the image readers.
    auto* bar = new QMenuBar(window_);
    for (QMenu* menu : barMenus_) {
        if (menu != nullptr) {
            bar->addMenu(menu);
        }
    }
    window_->layout()->setMenuBar(bar);
}

void QtForm::buildClient() {
    if (clientBuilt_ || isClosed() || !client_) {
        return;
    }
    clientBuilt_ = true;
    buildMenuBar();
    for (const auto& control : layout_.controls) {
        if (!IsMenuPart(control.kind)) {
            buildControl(control, *client_);
        }
    }
    setTabOrder();
    applyPending();
}

void QtForm::applyPending() {
    for (auto& [id, control] : controls_) {
        const Pending pending = std::exchange(control.pending, Pending{});
        if (pending.text) {
            setText(id, *pending.text);
        }
        if (pending.enabled) {
            setEnabled(id, *pending.enabled);
        }
        if (pending.checked) {
            setChecked(id, *pending.checked);
        }
        if (pending.visible) {
            setControlVisible(id, *pending.visible);
        }
        if (pending.selectAll) {
            selectAll(id);
        }
    }
    if (pendingFocus_ != platform::kNoControl) {
        setFocus(std::exchange(pendingFocus_, platform::kNoControl));
    }
}

QtForm::Control* QtForm::unbuilt(platform::ControlId control) {
    if (clientBuilt_ || isClosed()) {
        return nullptr;
    }
    Control* entry = find(control);
    return entry != nullptr && entry->layout != nullptr && !IsMenuPart(entry->layout->kind)
               ? entry
               : nullptr;
}

QWidget* QtForm::parentWidget(const platform::ControlLayout& control, ClientArea& client) {
    Control* parent = find(control.parent);
    if (parent != nullptr && parent->widget) {
        return parent->widget;
    }
    return &client;
}

void QtForm::buildControl(const platform::ControlLayout& control, ClientArea& client) {
    QWidget* parent = parentWidget(control, client);
    QWidget* widget = nullptr;
    switch (control.kind) {
        case ControlKind::Frame:
            widget = new QGroupBox(ToQ(control.caption), parent);
            break;
        case ControlKind::Label: {
            auto* label = new QLabel(ToQ(control.caption), parent);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            widget = label;
            break;
        }
        case ControlKind::TextBox: {
            auto* edit = new QLineEdit(ToQ(control.caption), parent);
            edit->setMaxLength(std::numeric_limits<int>::max());
            if (control.password) {
                edit->setEchoMode(QLineEdit::Password);
                edit->setStyleSheet(kAsteriskPassword);
            }
            widget = edit;
            break;
        }
        case ControlKind::Button: {
            auto* button = new QPushButton(ToQ(control.caption), parent);
            button->setAutoDefault(false);
            button->setDefault(control.defaultButton);
            if (control.defaultButton) {
                window_->defaultButton = button;
            }
            if (control.cancelButton) {
                window_->cancelButton = button;
            }
            const platform::ControlId id = control.id;
            QObject::connect(button, &QPushButton::clicked, &guard_,
                             [this, id] { raiseClick(id); });
            widget = button;
            break;
        }
        case ControlKind::CheckBox: {
            auto* box = new QCheckBox(ToQ(control.caption), parent);
            const platform::ControlId id = control.id;
            QObject::connect(box, &QCheckBox::clicked, &guard_, [this, id] {
                if (!isClosed()) {
                    ui_.raise([this, id] { events_.CheckBoxClick(id); });
                }
            });
            widget = box;
            break;
        }
        case ControlKind::Picture: {
            auto* picture = new QLabel(parent);
            const QSize size(ui_.pixels(control.width), ui_.pixels(control.height));
            picture->setPixmap(ProgramIcon().pixmap(size));
            widget = picture;
            break;
        }
        default:
            return;
    }
    int height = ui_.pixels(control.height);
    if (control.kind == ControlKind::Label) {
        // A caption must not be cut off when the font is taller than the
        // one the layout was drawn for.
        height = std::max(height, widget->fontMetrics().height());
    }
    widget->setGeometry(ui_.pixels(control.left), ui_.pixels(control.top),
                        ui_.pixels(control.width), height);
    widget->setObjectName(ToQ(control.name));
    if (!control.toolTip.empty()) {
        widget->setToolTip(ToQ(control.toolTip));
    }
    if (!TakesFocus(control.kind)) {
        widget->setFocusPolicy(Qt::NoFocus);
    }
    controls_[control.id].widget = widget;
}

void QtForm::buildMenu(const platform::ControlLayout& control) {
    Control& entry = controls_[control.id];
    Control* parent = find(control.parent);
    QMenu* parentMenu = parent != nullptr ? parent->menu.data() : nullptr;
    if (control.kind == ControlKind::Menu) {
        QMenu* menu = nullptr;
        if (parentMenu != nullptr) {
            menu = parentMenu->addMenu(ToQ(control.caption));
        } else {
            // A menu of the bar; the bar itself comes with the client area.
            menu = new QMenu(ToQ(control.caption), window_);
            barMenus_.emplace_back(menu);
        }
        menu->setObjectName(ToQ(control.name));
        const platform::ControlId id = control.id;
        QObject::connect(menu, &QMenu::aboutToShow, &guard_, [this, id] {
            if (!isClosed()) {
                ui_.raise([this, id] { events_.MenuOpening(id); });
            }
        });
        entry.menu = menu;
        entry.action = menu->menuAction();
        return;
    }
    if (parentMenu == nullptr) {
        return;  // an item outside any menu has nowhere to stand
    }
    if (control.kind == ControlKind::Separator) {
        entry.action = parentMenu->addSeparator();
        return;
    }
    QAction* action = parentMenu->addAction(ToQ(control.caption));
    action->setObjectName(ToQ(control.name));
    action->setCheckable(control.checkable);
    const platform::ControlId id = control.id;
    QObject::connect(action, &QAction::triggered, &guard_, [this, id, action] {
        // The check mark belongs to the program: choosing the item does not
        // change it, the item's command does.
        if (action->isCheckable()) {
            const QSignalBlocker quiet(action);
            action->setChecked(!action->isChecked());
        }
        raiseClick(id);
    });
    entry.action = action;
}

void QtForm::setTabOrder() {
    std::vector<std::pair<int, QWidget*>> order;
    for (const auto& [id, control] : controls_) {
        if (control.widget && control.layout->tabIndex >= 0 && TakesFocus(control.layout->kind)) {
            order.emplace_back(control.layout->tabIndex, control.widget.data());
        }
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1].second, order[i].second);
    }
    if (!order.empty()) {
        order.front().second->setFocus(Qt::OtherFocusReason);
    }
}

QtForm::Control* QtForm::find(platform::ControlId control) {
    const auto it = controls_.find(control);
    return it == controls_.end() ? nullptr : &it->second;
}

void QtForm::raiseClick(platform::ControlId control) {
    if (!isClosed()) {
        ui_.raise([this, control] { events_.Click(control); });
    }
}

void QtForm::raiseTrayAction(platform::TrayAction action) {
    if (!isClosed()) {
        ui_.raise([this, action] { events_.TrayActivated(action); });
    }
}

void QtForm::raiseSessionEnd() {
    if (!isClosed()) {
        ui_.raise([this] { events_.CloseRequested(platform::CloseReason::SessionEnd); });
    }
}

QWidget* QtForm::widget(platform::ControlId control) {
    buildClient();
    return builtWidget(control);
}

QWidget* QtForm::builtWidget(platform::ControlId control) const {
    const auto it = controls_.find(control);
    return it == controls_.end() || isClosed() ? nullptr : it->second.widget.data();
}

QAction* QtForm::action(platform::ControlId control) const {
    const auto it = controls_.find(control);
    return it == controls_.end() || isClosed() ? nullptr : it->second.action;
}

QMenu* QtForm::menu(platform::ControlId control) const {
    const auto it = controls_.find(control);
    return it == controls_.end() || isClosed() ? nullptr : it->second.menu.data();
}

// ---- the window

platform::WindowHandle QtForm::handle() {
    return isClosed() ? 0 : static_cast<platform::WindowHandle>(window_->winId());
}

platform::IconHandle QtForm::icon() {
    return kProgramIconHandle;
}

void QtForm::setVisible(bool visible) {
    if (isClosed()) {
        return;
    }
    if (visible) {
        buildClient();
        if (layout_.ownedWindow && !window_->isVisible()) {
            StandOver(*window_, ui_.mainWindow());
        }
        window_->show();
        window_->raise();
        window_->activateWindow();
    } else {
        window_->hide();
    }
}

bool QtForm::visible() {
    return !isClosed() && window_->isVisible();
}

void QtForm::bringToFront() {
    if (isClosed()) {
        return;
    }
    buildClient();
    if (window_->isMinimized()) {
        window_->showNormal();
    }
    window_->raise();
    window_->activateWindow();
}

void QtForm::close() {
    if (closed_) {
        return;
    }
    closed_ = true;
    if (window_) {
        window_->onCloseBox = nullptr;
        window_->hide();
        // Deleted once the event that asked for it has returned, so that a
        // window may close itself from inside one of its own events.
        window_->deleteLater();
    }
}

void QtForm::setCaption(std::string_view caption) {
    if (!isClosed()) {
        window_->setWindowTitle(ToQ(caption));
    }
}

// ---- controls

std::string QtForm::text(platform::ControlId control) {
    if (const Control* c = unbuilt(control)) {
        if (c->pending.text) {
            return *c->pending.text;
        }
        // A control shows its caption until the program sets a text; the
        // picture shows no text.
        return c->layout->kind == ControlKind::Picture ? std::string() : c->layout->caption;
    }
    if (QWidget* w = builtWidget(control)) {
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            return FromQ(edit->text());
        }
        if (auto* label = qobject_cast<QLabel*>(w)) {
            return FromQ(label->text());
        }
        if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            return FromQ(button->text());
        }
        if (auto* group = qobject_cast<QGroupBox*>(w)) {
            return FromQ(group->title());
        }
        return {};
    }
    if (QMenu* m = menu(control)) {
        return FromQ(m->title());
    }
    if (QAction* a = action(control)) {
        return FromQ(a->text());
    }
    return {};
}

void QtForm::setText(platform::ControlId control, std::string_view text) {
    if (Control* c = unbuilt(control)) {
        c->pending.text = std::string(text);
        c->pending.selectAll = false;  // new text leaves nothing selected
        return;
    }
    const QString value = ToQ(text);
    if (QWidget* w = builtWidget(control)) {
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            edit->setText(value);
        } else if (auto* label = qobject_cast<QLabel*>(w)) {
            label->setText(value);
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            button->setText(value);
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            group->setTitle(value);
        }
    } else if (QMenu* m = menu(control)) {
        m->setTitle(value);
    } else if (QAction* a = action(control)) {
        a->setText(value);
    }
}

bool QtForm::enabled(platform::ControlId control) {
    if (const Control* c = unbuilt(control)) {
        return c->pending.enabled.value_or(true);
    }
    if (QWidget* w = builtWidget(control)) {
        return !w->testAttribute(Qt::WA_ForceDisabled);
    }
    if (QAction* a = action(control)) {
        return a->isEnabled();
    }
    return false;
}

void QtForm::setEnabled(platform::ControlId control, bool enabled) {
    if (Control* c = unbuilt(control)) {
        c->pending.enabled = enabled;
        return;
    }
    if (QWidget* w = builtWidget(control)) {
        w->setEnabled(enabled);
    } else if (QAction* a = action(control)) {
        a->setEnabled(enabled);
    }
}

bool QtForm::checked(platform::ControlId control) {
    if (const Control* c = unbuilt(control)) {
        return c->layout->kind == ControlKind::CheckBox && c->pending.checked.value_or(false);
    }
    if (auto* box = qobject_cast<QCheckBox*>(builtWidget(control))) {
        return box->isChecked();
    }
    if (QAction* a = action(control)) {
        return a->isChecked();
    }
    return false;
}

void QtForm::setChecked(platform::ControlId control, bool checked) {
    if (Control* c = unbuilt(control)) {
        if (c->layout->kind == ControlKind::CheckBox) {
            c->pending.checked = checked;
        }
        return;
    }
    if (auto* box = qobject_cast<QCheckBox*>(builtWidget(control))) {
        box->setChecked(checked);
    } else if (QAction* a = action(control)) {
        if (checked) {
            a->setCheckable(true);
        }
        const QSignalBlocker quiet(a);
        a->setChecked(checked);
    }
}

void QtForm::setControlVisible(platform::ControlId control, bool visible) {
    if (Control* c = unbuilt(control)) {
        c->pending.visible = visible;
        return;
    }
    if (QWidget* w = builtWidget(control)) {
        w->setVisible(visible);
    } else if (QAction* a = action(control)) {
        a->setVisible(visible);
    }
}

void QtForm::setFocus(platform::ControlId control) {
    if (unbuilt(control) != nullptr) {
        pendingFocus_ = control;
        return;
    }
    if (QWidget* w = builtWidget(control)) {
        w->setFocus(Qt::OtherFocusReason);
    }
}

void QtForm::selectAll(platform::ControlId control) {
    if (Control* c = unbuilt(control)) {
        c->pending.selectAll = c->layout->kind == ControlKind::TextBox;
        return;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(builtWidget(control))) {
        edit->selectAll();
    }
}

void QtForm::popupMenu(platform::ControlId control) {
    QMenu* m = menu(control);
    if (m == nullptr) {
        return;
    }
    // Blocks until the menu closes; a chosen item's Click runs inside.
    m->exec(QCursor::pos());
}

}  // namespace vantorel::qt
