#include "ui/main/ScreenshotCommands.h"

#include "core/PathText.h"
#include "render/BitmapFile.h"
#include "state/AppState.h"
#include "ui/common/Dialogs.h"
#include "ui/common/KeepLoadingScreen.h"
#include "ui/main/MainMenus.h"
#include "ui/main/PaneArranger.h"
#include "ui/screens/ScreenshotStrip.h"
#include "ui/screens/ShotPicture.h"
#include "ui/screens/frmSSView.h"

#include <QMenu>

namespace {

const QString kSavePictureTitle = QStringLiteral("Save Picture");
const QString kBitmapFilter = QStringLiteral("bmp image (*.bmp)|*.bmp");
const QString kCantSavePicture = QStringLiteral("Unable to save the picture.");
const QString kCantSaveTitle = QStringLiteral("Can't Save");
const QString kKeepTitle = QStringLiteral("Keep as screenshot");
const QString kBitmapSuffix = QStringLiteral("bmp");

} // namespace

ScreenshotCommands::ScreenshotCommands(AppState &state, Dialogs &dialogs, ScreenshotStrip &strip,
                                       PaneArranger &panes, QMenu &pictureMenu,
                                       const QList<QAction *> &items, QWidget *parent)
    : m_state(state)
    , m_dialogs(dialogs)
    , m_strip(strip)
    , m_panes(panes)
    , m_parent(parent)
{
    QObject::connect(&strip, &ScreenshotStrip::resizeRequested, parent,
                     [this] { m_panes.formResize(); });
    QObject::connect(&strip, &ScreenshotStrip::viewRequested, parent,
                     [this](int index) { viewPicture(index); });
    for (int item = 0; item < items.size(); ++item)
        QObject::connect(items.at(item), &QAction::triggered, parent,
                         [this, item] { mnuImages_Click(item); });
    QAction *keep = items.at(Menu::ImagesKeep);
    QObject::connect(&strip, &ScreenshotStrip::imageMenuRequested, parent,
                     [this, keep, &pictureMenu](int, const QPoint &globalPos) {
                         // Only the rom file's own screen is there to keep.
                         keep->setVisible(m_strip.showsLoadingScreen());
                         pictureMenu.popup(globalPos);
                     });
    QObject::connect(
        &strip, &ScreenshotStrip::filesDropped, parent,
        [this](const QStringList &paths, ScrFiles scr) { picScrPane_OLEDragDrop(paths, scr); });
}

void ScreenshotCommands::mnuImages_Click(int index)
{
    const int shot = m_state.layout.ClickedShot;
    if (shot < 0 || shot >= m_strip.pictureCount())
        return;
    if (index == Menu::ImagesView)
        viewPicture(shot);
    else if (index == Menu::ImagesSaveAs)
        savePictureAs(shot);
    else if (index == Menu::ImagesKeep && m_strip.showsLoadingScreen())
        keepLoadingScreen();
}

void ScreenshotCommands::viewPicture(int index)
{
    if (m_viewer == nullptr)
        m_viewer = new frmSSView(m_parent);
    m_viewer->showPicture(m_strip.pictureAt(index), m_strip.imgScrShots.at(index)->image());
}

// The picture as the strip holds it, written as a Windows bitmap through the safe-write helper:
// a failed write leaves whatever file was there.
void ScreenshotCommands::savePictureAs(int index)
{
    QString path =
        m_dialogs.saveFile(m_parent, {kSavePictureTitle, kBitmapFilter, {}, kBitmapSuffix});
    if (path.isEmpty())
        return;
    // Not every file dialog adds the suffix itself; a bitmap without one opens nowhere.
    if (!fileNamePart(path).contains(u'.'))
        path += u'.' + kBitmapSuffix;
    const WriteResult written = saveBitmapFile(m_strip.pictureAt(index).image, path);
    if (!written.ok)
        m_dialogs.show(m_parent,
                       Message::critical(kCantSavePicture + kCrLf + path + kCrLf + written.reason,
                                         kCantSaveTitle));
}

void ScreenshotCommands::picScrPane_OLEDragDrop(const QStringList &paths, ScrFiles scr)
{
    RomDatabase &database = m_state.database;
    if (!database.isEntrySlot(database.SelectedIndex))
        return;
    RomRecord record = database.Get(database.SelectedIndex);
    QStringList withComma;
    addScreenshotFiles(record.Screenshots, m_state.paths, paths, scr, &withComma);
    for (const QString &name : std::as_const(withComma))
        m_dialogs.show(m_parent, commaInScreenshotName(name));
    database.Set(database.SelectedIndex, record);
    m_strip.LoadScreenshots(record.Screenshots, record.RomFile);
    m_panes.formResize();
}

void ScreenshotCommands::toggleLoadingScreens()
{
    m_state.layout.ShowLoadingScreens = !m_state.layout.ShowLoadingScreens;
    const RomDatabase &database = m_state.database;
    if (!database.isEntrySlot(database.SelectedIndex))
        return;
    const RomRecord &record = database.Get(database.SelectedIndex);
    m_strip.LoadScreenshots(record.Screenshots, record.RomFile);
    m_panes.formResize();
}

void ScreenshotCommands::keepLoadingScreen()
{
    RomDatabase &database = m_state.database;
    if (!database.isEntrySlot(database.SelectedIndex))
        return;
    RomRecord record = database.Get(database.SelectedIndex);
    const QString kept = ::keepLoadingScreen(m_state, m_dialogs, m_parent, kKeepTitle,
                                             record.RomFile, m_strip.pictureAt(0).screen);
    if (kept.isEmpty())
        return;
    // Names listed before stay listed, found or not.
    record.Screenshots += (record.Screenshots.isEmpty() ? QString() : QStringLiteral(",")) + kept;
    database.Set(database.SelectedIndex, record);
    m_strip.LoadScreenshots(record.Screenshots, record.RomFile);
    m_panes.formResize();
}
