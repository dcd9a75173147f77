// The pictures drawn by the program itself: the missing-screenshot placeholder and the seven
// sketches of the view dialog. Runs without a GUI application, as the pictures need none.
#include "TestSupport.h"

#include "render/DisplayZX.h"
#include "render/NoScreenshot.h"
#include "render/ViewSketch.h"

#include <QSet>

namespace {

// Where the pixels of some colours are; a null rectangle when there are none.
QRect boundsOf(const QImage &image, const QSet<QRgb> &colours)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (colours.contains(image.pixel(x, y)))
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

QSet<QRgb> coloursOf(const QImage &image, const QRect &area)
{
    QSet<QRgb> colours;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            colours.insert(image.pixel(x, y));
    }
    return colours;
}

} // namespace

class tst_Placeholders : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Full screen size, stripes in the colours all round, the words on a dark panel in the middle,
    // the same every time: catches a blank or half-drawn picture and uninitialised pixels.
    void picNoSS()
    {
        const QImage image = drawPicNoSS();
        QCOMPARE(image.size(), QSize(256, 192));
        QSet<QRgb> stripes;
        for (int colour = 1; colour <= 6; ++colour)
            stripes.insert(spectrumColour(colour, false));
        QVERIFY(coloursOf(image, image.rect()).contains(stripes));
        for (const QPoint corner : {QPoint(0, 0), QPoint(255, 0), QPoint(0, 191), QPoint(255, 191)})
            QVERIFY(stripes.contains(image.pixel(corner)));
        const QSet<QRgb> middle = coloursOf(image, QRect(64, 64, 128, 64));
        QVERIFY(middle.contains(qRgb(0, 0, 0)));
        QVERIFY(middle.contains(spectrumColour(7, true))); // "Kivo"
        QVERIFY(middle.contains(spectrumColour(6, true))); // "no image"
        QVERIFY(!middle.intersects(stripes));
        QCOMPARE(drawPicNoSS(), image);
    }

    // Each sketch puts its panes where its view does: the strip's squares at the right edge for a
    // vertical strip and along the bottom (or above the info pane) for a horizontal one; the info
    // symbol at the bottom, left of a vertical strip, or above a horizontal one. Catches two views
    // swapped and a pane drawn where its view has none.
    void viewSketch_data()
    {
        QTest::addColumn<int>("view");
        QTest::addColumn<QString>("strip"); // none, right, bottom, above info
        QTest::addColumn<QString>("info");  // none, bottom, above strip
        QTest::newRow("0 list only") << 0 << "none"
                                     << "none";
        QTest::newRow("1 list and info") << 1 << "none"
                                         << "bottom";
        QTest::newRow("2 vertical strip") << 2 << "right"
                                          << "none";
        QTest::newRow("3 horizontal strip") << 3 << "bottom"
                                            << "none";
        QTest::newRow("4 info beside a vertical strip") << 4 << "right"
                                                        << "bottom";
        QTest::newRow("5 strip above info") << 5 << "above info"
                                            << "bottom";
        QTest::newRow("6 info above strip") << 6 << "bottom"
                                            << "above strip";
    }
    void viewSketch()
    {
        QFETCH(int, view);
        QFETCH(QString, strip);
        QFETCH(QString, info);
        const QImage image = ::viewSketch(view);
        QCOMPARE(image.size(), QSize(70, 52));
        const QRect squares = boundsOf(image, {spectrumColour(2, true), spectrumColour(4, true),
                                               spectrumColour(5, true), spectrumColour(6, true)});
        const QRect symbol = boundsOf(image, {spectrumColour(1, true)});
        // The list's ruled lines, always in the top left.
        QVERIFY(!boundsOf(image.copy(0, 0, 40, 24), {qRgb(0x90, 0x90, 0x90)}).isNull());

        QCOMPARE(squares.isNull(), strip == u"none");
        if (strip == u"right") {
            QVERIFY2(squares.left() >= 70 - 16, qPrintable(QString::number(squares.left())));
            QVERIFY(squares.height() > 2 * squares.width());
        } else if (strip != u"none") {
            QVERIFY(squares.width() > 2 * squares.height());
            QVERIFY(squares.left() < 10 && squares.right() >= 60);
            if (strip == u"bottom")
                QVERIFY2(squares.bottom() >= 52 - 8, qPrintable(QString::number(squares.bottom())));
            else
                QVERIFY(squares.bottom() < symbol.top());
        }

        QCOMPARE(symbol.isNull(), info == u"none");
        if (info == u"bottom") {
            QVERIFY2(symbol.bottom() >= 52 - 6, qPrintable(QString::number(symbol.bottom())));
            if (strip == u"right")
                QVERIFY(symbol.right() < squares.left());
        } else if (info == u"above strip") {
            QVERIFY(symbol.bottom() < squares.top());
        }
    }

    void noSuchView()
    {
        QVERIFY(::viewSketch(-1).isNull());
        QVERIFY(::viewSketch(7).isNull());
    }
};

QTEST_GUILESS_MAIN(tst_Placeholders)
#include "tst_Placeholders.moc"
