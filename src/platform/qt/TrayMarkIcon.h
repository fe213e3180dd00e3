#pragma once
// The program's tray icon with the mark of its state painted over it.

#include <QIcon>
#include <cstddef>
#include <vector>

#include "platform/TrayShell.h"

namespace vantorel::qt {

// `base` with `mark` painted in its lower right corner at every size a tray
// asks for: a red badge with the count for new mail, a red badge with an
// exclamation mark for a failed check, a grey badge with two bars over a
// greyed icon for a pause. No mark gives `base` itself.
QIcon MarkedIcon(const QIcon& base, const platform::TrayMark& mark);

// The marked icons drawn lately, so that a state shown again gets the same
// icon back. Each new QIcon has a cache key of its own, and the pixmaps Qt
// keeps per key (up to its pixmap cache's limit of megabytes) would grow
// with every check that changes the mark.
class MarkedIcons {
  public:
    QIcon get(const QIcon& base, const platform::TrayMark& mark);

  private:
    // Enough for normal, error, paused and a few counts of new mail.
    static constexpr std::size_t kMostKept = 8;

    struct Entry {
        qint64 base = 0;
        platform::TrayMark mark;
        QIcon icon;
    };
    std::vector<Entry> entries_;  // the most recently used last
};

}  // namespace vantorel::qt
