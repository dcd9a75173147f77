#include "settings/Settings.h"

QRect placeWindow(const SettingsFile &s, const QRect &current, const QRect &screen)
{
    QRect placed = current;
    if (!s.placementRead)
        return placed;
    if (s.winw > 100)
        placed.setWidth(nearestInteger(s.winw));
    if (s.winh > 100)
        placed.setHeight(nearestInteger(s.winh));
    // Centred from the size the window has now.
    qint32 left = screen.x() + nearestInteger(screen.width() / 2.0 - placed.width() / 2.0);
    qint32 top = screen.y() + nearestInteger(screen.height() / 2.0 - placed.height() / 2.0);
    if (s.winy > kCentred)
        top = nearestInteger(s.winy);
    if (s.winx > kCentred)
        left = nearestInteger(s.winx);
    placed.moveTo(left, top);
    return placed;
}

Message settingsNotSavedMessage(const QString &path)
{
    return Message::critical(QStringLiteral("Unable to save the settings file.") + kCrLf + path,
                             kApplicationTitle);
}
