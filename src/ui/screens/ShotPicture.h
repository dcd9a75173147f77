#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>

// A picture of the screenshot strip (or one of its arrows): it stretches its image to its own
// size, reports mouse releases with the keys held, and takes files dropped from a file manager.
class ShotPicture : public QWidget
{
    Q_OBJECT

public:
    explicit ShotPicture(QWidget *parent = nullptr);

    void setImage(const QImage &image);
    const QImage &image() const { return m_image; }
    // Drops are taken only when a receiver is interested, and only of pictures other than
    // Spectrum screens.
    void setAcceptsFiles(bool accepts) { setAcceptDrops(accepts); }

Q_SIGNALS:
    void released(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint &globalPos);
    void filesDropped(const QStringList &paths);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QImage m_image;
    QPixmap m_scaled; // the image at the widget's size, made once per size
};
