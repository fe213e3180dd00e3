#include "platform/qt/TrayMarkIcon.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <QRectF>
#include <array>

namespace vantorel::qt {

namespace {

// Trays ask for 16 to 24 pixels on most desktops, 32 and 48 with scaling.
constexpr std::array<int, 4> kSizes{16, 24, 32, 48};
// The badge takes this share of the icon's width: big enough to tell apart
// at 16 pixels, small enough to leave the envelope recognisable.
constexpr double kBadgeShare = 0.62;
constexpr double kFontShare = 0.8;   // of the badge's height, for the count
constexpr double kBarWidth = 0.16;   // of the badge, for "!" and the pause bars
constexpr double kBarHeight = 0.52;  // of the badge
constexpr double kDotHeight = 0.14;  // of the badge, the point of "!"
constexpr double kHalf = 0.5;
constexpr int kMostCountShown = 99;
// Counts of two digits are only readable from this size up.
constexpr int kSmallestForTwoDigits = 24;
const QColor kNewMailColour(0xD0, 0x20, 0x20);
const QColor kErrorColour(0xE0, 0x70, 0x00);
const QColor kPausedColour(0x70, 0x70, 0x70);

QColor BadgeColour(platform::TrayMark::Kind kind) {
    switch (kind) {
        case platform::TrayMark::Kind::NewMail:
            return kNewMailColour;
        case platform::TrayMark::Kind::Error:
            return kErrorColour;
        default:
            return kPausedColour;
    }
}

QString CountText(int count, int size) {
    if (count > kMostCountShown || (count > 9 && size < kSmallestForTwoDigits)) {
        return QStringLiteral("+");
    }
    return QString::number(count);
}

void PaintExclamation(QPainter& painter, const QRectF& badge) {
    const double w = badge.width() * kBarWidth;
    const double barTop = badge.top() + badge.height() * (1.0 - kBarHeight - kDotHeight) * kHalf;
    const double barHeight = badge.height() * kBarHeight;
    painter.drawRect(QRectF(badge.center().x() - w * kHalf, barTop, w, barHeight));
    painter.drawRect(QRectF(badge.center().x() - w * kHalf, barTop + barHeight + w * kHalf, w,
                            badge.height() * kDotHeight));
}

void PaintPauseBars(QPainter& painter, const QRectF& badge) {
    const double w = badge.width() * kBarWidth;
    const double h = badge.height() * kBarHeight;
    const double top = badge.center().y() - h * kHalf;
    painter.drawRect(QRectF(badge.center().x() - w * 1.5, top, w, h));
    painter.drawRect(QRectF(badge.center().x() + w * kHalf, top, w, h));
}

QPixmap MarkedPixmap(const QIcon& base, const platform::TrayMark& mark, int size) {
    const bool paused = mark.kind == platform::TrayMark::Kind::Paused;
    // A paused program's envelope is greyed, as a disabled control is.
    QPixmap pixmap = base.pixmap(size, size, paused ? QIcon::Disabled : QIcon::Normal);
    if (pixmap.width() != size) {
        pixmap = pixmap.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const double badgeSize = size * kBadgeShare;
    const QRectF badge(size - badgeSize, size - badgeSize, badgeSize, badgeSize);
    painter.setPen(QPen(Qt::white, 1.0));
    painter.setBrush(BadgeColour(mark.kind));
    painter.drawEllipse(badge.adjusted(kHalf, kHalf, -kHalf, -kHalf));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    if (mark.kind == platform::TrayMark::Kind::NewMail) {
        QFont font = painter.font();
        font.setBold(true);
        font.setPixelSize(std::max(1, static_cast<int>(badgeSize * kFontShare)));
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(badge, Qt::AlignCenter, CountText(mark.count, size));
    } else if (mark.kind == platform::TrayMark::Kind::Error) {
        PaintExclamation(painter, badge);
    } else {
        PaintPauseBars(painter, badge);
    }
    return pixmap;
}

}  // namespace

QIcon MarkedIcon(const QIcon& base, const platform::TrayMark& mark) {
    if (mark.kind == platform::TrayMark::Kind::None) {
        return base;
    }
    QIcon icon;
    for (const int size : kSizes) {
        icon.addPixmap(MarkedPixmap(base, mark, size));
    }
    return icon;
}

QIcon MarkedIcons::get(const QIcon& base, const platform::TrayMark& mark) {
    const qint64 baseKey = base.cacheKey();
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->base == baseKey && it->mark == mark) {
            Entry used = std::move(*it);
            entries_.erase(it);
            entries_.push_back(std::move(used));
            return entries_.back().icon;
        }
    }
    if (entries_.size() >= kMostKept) {
        entries_.erase(entries_.begin());
    }
    entries_.push_back({baseKey, mark, MarkedIcon(base, mark)});
    return entries_.back().icon;
}

}  // namespace vantorel::qt
