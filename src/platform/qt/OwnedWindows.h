#pragma once
// Small windows and message boxes that behave like the desktop's own: each
// stands over the window it belongs to (transient for it, centred over it
// when it is on the screen) and has no task bar button of its own.

#include <QString>

class QFont;
class QWidget;

namespace vantorel::qt {

// Makes `window`, not yet shown, a window of `owner` (may be null): the
// window manager keeps it above the owner, it is centred over the owner
// when that is on the screen (else over the screen's work area), and task
// bars leave it out.
void StandOver(QWidget& window, QWidget* owner);

// Asks task bars and pagers to leave out `window`, before it is first shown.
// Does nothing outside an X11 session.
void KeepOffTaskbar(QWidget& window);

// The width in pixels a window needs for its title bar to show `caption`
// whole in `font`, with room for the window manager's icon and buttons.
int CaptionWidth(const QString& caption, const QFont& font);

}  // namespace vantorel::qt
