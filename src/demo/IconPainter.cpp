#include "IconPainter.h"

#include <QColor>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>

namespace {

struct Shape
{
    enum Kind { RoundedRect, Circle, Polygon };
    Kind kind;
    QColor fill;
    QRectF rect;      // RoundedRect; Circle: the square around it
    qreal radius = 0; // RoundedRect's corners
    QPolygonF points; // Polygon
};

Shape roundedRect(qreal x, qreal y, qreal width, qreal height, qreal radius, const char *fill)
{
    return {Shape::RoundedRect, QColor(QLatin1String(fill)), {x, y, width, height}, radius, {}};
}

Shape circle(qreal cx, qreal cy, qreal r, const char *fill)
{
    return {Shape::Circle, QColor(QLatin1String(fill)), {cx - r, cy - r, 2 * r, 2 * r}, 0, {}};
}

Shape polygon(const QList<QPointF> &points, const char *fill)
{
    return {Shape::Polygon, QColor(QLatin1String(fill)), {}, 0, QPolygonF(points)};
}

// A band between the diagonals x + y = from and x + y = from + 12, clipped to the label's
// lower right corner (the label ends at x = 224, y = 150).
Shape stripe(qreal from, const char *fill)
{
    return polygon(
        {{from - 150, 150}, {from + 12 - 150, 150}, {224, from + 12 - 224}, {224, from - 224}},
        fill);
}

const QList<Shape> &shapes()
{
    static const QList<Shape> kShapes = {
        roundedRect(16, 52, 224, 152, 18, "#2b2b33"), // the shell
        circle(30, 66, 4, "#5c5c70"),                 // its screws
        circle(226, 66, 4, "#5c5c70"),
        circle(30, 190, 4, "#5c5c70"),
        circle(226, 190, 4, "#5c5c70"),
        roundedRect(32, 68, 192, 82, 6, "#f3ead7"), // the label
        roundedRect(44, 73, 96, 5, 2, "#c9bc9f"),   // a line to write on
        stripe(300, "#d7262a"),
        stripe(312, "#f5c400"),
        stripe(324, "#2fa84f"),
        stripe(336, "#1c9ad6"),
        roundedRect(52, 86, 104, 46, 14, "#2b2b33"), // the window
        circle(80, 109, 16, "#d8d2c4"),              // the reels
        circle(128, 109, 16, "#d8d2c4"),
        circle(80, 109, 6, "#2b2b33"),
        circle(128, 109, 6, "#2b2b33"),
        polygon({{66, 204}, {82, 172}, {174, 172}, {190, 204}}, "#40404d"), // the head guide
        circle(102, 188, 5, "#17171c"),
        circle(154, 188, 5, "#17171c"),
    };
    return kShapes;
}

QString number(qreal value)
{
    return QString::number(value, 'g', 6);
}

} // namespace

QByteArray iconSvg()
{
    QString svg =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
                       "viewBox=\"0 0 256 256\">\n"
                       "  <title>Kivo</title>\n");
    for (const Shape &shape : shapes()) {
        const QString fill = shape.fill.name();
        switch (shape.kind) {
        case Shape::RoundedRect:
            svg +=
                QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" "
                               "fill=\"%6\"/>\n")
                    .arg(number(shape.rect.x()), number(shape.rect.y()), number(shape.rect.width()),
                         number(shape.rect.height()), number(shape.radius), fill);
            break;
        case Shape::Circle:
            svg += QStringLiteral("  <circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"%4\"/>\n")
                       .arg(number(shape.rect.center().x()), number(shape.rect.center().y()),
                            number(shape.rect.width() / 2), fill);
            break;
        case Shape::Polygon: {
            QStringList points;
            for (const QPointF &point : shape.points)
                points.append(number(point.x()) + u',' + number(point.y()));
            svg += QStringLiteral("  <polygon points=\"%1\" fill=\"%2\"/>\n")
                       .arg(points.join(u' '), fill);
            break;
        }
        }
    }
    svg += QStringLiteral("</svg>\n");
    return svg.toUtf8();
}

QImage paintIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 256.0, size / 256.0);
    painter.setPen(Qt::NoPen);
    for (const Shape &shape : shapes()) {
        painter.setBrush(shape.fill);
        switch (shape.kind) {
        case Shape::RoundedRect:
            painter.drawRoundedRect(shape.rect, shape.radius, shape.radius);
            break;
        case Shape::Circle:
            painter.drawEllipse(shape.rect);
            break;
        case Shape::Polygon:
            painter.drawPolygon(shape.points);
            break;
        }
    }
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}
