#include "ui/common/DriveIcons.h"

#include <QHash>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>

namespace {

enum class Glyph { Unknown, Removable, Fixed, Cd, Network, Ram };

// Every glyph is drawn on a 16 x 16 grid; the painter is scaled for larger pictures.

void drawDriveBody(QPainter &p, const QColor &light, const QColor &dark)
{
    QLinearGradient face(0, 5, 0, 12);
    face.setColorAt(0, light);
    face.setColorAt(1, dark);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(face);
    p.drawRoundedRect(QRectF(0.5, 5.5, 15, 6.5), 1.5, 1.5);
    // The slot across the front.
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.drawLine(QPointF(2.5, 8.5), QPointF(9.5, 8.5));
}

void drawLed(QPainter &p, const QColor &colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRect(QRectF(11.5, 8, 2.5, 2));
}

void drawFixed(QPainter &p)
{
    drawDriveBody(p, QColor(235, 235, 235), QColor(160, 160, 165));
    drawLed(p, QColor(40, 190, 40));
}

void drawUnknown(QPainter &p)
{
    drawDriveBody(p, QColor(225, 225, 225), QColor(170, 170, 170));
    // The question mark sits above the body's right end, fitted to its box whatever the font.
    QFont font = p.font();
    font.setPixelSize(10);
    font.setBold(true);
    QPainterPath mark;
    mark.addText(0, 0, font, QStringLiteral("?"));
    const QRectF box(10, 0, 5.5, 8.5);
    const QRectF bounds = mark.boundingRect();
    const qreal scale = std::min(box.width() / bounds.width(), box.height() / bounds.height());
    p.save();
    p.translate(box.center());
    p.scale(scale, scale);
    p.translate(-bounds.center());
    p.setPen(QPen(Qt::white, 1.5 / scale));
    p.setBrush(Qt::NoBrush);
    p.drawPath(mark);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 60, 200));
    p.drawPath(mark);
    p.restore();
}

// A memory stick: a body with its plug on the left.
void drawRemovable(QPainter &p)
{
    p.setPen(QPen(QColor(120, 120, 120), 1));
    p.setBrush(QColor(215, 215, 220));
    p.drawRect(QRectF(0.5, 6.5, 4, 4));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 90, 90));
    p.drawRect(QRectF(1.5, 7.5, 1, 1));
    p.drawRect(QRectF(1.5, 9, 1, 1));
    QLinearGradient body(0, 5, 0, 12);
    body.setColorAt(0, QColor(90, 140, 230));
    body.setColorAt(1, QColor(30, 70, 170));
    p.setPen(QPen(QColor(20, 40, 110), 1));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(4.5, 4.5, 11, 8), 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 200, 60));
    p.drawRect(QRectF(12, 7.5, 2, 2));
}

void drawCd(QPainter &p)
{
    QRadialGradient disc(QPointF(6, 6), 9);
    disc.setColorAt(0, QColor(255, 255, 255));
    disc.setColorAt(0.5, QColor(200, 215, 240));
    disc.setColorAt(0.8, QColor(235, 200, 240));
    disc.setColorAt(1, QColor(170, 180, 200));
    p.setPen(QPen(QColor(90, 90, 110), 1));
    p.setBrush(disc);
    p.drawEllipse(QRectF(1, 1, 14, 14));
    p.setBrush(QColor(240, 240, 240));
    p.drawEllipse(QRectF(5.5, 5.5, 5, 5));
    // The hole shows whatever is behind the picture.
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(6.75, 6.75, 2.5, 2.5));
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

// A drive with a cable running down to a network bar.
void drawNetwork(QPainter &p)
{
    p.save();
    p.translate(0, -3);
    drawDriveBody(p, QColor(235, 235, 235), QColor(160, 160, 165));
    drawLed(p, QColor(40, 190, 40));
    p.restore();
    p.setPen(QPen(QColor(40, 90, 180), 2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(8, 9), QPointF(8, 13));
    p.drawLine(QPointF(2, 14), QPointF(14, 14));
}

// A memory module: a green board, black chips and gold contacts.
void drawRam(QPainter &p)
{
    p.setPen(QPen(QColor(20, 90, 40), 1));
    p.setBrush(QColor(50, 160, 80));
    p.drawRect(QRectF(0.5, 4.5, 15, 7));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 30, 30));
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(2 + i * 4.5, 6, 3, 3.5));
    p.setBrush(QColor(230, 180, 40));
    for (int i = 0; i < 7; ++i)
        p.drawRect(QRectF(1.5 + i * 2, 12, 1, 2));
}

void drawGlyph(QPainter &p, Glyph glyph)
{
    switch (glyph) {
    case Glyph::Unknown:
        drawUnknown(p);
        break;
    case Glyph::Removable:
        drawRemovable(p);
        break;
    case Glyph::Fixed:
        drawFixed(p);
        break;
    case Glyph::Cd:
        drawCd(p);
        break;
    case Glyph::Network:
        drawNetwork(p);
        break;
    case Glyph::Ram:
        drawRam(p);
        break;
    }
}

void drawRedCross(QPainter &p)
{
    p.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9, 9), QPointF(14.5, 14.5));
    p.drawLine(QPointF(14.5, 9), QPointF(9, 14.5));
    p.setPen(QPen(QColor(220, 20, 20), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9, 9), QPointF(14.5, 14.5));
    p.drawLine(QPointF(14.5, 9), QPointF(9, 14.5));
}

// The "no files" form: the glyph washed out to pale grey, partly see-through.
void greyOut(QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = line[x];
            const int alpha = qAlpha(pixel) * 3 / 4;
            const int grey = qAlpha(pixel) ? 95 + qGray(pixel) * 140 / 255 : 0;
            line[x] = qPremultiply(qRgba(grey, grey, grey, alpha));
        }
    }
}

struct Look
{
    Glyph glyph;
    bool greyed;
    bool crossed;
};

Look lookOf(const QString &key)
{
    static const QHash<QString, Look> looks = {
        {QStringLiteral("unknown"), {Glyph::Unknown, false, false}},
        {QStringLiteral("notmapped"), {Glyph::Network, true, true}},
        {QStringLiteral("removable"), {Glyph::Removable, false, false}},
        {QStringLiteral("fixed"), {Glyph::Fixed, false, false}},
        {QStringLiteral("cd"), {Glyph::Cd, false, false}},
        {QStringLiteral("network"), {Glyph::Network, false, false}},
        {QStringLiteral("ram"), {Glyph::Ram, false, false}},
        {QStringLiteral("removablex"), {Glyph::Removable, true, false}},
        {QStringLiteral("fixedx"), {Glyph::Fixed, true, false}},
        {QStringLiteral("cdx"), {Glyph::Cd, true, false}},
        {QStringLiteral("ramx"), {Glyph::Ram, true, false}},
    };
    return looks.value(key, {Glyph::Unknown, false, false});
}

} // namespace

QPixmap drivePixmap(const QString &key, int scale)
{
    const Look look = lookOf(key);
    QImage image(16 * scale, 16 * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(scale, scale);
        drawGlyph(p, look.glyph);
    }
    if (look.greyed)
        greyOut(image);
    if (look.crossed) {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(scale, scale);
        drawRedCross(p);
    }
    return QPixmap::fromImage(image);
}

QIcon driveIcon(const QString &key)
{
    QIcon icon;
    icon.addPixmap(drivePixmap(key, 1));
    icon.addPixmap(drivePixmap(key, 2));
    return icon;
}
