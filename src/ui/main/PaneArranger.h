#pragma once

class QMainWindow;
class QStatusBar;
class QWidget;
class ScreenshotStrip;
struct AppState;

// The view arithmetic applied to the main window: where the list, the details and the strip go
// for the chosen view and size, and how many screenshots fit.
class PaneArranger
{
public:
    PaneArranger(AppState &state, QMainWindow &window, QWidget &listPane, QWidget &infoPane,
                 ScreenshotStrip &strip, QStatusBar &statusBar);

    void ArrangePanes();
    // The window's resize handling: the panes, then the strip. A minimised window has no
    // size to lay out for; it is laid out again when restored.
    void formResize();

private:
    AppState &m_state;
    QMainWindow &m_window;
    QWidget &m_listPane;
    QWidget &m_infoPane;
    ScreenshotStrip &m_strip;
    QStatusBar &m_statusBar;
};
