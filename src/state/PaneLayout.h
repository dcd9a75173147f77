#pragma once

#include <QList>
#include <QPointF>
#include <QtGlobal>

// The main window's pane arithmetic: which panes a view shows, where, and how many screenshots
// fit. Everything is in twips (1/1440 inch), as the window's measures are kept; the panes have
// no border, so a pane's inner size is its size.

struct PaneMeasures
{
    double innerWidth = 0;   // the window's inner width
    double innerHeight = 0;  // the window's inner height, the status bar included
    double statusHeight = 0; // the status bar's height
    double infoHeight = 0;   // the information pane keeps the height it was built with
    double twipsPerPixelX = 15;
    double twipsPerPixelY = 15;
};

struct PaneRect
{
    bool shown = false;
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

struct PaneArrangement
{
    bool moved = false; // false for a view that does not exist: nothing is moved
    qint32 shotWidth = 256;
    qint32 shotHeight = 192;
    qint32 stripOrientation = -1; // 1 vertical, 0 horizontal, -1 no strip
    PaneRect list;                // its left and top stay at 0
    PaneRect info;
    PaneRect screenshots;
    qint32 visibleShotCount = 0; // the whole screenshots that fit, never below 0
};

// The seven views: 0 list only; 1 list and info; 2 and 3 list and screenshots (strip right,
// bottom); 4, 5 and 6 list, info and screenshots (strip right; strip above the info; info above
// the strip). `halfSize` 1 gives 128 x 96 pictures, anything else 256 x 192.
PaneArrangement arrangePanes(qint32 viewMode, qint32 halfSize, const PaneMeasures &measures);

// Moving the strip after a resize or a scroll: the arrows to show, where the first picture
// shown ends up (lowered by one when more pictures fit than remain after it, never below 0)
// and whether the pictures must be placed again.
struct StripMove
{
    bool arrowsArranged = false; // false without a strip: the arrows stay as they are
    bool backVisible = false;
    bool forwardVisible = false;
    qint32 firstVisibleShot = 0;
    bool placeAgain = false; // firstVisibleShot differs from the one last placed
};

StripMove moveStrip(qint32 orientation, qint32 firstVisibleShot, qint32 appliedFirstShot,
                    qint32 visibleShotCount, qint32 pictureCount);

// The top-left corner of each of `count` pictures of `width` x `height` pixels, in twips from
// the pane's top left. The first is placed back by the pictures before `firstVisibleShot`, so
// they lie outside the pane; each further one follows its predecessor with an 8-pixel gap.
QList<QPointF> shotPositions(qint32 orientation, qint32 width, qint32 height,
                             qint32 firstVisibleShot, qsizetype count, double twipsPerPixelX,
                             double twipsPerPixelY);
