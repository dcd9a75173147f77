#include "ui/screens/frmSSView.h"

#include "render/DisplayZX.h"
#include "ui/screens/ShotPicture.h"

frmSSView::frmSSView(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSSView"));
    setWindowTitle(QStringLiteral("Screenshot"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(false);
    Image1 = new ShotPicture(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, kInnerWidth, kInnerHeight);
    // Qt sizes the inside of a window; the frame comes on top, as the window manager draws it.
    setFixedSize(kInnerWidth, kInnerHeight);
    m_flash.setInterval(kFlashMilliseconds);
    connect(&m_flash, &QTimer::timeout, this, [this] { nextFlashPhase(); });
}

void frmSSView::showPicture(const LoadedPicture &picture, const QImage &shown)
{
    m_phase = 0;
    m_flash.stop();
    m_screen.clear();
    Image1->setImage(shown);
    if (picture.ok && picture.isScr && screenFlashes(picture.screen)) {
        m_screen = picture.screen;
        m_flash.start();
    }
    show();
    raise();
}

void frmSSView::nextFlashPhase()
{
    m_phase = 1 - m_phase;
    Image1->setImage(DisplayZX(m_screen, m_phase));
}

void frmSSView::hideEvent(QHideEvent *event)
{
    m_flash.stop();
    QDialog::hideEvent(event);
}
