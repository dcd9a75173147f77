#pragma once

#include "render/PictureLoader.h"
#include "state/ScreenshotList.h"

#include <QList>
#include <QWidget>

class ShotPicture;
struct AppState;

// The screenshot pane `picScrPane`: the selected entry's screenshots as a strip of pictures,
// only the part that fits shown, scrolled by four arrows. The main window says where the pane
// goes and how many pictures fit (its pane arithmetic); the strip places and fills the pictures.
class ScreenshotStrip : public QWidget
{
    Q_OBJECT

public:
    ScreenshotStrip(AppState &state, PictureLoader &pictures, QWidget *parent = nullptr);

    // imgScrShots: element 0 always exists; one element per screenshot name.
    QList<ShotPicture *> imgScrShots;
    // 0 back and 1 forward of a horizontal strip, 2 back and 3 forward of a vertical one.
    QList<ShotPicture *> actions;

    // Rebuilds the whole strip from an entry's Screenshots. Without any to show (none listed,
    // or none found), the screen its rom file holds stands in for the placeholders, when the
    // view options ask for it.
    void LoadScreenshots(const QString &screenshots, const QString &romFile = {});
    // The strip shows the rom file's own screen, not a screenshot file.
    bool showsLoadingScreen() const { return !m_loadingScreenOf.isEmpty(); }
    // Shows the `maxNumber` pictures from FirstVisibleShot on and hides those after them.
    void displayScrShots(qint32 maxNumber);
    // The strip's part of the window's resize handling: the arrows, the first picture shown,
    // the pictures placed again when that changed, and which are shown.
    void moveStrip();
    // A release on arrow `index`: one picture back or forward, then the resize handling.
    void actions_MouseUp(int index);
    // A release on picture `index`.
    void imgScrShots_MouseUp(int index, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                             const QPoint &globalPos);

    int pictureCount() const { return int(imgScrShots.size()); }
    // What picture `index` shows; a missing or unreadable file gives a picture that is not ok.
    const LoadedPicture &pictureAt(int index) const { return m_loaded.at(index); }
    // The placeholder shown for a missing or unreadable file.
    static const QImage &placeholder();

Q_SIGNALS:
    // The arrows moved the strip: the window runs its resize handling.
    void resizeRequested();
    void viewRequested(int index);
    void imageMenuRequested(int index, const QPoint &globalPos);
    // Files dropped on the pane (which takes .scr screens too) or on one of its pictures.
    void filesDropped(const QStringList &paths, ScrFiles scr);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    ShotPicture *newPicture();
    void setPicture(int index, const LoadedPicture &picture, const QString &toolTip);
    // Places every picture after the first by the formula, in the pictures' current size.
    void placePictures();
    void arrangeArrows(bool back, bool forward);

    AppState &m_state;
    PictureLoader &m_pictures;
    QList<LoadedPicture> m_loaded; // one per element
    QString m_loadingScreenOf;     // the rom file whose screen picture 0 shows
};
