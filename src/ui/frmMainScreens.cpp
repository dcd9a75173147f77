// The panes and the screenshots: the view arithmetic applied to the window, the strip, the
// viewer, the picture menu and the view dialog.
#include "ui/frmMain.h"

#include "core/PathText.h"
#include "core/Twips.h"
#include "render/BitmapFile.h"
#include "state/InfoText.h"
#include "state/PaneLayout.h"
#include "ui/GameListView.h"
#include "ui/ScreenshotStrip.h"
#include "ui/ShotPicture.h"
#include "ui/frmLayout.h"
#include "ui/frmSSView.h"

#include <QPlainTextEdit>
#include <QStatusBar>

#include <cmath>

namespace {

const QString kSavePictureTitle = QStringLiteral("Save Picture");
const QString kBitmapFilter = QStringLiteral("bmp image (*.bmp)|*.bmp");
const QString kCantSavePicture = QStringLiteral("Unable to save the picture.");
const QString kCantSaveTitle = QStringLiteral("Can't Save");

int pixels(double twips, double perPixel)
{
    return std::max(0, int(std::lround(twips / perPixel)));
}

void place(QWidget *widget, const PaneRect &rect, double perPixelX, double perPixelY)
{
    widget->setGeometry(pixels(rect.left, perPixelX), pixels(rect.top, perPixelY),
                        pixels(rect.width, perPixelX), pixels(rect.height, perPixelY));
}

} // namespace

void frmMain::ArrangePanes()
{
    const double perPixelX = twipsPerPixel(logicalDpiX());
    const double perPixelY = twipsPerPixel(logicalDpiY());
    // The window's inner area holds the status bar; the central pane is the rest of it.
    const QSize central = centralWidget()->size();
    const int status = statBar->isVisibleTo(this) ? statBar->sizeHint().height() : 0;
    PaneMeasures measures;
    measures.innerWidth = central.width() * perPixelX;
    measures.innerHeight = (central.height() + status) * perPixelY;
    measures.statusHeight = status * perPixelY;
    measures.infoHeight = picInfoPane->height() * perPixelY;
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
        place(picListPane, panes.list, perPixelX, perPixelY);
        place(picScrPane, panes.screenshots, perPixelX, perPixelY);
        picScrPane->setVisible(panes.screenshots.shown);
        // The information pane keeps its height; only its place and width follow the view.
        picInfoPane->setGeometry(pixels(panes.info.left, perPixelX),
                                 pixels(panes.info.top, perPixelY),
                                 pixels(panes.info.width, perPixelX), picInfoPane->height());
        picInfoPane->setVisible(panes.info.shown);
    }
    const qint32 fit = qint32(std::floor(layout.VisibleShotCount));
    if (fit != layout.AppliedShotCount) {
        displayScrShots(fit);
        layout.AppliedShotCount = fit;
    }
}

void frmMain::formResize()
{
    if (isMinimized())
        return;
    ArrangePanes();
    picScrPane->moveStrip();
}

void frmMain::LoadScreenshots(const QString &screenshots)
{
    picScrPane->LoadScreenshots(screenshots);
}

void frmMain::displayScrShots(qint32 maxNumber)
{
    picScrPane->displayScrShots(maxNumber);
}

void frmMain::view_Click()
{
    frmLayout dialog(m_state, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    formResize();
    const RomDatabase &database = m_state.database;
    if (!database.isEntrySlot(database.SelectedIndex))
        return;
    const RomRecord &record = database.Get(database.SelectedIndex);
    LoadScreenshots(record.Screenshots);
    formResize();
    setInfoText(m_state.layout.showsInfoPane() ? InfoText(record, m_state.gameTypes) : QString());
}

void frmMain::mnuImages_Click(int index)
{
    const int shot = m_state.layout.ClickedShot;
    if (shot < 0 || shot >= picScrPane->pictureCount())
        return;
    if (index == Menu::ImagesView)
        viewPicture(shot);
    else if (index == Menu::ImagesSaveAs)
        savePictureAs(shot);
}

void frmMain::viewPicture(int index)
{
    if (m_viewer == nullptr)
        m_viewer = new frmSSView(this);
    const LoadedPicture &picture = picScrPane->pictureAt(index);
    m_viewer->showPicture(picture, picScrPane->imgScrShots.at(index)->image());
}

// The picture as the strip holds it, written as a Windows bitmap through the safe-write helper:
// a failed write leaves whatever file was there.
void frmMain::savePictureAs(int index)
{
    const QString path = m_dialogs.saveFile(this, {kSavePictureTitle, kBitmapFilter, {}, {}});
    if (path.isEmpty())
        return;
    const WriteResult written = saveBitmapFile(picScrPane->pictureAt(index).image, path);
    if (!written.ok)
        m_dialogs.show(this,
                       Message::critical(kCantSavePicture + kCrLf + path + kCrLf + written.reason,
                                         kCantSaveTitle));
}

void frmMain::picScrPane_OLEDragDrop(const QStringList &paths, ScrFiles scr)
{
    RomDatabase &database = m_state.database;
    if (!database.isEntrySlot(database.SelectedIndex))
        return;
    RomRecord record = database.Get(database.SelectedIndex);
    addScreenshotFiles(record.Screenshots, m_state.paths, paths, scr);
    database.Set(database.SelectedIndex, record);
    LoadScreenshots(record.Screenshots);
    formResize();
}
