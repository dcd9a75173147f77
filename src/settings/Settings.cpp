#include "settings/Settings.h"

#include "core/SafeFile.h"

#include <algorithm>

namespace {

// The window's rectangle in 64 bits, so values read from the file cannot overflow on the way.
struct Box
{
    qint64 x, y, w, h;
};

// A window needs this much of itself on a screen to be seen and dragged back.
constexpr qint64 kMinVisibleWidth = 100;
constexpr qint64 kMinVisibleHeight = 40;

qint64 overlap(qint64 from, qint64 length, qint64 areaFrom, qint64 areaLength)
{
    return std::min(from + length, areaFrom + areaLength) - std::max(from, areaFrom);
}

bool showsEnoughOn(const Box &box, const QRect &area)
{
    return overlap(box.x, box.w, area.x(), area.width()) >= std::min(box.w, kMinVisibleWidth) &&
           overlap(box.y, box.h, area.y(), area.height()) >= std::min(box.h, kMinVisibleHeight);
}

qint64 shownArea(const Box &box, const QRect &area)
{
    return std::max<qint64>(overlap(box.x, box.w, area.x(), area.width()), 0) *
           std::max<qint64>(overlap(box.y, box.h, area.y(), area.height()), 0);
}

Box keptOnScreen(Box box, const QList<QRect> &available)
{
    const QRect &home = available.first();
    box.w = std::min<qint64>(box.w, home.width());
    box.h = std::min<qint64>(box.h, home.height());
    const QRect *best = nullptr;
    for (const QRect &area : available) {
        if (showsEnoughOn(box, area) &&
            (best == nullptr || shownArea(box, area) > shownArea(box, *best)))
            best = &area;
    }
    if (best == nullptr) {
        box.x = home.x() + (home.width() - box.w) / 2;
        box.y = home.y() + (home.height() - box.h) / 2;
        return box;
    }
    // Its title bar and menu bar on the screen, and most of it: a window placed for a larger
    // screen, or for another scale, would otherwise open with its top above the screen or
    // mostly outside it. It moves the least that brings it in.
    const bool topShows = box.y >= best->y() && box.y < best->y() + best->height();
    if (!topShows || 2 * shownArea(box, *best) < box.w * box.h) {
        const qint64 w = std::min<qint64>(box.w, best->width());
        const qint64 h = std::min<qint64>(box.h, best->height());
        box.w = w;
        box.h = h;
        box.x = std::clamp<qint64>(box.x, best->x(), best->x() + best->width() - w);
        box.y = std::clamp<qint64>(box.y, best->y(), best->y() + best->height() - h);
    }
    return box;
}

int toInt(qint64 value)
{
    return int(std::clamp<qint64>(value, -kMaxWindowExtent, kMaxWindowExtent));
}

} // namespace

QRect placeWindow(const SettingsFile &s, const QRect &current, const QRect &screen,
                  const QList<QRect> &available)
{
    Box box{current.x(), current.y(), current.width(), current.height()};
    if (s.placementRead) {
        if (s.winw > 100)
            box.w = nearestInteger(s.winw);
        if (s.winh > 100)
            box.h = nearestInteger(s.winh);
        // Centred from the size the window has now.
        box.x = screen.x() + nearestInteger(screen.width() / 2.0 - double(box.w) / 2.0);
        box.y = screen.y() + nearestInteger(screen.height() / 2.0 - double(box.h) / 2.0);
        if (s.winy > kCentred)
            box.y = nearestInteger(s.winy);
        if (s.winx > kCentred)
            box.x = nearestInteger(s.winx);
    }
    if (!available.isEmpty())
        box = keptOnScreen(box, available);
    return QRect(toInt(box.x), toInt(box.y), toInt(box.w), toInt(box.h));
}

Message settingsNotSavedMessage(const QString &path)
{
    return Message::critical(QStringLiteral("Unable to save the settings file.") + kCrLf + path,
                             kApplicationTitle);
}

std::optional<Message> saveSettingsFile(const QString &path, const SettingsFile &settings)
{
    if (writeFileSafely(path, settingsFileBytes(settings)).ok)
        return std::nullopt;
    return settingsNotSavedMessage(path);
}
