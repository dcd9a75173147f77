#pragma once

#include <QtGlobal>

// The main window's view options and screenshot-strip position.
struct LayoutState
{
    static constexpr qint32 kViews = 7;

    qint32 ViewMode = 0;            // 0..6: which panes show and where
    qint32 HalfSizeScreenshots = 0; // 1: 128 x 96 pictures, else 256 x 192
    // An entry without screenshots shows the screen its tape or snapshot holds.
    bool ShowLoadingScreens = true;
    qint32 ScreenshotWidth = 256;
    qint32 ScreenshotHeight = 192;
    qint32 StripOrientation = -1; // 1 vertical, 0 horizontal, -1 no strip
    qint32 FirstVisibleShot = 0;
    qint32 AppliedFirstShot = 0;
    double VisibleShotCount = 0;
    qint32 AppliedShotCount = 0;
    qint16 ClickedShot = 0; // the picture last right-clicked: the target of its menu

    bool showsInfoPane() const
    {
        return ViewMode == 1 || ViewMode == 4 || ViewMode == 5 || ViewMode == 6;
    }
};
