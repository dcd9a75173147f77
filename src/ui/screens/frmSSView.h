#pragma once

#include "render/PictureLoader.h"

#include <QDialog>
#include <QTimer>

class ShotPicture;

// The screenshot viewer: one picture of the strip at twice the full screenshot size, 512 x 384
// pixels inside the window, stretched. It does not block the main window; showing another
// picture while it is open replaces the picture and keeps the window's size and place. A Spectrum
// screen with flashing cells flashes as on the machine.
class frmSSView : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kInnerWidth = 512;
    static constexpr int kInnerHeight = 384;
    // Both FLASH phases last 16 frames of the machine's 50 a second.
    static constexpr int kFlashMilliseconds = 320;

    explicit frmSSView(QWidget *parent = nullptr);

    ShotPicture *Image1 = nullptr;

    void showPicture(const LoadedPicture &picture, const QImage &shown);
    // The FLASH phase on show: 0 as stored, 1 with ink and paper swapped.
    int flashPhase() const { return m_phase; }
    bool isFlashing() const { return m_flash.isActive(); }

protected:
    void hideEvent(QHideEvent *event) override;

private:
    void nextFlashPhase();

    QByteArray m_screen; // the Spectrum screen on show, when it flashes
    int m_phase = 0;
    QTimer m_flash;
};
