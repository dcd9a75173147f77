#include "state/PaneLayout.h"

#include <cmath>

namespace {

constexpr qint32 kFullWidth = 256;
constexpr qint32 kFullHeight = 192;
// The strip's pane is 8 pixels wider (or taller) than a picture on each side, and pictures are
// 8 pixels apart.
constexpr qint32 kPaneMargin = 16;
constexpr qint32 kGap = 8;

qint32 fitOf(double paneLength, double twipsPerPixel, qint32 pictureLength)
{
    const double fit = paneLength / twipsPerPixel / (pictureLength + kGap);
    return fit > 0 ? qint32(std::floor(fit)) : 0;
}

} // namespace

PaneArrangement arrangePanes(qint32 viewMode, qint32 halfSize, const PaneMeasures &m)
{
    PaneArrangement a;
    a.shotWidth = halfSize == 1 ? kFullWidth / 2 : kFullWidth;
    a.shotHeight = halfSize == 1 ? kFullHeight / 2 : kFullHeight;
    if (viewMode < 0 || viewMode > 6)
        return a;
    a.moved = true;

    const double sw = m.innerWidth;
    const double sh = m.innerHeight;
    const double sb = m.statusHeight;
    const double info = m.infoHeight;
    const double stripWidth = (a.shotWidth + kPaneMargin) * m.twipsPerPixelX;
    // The horizontal strip's height is counted in horizontal twips per pixel, as it always was.
    const double stripHeight = (a.shotHeight + kPaneMargin) * m.twipsPerPixelX;
    a.info.height = info;
    a.list.width = sw;

    const auto verticalStrip = [&] {
        a.stripOrientation = 1;
        a.screenshots = {true, sw - stripWidth, 0, stripWidth, sh - sb};
        a.visibleShotCount = fitOf(a.screenshots.height, m.twipsPerPixelY, a.shotHeight);
    };
    const auto horizontalStrip = [&](double top) {
        a.stripOrientation = 0;
        a.screenshots = {true, 0, top, sw, stripHeight};
        a.visibleShotCount = fitOf(sw, m.twipsPerPixelX, a.shotWidth);
    };

    switch (viewMode) {
    case 0:
        a.list.height = sh - sb;
        break;
    case 1:
        a.info = {true, 0, sh - info - sb, sw, info};
        a.list.height = sh - sb - info;
        break;
    case 2:
        verticalStrip();
        a.list.width = sw - stripWidth;
        a.list.height = sh - sb;
        break;
    case 3:
        horizontalStrip(sh - stripHeight - sb);
        a.list.height = sh - sb - stripHeight;
        break;
    case 4:
        verticalStrip();
        a.list.width = sw - stripWidth;
        a.list.height = sh - info - sb;
        a.info = {true, 0, sh - info - sb, sw - stripWidth, info};
        break;
    case 5:
        horizontalStrip(sh - stripHeight - sb - info);
        a.info = {true, 0, sh - info - sb, sw, info};
        a.list.height = sh - sb - stripHeight - info;
        break;
    case 6:
        horizontalStrip(sh - stripHeight - sb);
        a.info = {true, 0, sh - info - sb - stripHeight, sw, info};
        a.list.height = sh - sb - stripHeight - info;
        break;
    }
    a.list.shown = true;
    return a;
}

StripMove moveStrip(qint32 orientation, qint32 first, qint32 applied, qint32 visible,
                    qint32 pictures)
{
    StripMove move;
    if (orientation >= 0) {
        move.arrowsArranged = true;
        move.backVisible = first >= 1;
        move.forwardVisible = qint64(first) + visible < pictures;
        if (pictures < qint64(first) + visible)
            --first; // once per resize, so enlarging brings earlier pictures back one by one
    }
    move.firstVisibleShot = std::max(first, 0);
    move.placeAgain = move.firstVisibleShot != applied;
    return move;
}

QList<QPointF> shotPositions(qint32 orientation, qint32 width, qint32 height, qint32 first,
                             qsizetype count, double pxX, double pxY)
{
    QList<QPointF> places;
    places.reserve(count);
    QPointF at = orientation == 1 ? QPointF(kGap * pxX, 8 - (height + kGap) * pxY * first)
                                  : QPointF(-(width + kGap) * pxX * first, kGap * pxY);
    for (qsizetype k = 0; k < count; ++k) {
        places.append(at);
        if (orientation == 1)
            at.setY(at.y() + (height + kGap) * pxY);
        else
            at.setX(at.x() + (width + kGap) * pxX);
    }
    return places;
}
