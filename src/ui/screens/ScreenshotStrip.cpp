#include "ui/screens/ScreenshotStrip.h"

#include "core/PathText.h"
#include "core/Twips.h"
#include "render/NoScreenshot.h"
#include "state/AppState.h"
#include "state/PaneLayout.h"
#include "ui/common/BusyCursor.h"
#include "ui/common/DroppedFiles.h"
#include "ui/screens/ShotPicture.h"

#include <QDropEvent>
#include <QMimeData>
#include <QPainter>

#include <algorithm>

#include <cmath>

namespace {

constexpr int kArrowSize = 16;
const QString kNotFoundTip = QStringLiteral("Unable to locate file [%1]");
const QString kUnreadableTip = QStringLiteral("Unable to read file [%1]");
const QString kLoadingScreenTip = QStringLiteral("Loading screen from [%1]");

// A 16 x 16 arrow pointing the way the strip moves: 0 left, 1 right, 2 up, 3 down.
QImage arrowImage(int index)
{
    QImage image(kArrowSize, kArrowSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(40, 40, 40), 1));
    painter.setBrush(QColor(250, 250, 250, 230));
    painter.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    QPolygonF triangle({QPointF(-3, -4.5), QPointF(-3, 4.5), QPointF(4, 0)});
    painter.translate(8, 8);
    painter.rotate(std::array<double, 4>{180, 0, 270, 90}[std::size_t(index)]);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(20, 20, 20));
    painter.drawPolygon(triangle);
    return image;
}

int pixels(double twips, double perPixel)
{
    return int(std::lround(twips / perPixel));
}

} // namespace

ScreenshotStrip::ScreenshotStrip(AppState &state, PictureLoader &pictures, QWidget *parent)
    : QWidget(parent)
    , m_state(state)
    , m_pictures(pictures)
{
    setObjectName(QStringLiteral("picScrPane"));
    setAcceptDrops(true);
    imgScrShots.append(newPicture());
    m_loaded.append(LoadedPicture{});
    for (int index = 0; index < 4; ++index) {
        auto *arrow = new ShotPicture(this);
        arrow->setObjectName(QStringLiteral("actions%1").arg(index));
        arrow->setImage(arrowImage(index));
        arrow->resize(kArrowSize, kArrowSize);
        arrow->setCursor(Qt::PointingHandCursor);
        arrow->hide();
        connect(arrow, &ShotPicture::released, this,
                [this, index](Qt::MouseButton) { actions_MouseUp(index); });
        actions.append(arrow);
    }
}

const QImage &ScreenshotStrip::placeholder()
{
    static const QImage picNoSS = drawPicNoSS();
    return picNoSS;
}

ShotPicture *ScreenshotStrip::newPicture()
{
    auto *picture = new ShotPicture(this);
    picture->setObjectName(QStringLiteral("imgScrShots"));
    picture->setAcceptsFiles(true);
    picture->hide();
    connect(picture, &ShotPicture::released, this,
            [this, picture](Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                            const QPoint &globalPos) {
                imgScrShots_MouseUp(int(imgScrShots.indexOf(picture)), button, modifiers,
                                    globalPos);
            });
    connect(picture, &ShotPicture::filesDropped, this,
            [this](const QStringList &paths) { Q_EMIT filesDropped(paths, ScrFiles::Refused); });
    return picture;
}

void ScreenshotStrip::setPicture(int index, const LoadedPicture &picture, const QString &toolTip)
{
    m_loaded[index] = picture;
    imgScrShots[index]->setImage(picture.ok ? picture.image : placeholder());
    imgScrShots[index]->setToolTip(toolTip);
}

void ScreenshotStrip::LoadScreenshots(const QString &screenshots, const QString &romFile)
{
    BusyCursor busy;
    QStringList names = screenshotNames(screenshots);
    QStringList paths;
    for (const QString &name : std::as_const(names))
        paths.append(findScreenshot(m_state.paths, name, m_state.programDir.programDir));
    LayoutState &layout = m_state.layout;
    // Without a screenshot file to show (none listed, or none of them found), the screen the rom
    // file holds stands in for the placeholders.
    m_loadingScreenOf.clear();
    LoadedPicture screen;
    if (layout.ShowLoadingScreens && !romFile.isEmpty() &&
        std::all_of(paths.cbegin(), paths.cend(), [](const QString &p) { return p.isEmpty(); })) {
        const QString found = m_state.paths.FindInSearchPaths(PathKind::Rom, romFile);
        screen = found.isEmpty() ? LoadedPicture{} : m_pictures.loadLoadingScreen(found);
        if (screen.ok) {
            m_loadingScreenOf = found;
            names.clear();
            paths.clear();
        }
    }

    const qsizetype count = std::max<qsizetype>(names.size(), 1);
    // Element 0 stays; the rest are made for this entry, hidden until displayScrShots.
    while (imgScrShots.size() > count) {
        delete imgScrShots.takeLast();
        m_loaded.removeLast();
    }
    while (imgScrShots.size() < count) {
        imgScrShots.append(newPicture());
        m_loaded.append(LoadedPicture{});
    }
    // Fewer screenshots than before (the entry was edited while its strip was scrolled): the
    // strip starts no later than its last picture, or it would show nothing but an arrow.
    layout.FirstVisibleShot = std::clamp(layout.FirstVisibleShot, 0, qint32(count - 1));
    for (ShotPicture *picture : std::as_const(imgScrShots))
        picture->resize(layout.ScreenshotWidth, layout.ScreenshotHeight);
    placePictures();
    setPicture(0, LoadedPicture{}, QString());

    for (qsizetype k = 0; k < names.size(); ++k) {
        const QString &path = paths.at(k);
        if (path.isEmpty()) {
            setPicture(int(k), LoadedPicture{}, kNotFoundTip.arg(names.at(k)));
            continue;
        }
        const LoadedPicture picture = m_pictures.load(path);
        setPicture(int(k), picture, picture.ok ? path : kUnreadableTip.arg(path));
    }
    for (qsizetype k = names.size(); k < count; ++k)
        imgScrShots[k]->setToolTip(QString());
    if (showsLoadingScreen())
        setPicture(0, screen, kLoadingScreenTip.arg(fileNamePart(m_loadingScreenOf)));
    for (ShotPicture *arrow : std::as_const(actions))
        arrow->raise();
    displayScrShots(qint32(layout.VisibleShotCount));
}

void ScreenshotStrip::placePictures()
{
    const LayoutState &layout = m_state.layout;
    const double perPixelX = twipsPerPixel(logicalDpiX());
    const double perPixelY = twipsPerPixel(logicalDpiY());
    const QList<QPointF> places = shotPositions(
        layout.StripOrientation, imgScrShots.first()->width(), imgScrShots.first()->height(),
        layout.FirstVisibleShot, imgScrShots.size(), perPixelX, perPixelY);
    for (qsizetype k = 0; k < places.size(); ++k)
        imgScrShots[k]->move(pixels(places[k].x(), perPixelX), pixels(places[k].y(), perPixelY));
}

void ScreenshotStrip::displayScrShots(qint32 maxNumber)
{
    const qint64 first = m_state.layout.FirstVisibleShot;
    const qint64 count = imgScrShots.size();
    for (qint64 i = std::max<qint64>(first, 0); i < first + maxNumber && i < count; ++i)
        imgScrShots[i]->show();
    if (maxNumber < count) {
        for (qint64 i = std::max<qint64>(first + maxNumber, 0); i < count; ++i)
            imgScrShots[i]->hide();
    }
}

void ScreenshotStrip::arrangeArrows(bool back, bool forward)
{
    const bool vertical = m_state.layout.StripOrientation == 1;
    const int across = (width() - kArrowSize) / 2;
    const int down = (height() - kArrowSize) / 2;
    actions[0]->move(0, down);
    actions[1]->move(width() - kArrowSize, down);
    actions[2]->move(across, 0);
    actions[3]->move(across, height() - kArrowSize);
    actions[0]->setVisible(!vertical && back);
    actions[1]->setVisible(!vertical && forward);
    actions[2]->setVisible(vertical && back);
    actions[3]->setVisible(vertical && forward);
}

void ScreenshotStrip::moveStrip()
{
    LayoutState &layout = m_state.layout;
    const StripMove move =
        ::moveStrip(layout.StripOrientation, layout.FirstVisibleShot, layout.AppliedFirstShot,
                    qint32(layout.VisibleShotCount), pictureCount());
    if (move.arrowsArranged)
        arrangeArrows(move.backVisible, move.forwardVisible);
    layout.FirstVisibleShot = move.firstVisibleShot;
    if (move.placeAgain) {
        placePictures();
        layout.AppliedFirstShot = layout.FirstVisibleShot;
    }
    displayScrShots(qint32(layout.VisibleShotCount));
}

void ScreenshotStrip::actions_MouseUp(int index)
{
    LayoutState &layout = m_state.layout;
    if (index == 1 || index == 3) {
        if (layout.FirstVisibleShot + layout.VisibleShotCount < pictureCount())
            ++layout.FirstVisibleShot;
    } else {
        layout.FirstVisibleShot = std::max(layout.FirstVisibleShot - 1, 0);
    }
    Q_EMIT resizeRequested();
}

void ScreenshotStrip::imgScrShots_MouseUp(int index, Qt::MouseButton button,
                                          Qt::KeyboardModifiers modifiers, const QPoint &globalPos)
{
    if (index < 0 || index >= pictureCount())
        return;
    if (button == Qt::LeftButton && (modifiers & Qt::ShiftModifier)) {
        Q_EMIT viewRequested(index);
        return;
    }
    if (button != Qt::RightButton)
        return;
    m_state.layout.ClickedShot = qint16(index);
    const RomDatabase &database = m_state.database;
    // Only a picture that was found and read has anything to view or save.
    if (database.isEntrySlot(database.SelectedIndex) &&
        (!database.Get(database.SelectedIndex).Screenshots.isEmpty() || showsLoadingScreen()) &&
        m_loaded.at(index).ok)
        Q_EMIT imageMenuRequested(index, globalPos);
}

// A drag of nothing that would be taken shows the refusing pointer.
void ScreenshotStrip::dragEnterEvent(QDragEnterEvent *event)
{
    answerDrag(event, anyPictureName(droppedPaths(event->mimeData()), ScrFiles::Accepted));
}

void ScreenshotStrip::dragMoveEvent(QDragMoveEvent *event)
{
    answerDrag(event, anyPictureName(droppedPaths(event->mimeData()), ScrFiles::Accepted));
}

void ScreenshotStrip::dropEvent(QDropEvent *event)
{
    const QStringList paths = acceptDrop(event);
    if (!paths.isEmpty())
        Q_EMIT filesDropped(paths, ScrFiles::Accepted);
}
