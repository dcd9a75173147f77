#include "ui/main/PaneArranger.h"

#include "core/Twips.h"
#include "state/AppState.h"
#include "state/PaneLayout.h"
#include "ui/screens/ScreenshotStrip.h"

#include <QMainWindow>
#include <QStatusBar>

#include <cmath>

namespace {

int pixels(double twips, double perPixel)
{
    return std::max(0, int(std::lround(twips / perPixel)));
}

void place(QWidget &widget, const PaneRect &rect, double perPixelX, double perPixelY)
{
    widget.setGeometry(pixels(rect.left, perPixelX), pixels(rect.top, perPixelY),
                       pixels(rect.width, perPixelX), pixels(rect.height, perPixelY));
}

} // namespace

PaneArranger::PaneArranger(AppState &state, QMainWindow &window, QWidget &listPane,
                           QWidget &infoPane, ScreenshotStrip &strip, QStatusBar &statusBar)
    : m_state(state)
    , m_window(window)
    , m_listPane(listPane)
    , m_infoPane(infoPane)
    , m_strip(strip)
    , m_statusBar(statusBar)
{
}

void PaneArranger::ArrangePanes()
{
    const double perPixelX = twipsPerPixel(m_window.logicalDpiX());
    const double perPixelY = twipsPerPixel(m_window.logicalDpiY());
    // The window's inner area holds the status bar; the central pane is the rest of it.
    const QSize central = m_window.centralWidget()->size();
    const int status = m_statusBar.isVisibleTo(&m_window) ? m_statusBar.sizeHint().height() : 0;
    PaneMeasures measures;
    measures.innerWidth = central.width() * perPixelX;
    measures.innerHeight = (central.height() + status) * perPixelY;
    measures.statusHeight = status * perPixelY;
    measures.infoHeight = m_infoPane.height() * perPixelY;
    measures.twipsPerPixelX = perPixelX;
    measures.twipsPerPixelY = perPixelY;

    LayoutState &layout = m_state.layout;
    const PaneArrangement panes =
        arrangePanes(layout.ViewMode, layout.HalfSizeScreenshots, measures);
    layout.ScreenshotWidth = panes.shotWidth;
    layout.ScreenshotHeight = panes.shotHeight;
    layout.VisibleShotCount = 0;
    if (panes.moved) {
        layout.StripOrientation = panes.stripOrientation;
        layout.VisibleShotCount = panes.visibleShotCount;
        place(m_listPane, panes.list, perPixelX, perPixelY);
        place(m_strip, panes.screenshots, perPixelX, perPixelY);
        m_strip.setVisible(panes.screenshots.shown);
        // The information pane keeps its height; only its place and width follow the view.
        m_infoPane.setGeometry(pixels(panes.info.left, perPixelX),
                               pixels(panes.info.top, perPixelY),
                               pixels(panes.info.width, perPixelX), m_infoPane.height());
        m_infoPane.setVisible(panes.info.shown);
    }
    const qint32 fit = qint32(std::floor(layout.VisibleShotCount));
    if (fit != layout.AppliedShotCount) {
        m_strip.displayScrShots(fit);
        layout.AppliedShotCount = fit;
    }
}

void PaneArranger::formResize()
{
    if (m_window.isMinimized())
        return;
    ArrangePanes();
    m_strip.moveStrip();
}
