#pragma once

#include "state/ScreenshotList.h"

#include <QStringList>

class CatalogueView;
class Dialogs;
class PaneArranger;
class QAction;
class QMenu;
class QWidget;
class ScreenshotStrip;
class frmSSView;
struct AppState;

// What the main window does with the strip's pictures: the viewer, the picture menu and its
// View and Save as, pictures dropped on the strip, and the strip's arrows.
class ScreenshotCommands
{
public:
    // `pictureMenu`, with the main window's mnuImages as `items`, pops up over a picture that
    // was right-clicked.
    ScreenshotCommands(AppState &state, Dialogs &dialogs, ScreenshotStrip &strip,
                       PaneArranger &panes, QMenu &pictureMenu, const QList<QAction *> &items,
                       QWidget *parent);

    // The picture menu's item `index` on the picture last right-clicked.
    void mnuImages_Click(int index);
    // Shows picture `index` in the viewer, opening it the first time.
    void viewPicture(int index);
    // View > Show loading screens from rom files, a check item: on or off, and the selected
    // entry's strip follows at once.
    void toggleLoadingScreens();
    // Pictures dropped on the strip join the selected entry's screenshots.
    void picScrPane_OLEDragDrop(const QStringList &paths, ScrFiles scr);
    // The viewer, once a picture was viewed; null before.
    frmSSView *viewer() const { return m_viewer; }

private:
    void savePictureAs(int index);
    // The rom file's own screen, written as a .scr into the first screenshot directory and
    // added to the entry's screenshots.
    void keepLoadingScreen();

    AppState &m_state;
    Dialogs &m_dialogs;
    ScreenshotStrip &m_strip;
    PaneArranger &m_panes;
    QWidget *m_parent;
    frmSSView *m_viewer = nullptr;
};
