// Numbers in text as the settings and imports write them, and the twips arithmetic.
#include "core/Numbers.h"
#include "core/Twips.h"

#include <QTest>

#include <limits>

class tst_Numbers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void leadingNumber_data();
    void leadingNumber();
    void nearestInteger_data();
    void nearestInteger();
    void twips_data();
    void twips();
};

void tst_Numbers::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    // A number at the start, blanks anywhere ignored: would catch reading "800px" as 0, "" as
    // a default, or stopping at the first blank.
    QTest::newRow("integer") << "800" << 800.0;
    QTest::newRow("negative") << "-98" << -98.0;
    QTest::newRow("plus") << "+5" << 5.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("text") << "abc" << 0.0;
    QTest::newRow("trailing text") << "12abc" << 12.0;
    QTest::newRow("blanks inside") << " 1 2\t3 " << 123.0;
    QTest::newRow("blank after sign") << "- 5" << -5.0;
    QTest::newRow("two signs") << "--5" << 0.0;
    QTest::newRow("minus inside") << "5-3" << 5.0;
    QTest::newRow("fraction") << "533.3333" << 533.3333;
    QTest::newRow("bare fraction") << ".5" << 0.5;
    QTest::newRow("second point") << "1.5.3" << 1.5;
    QTest::newRow("lone point") << "." << 0.0;
    QTest::newRow("exponent") << "1e3" << 1000.0;
    QTest::newRow("signed exponent") << "15E-1" << 1.5;
    QTest::newRow("exponent without digits") << "12e" << 12.0;
    QTest::newRow("exponent with sign only") << "12e+x" << 12.0;
}

void tst_Numbers::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(::leadingNumber(text), expected);
}

void tst_Numbers::nearestInteger_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<qint32>("expected");

    // Halves go to the even neighbour; out-of-range values clamp instead of wrapping.
    QTest::newRow("0.5") << 0.5 << 0;
    QTest::newRow("1.5") << 1.5 << 2;
    QTest::newRow("2.5") << 2.5 << 2;
    QTest::newRow("-2.5") << -2.5 << -2;
    QTest::newRow("-1.5") << -1.5 << -2;
    QTest::newRow("2.4999") << 2.4999 << 2;
    QTest::newRow("2.5001") << 2.5001 << 3;
    QTest::newRow("too large") << 1e12 << std::numeric_limits<qint32>::max();
    QTest::newRow("too small") << -1e12 << std::numeric_limits<qint32>::min();
}

void tst_Numbers::nearestInteger()
{
    QFETCH(double, value);
    QFETCH(qint32, expected);
    QCOMPARE(::nearestInteger(value), expected);
}

void tst_Numbers::twips_data()
{
    QTest::addColumn<double>("dpi");
    QTest::addColumn<double>("perPixel");
    QTest::addColumn<float>("twips");
    QTest::addColumn<qint32>("pixels");

    QTest::newRow("96 dpi") << 96.0 << 15.0 << 4500.0f << 300;
    QTest::newRow("120 dpi") << 120.0 << 12.0 << 1440.0f << 120;
    QTest::newRow("144 dpi") << 144.0 << 10.0 << 1050.0f << 105;
    QTest::newRow("half pixel to even") << 96.0 << 15.0 << 37.5f << 2;
}

void tst_Numbers::twips()
{
    QFETCH(double, dpi);
    QFETCH(double, perPixel);
    QFETCH(float, twips);
    QFETCH(qint32, pixels);
    QCOMPARE(twipsPerPixel(dpi), perPixel);
    QCOMPARE(twipsToPixels(twips, perPixel), pixels);
    if (std::trunc(twips / perPixel) == twips / perPixel)
        QCOMPARE(pixelsToTwips(pixels, perPixel), twips);
}

QTEST_GUILESS_MAIN(tst_Numbers)
#include "tst_numbers.moc"
