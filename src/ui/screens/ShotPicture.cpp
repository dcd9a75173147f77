#include "ui/screens/ShotPicture.h"

#include "state/ScreenshotList.h"
#include "ui/common/DroppedFiles.h"

#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

ShotPicture::ShotPicture(QWidget *parent)
    : QWidget(parent)
{
}

void ShotPicture::setImage(const QImage &image)
{
    m_image = image;
    m_scaled = QPixmap();
    update();
}

void ShotPicture::resizeEvent(QResizeEvent *event)
{
    m_scaled = QPixmap();
    QWidget::resizeEvent(event);
}

void ShotPicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_image.isNull()) {
        painter.fillRect(rect(), palette().window());
        return;
    }
    if (m_scaled.size() != size()) {
        m_scaled = QPixmap::fromImage(
            m_image.size() == size()
                ? m_image
                : m_image.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    painter.drawPixmap(0, 0, m_scaled);
}

void ShotPicture::mouseReleaseEvent(QMouseEvent *event)
{
    Q_EMIT released(event->button(), event->modifiers(), event->globalPosition().toPoint());
}

// A drag of nothing that would be taken shows the refusing pointer.
void ShotPicture::dragEnterEvent(QDragEnterEvent *event)
{
    answerDrag(event, anyPictureName(droppedPaths(event->mimeData()), ScrFiles::Refused));
}

void ShotPicture::dragMoveEvent(QDragMoveEvent *event)
{
    answerDrag(event, anyPictureName(droppedPaths(event->mimeData()), ScrFiles::Refused));
}

void ShotPicture::dropEvent(QDropEvent *event)
{
    const QStringList paths = acceptDrop(event);
    if (!paths.isEmpty())
        Q_EMIT filesDropped(paths);
}
