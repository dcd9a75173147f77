#include "render/ViewSketch.h"

#include "render/DisplayZX.h"

#include <QPainter>

namespace {

constexpr int kStripAcross = 16; // a vertical strip's width, a horizontal strip's height
constexpr int kInfoHeight = 12;
constexpr int kLineSpacing = 4;

// Strip squares in the colours of the stripes on the Spectrum's case.
constexpr int kSquareColours[] = {2, 6, 4, 5};

QColor colour(int number, bool bright)
{
    return QColor(spectrumColour(number, bright));
}

void drawList(QPainter &painter, const QRect &area)
{
    painter.fillRect(area, colour(7, true));
    painter.fillRect(area.left(), area.top(), area.width(), kLineSpacing, colour(7, false));
    for (int y = area.top() + 2 * kLineSpacing; y < area.bottom(); y += kLineSpacing)
        painter.fillRect(area.left() + 2, y, area.width() - 4, 1, QColor(0x90, 0x90, 0x90));
}

void drawInfo(QPainter &painter, const QRect &area)
{
    painter.fillRect(area, QColor(0xFF, 0xFF, 0xE0));
    // A blue disc with a white "i".
    const QRect disc(area.left() + 2, area.top() + (area.height() - 9) / 2, 9, 9);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour(1, true));
    painter.drawEllipse(disc);
    painter.fillRect(disc.left() + 4, disc.top() + 2, 1, 1, Qt::white);
    painter.fillRect(disc.left() + 4, disc.top() + 4, 1, 3, Qt::white);
    for (int y = area.top() + 3; y < area.bottom() - 1; y += 3)
        painter.fillRect(disc.right() + 3, y, area.right() - disc.right() - 5, 1,
                         QColor(0x60, 0x60, 0x60));
}

void drawStrip(QPainter &painter, const QRect &area, bool vertical)
{
    painter.fillRect(area, QColor(0x50, 0x50, 0x50));
    constexpr int kSquare = 10;
    constexpr int kGap = 3;
    int index = 0;
    for (int offset = kGap;; offset += kSquare + kGap, ++index) {
        const QRect square =
            vertical ? QRect(area.left() + (area.width() - kSquare) / 2, area.top() + offset,
                             kSquare, kSquare)
                     : QRect(area.left() + offset, area.top() + (area.height() - kSquare) / 2,
                             kSquare, kSquare);
        if (!area.contains(square))
            break;
        painter.fillRect(square, colour(kSquareColours[index % 4], true));
    }
}

} // namespace

QImage viewSketch(int view)
{
    if (view < 0 || view >= kViewCount)
        return {};
    QImage image(kViewSketchWidth, kViewSketchHeight, QImage::Format_RGB32);
    image.fill(QColor(0x40, 0x40, 0x40)); // the window's frame
    QRect list = image.rect().adjusted(1, 1, -1, -1);
    QRect info;
    QRect strip;
    const bool vertical = view == 2 || view == 4;
    if (vertical) {
        strip = QRect(list.right() - kStripAcross + 1, list.top(), kStripAcross, list.height());
        list.setRight(strip.left() - 2);
    }
    // Panes that span the width below the list, from the bottom up.
    const auto takeBottom = [&list](int height) {
        const QRect pane(list.left(), list.bottom() - height + 1, list.width(), height);
        list.setBottom(pane.top() - 2);
        return pane;
    };
    switch (view) {
    case 1:
    case 4:
        info = takeBottom(kInfoHeight);
        break;
    case 3:
        strip = takeBottom(kStripAcross);
        break;
    case 5:
        info = takeBottom(kInfoHeight);
        strip = takeBottom(kStripAcross);
        break;
    case 6:
        strip = takeBottom(kStripAcross);
        info = takeBottom(kInfoHeight);
        break;
    default:
        break;
    }

    QPainter painter(&image);
    drawList(painter, list);
    if (!info.isNull())
        drawInfo(painter, info);
    if (!strip.isNull())
        drawStrip(painter, strip, vertical);
    return image;
}
