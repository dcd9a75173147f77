// The pane arithmetic of the seven views, the strip's scrolling rules and where its pictures go.
#include "state/PaneLayout.h"

#include <QTest>

class tst_PaneLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void workedExample();
    void views_data();
    void views();
    void halfSizeAboutDoublesTheFit();
    void unknownViewMovesNothing();
    void tooSmallNeverFitsBelowZero();
    void moveStrip_data();
    void moveStrip();
    void shotPositions();
};

namespace {

// 15 twips a pixel; a window of 800 x 600 pixels with a 20-pixel status bar and the 130-pixel
// information pane.
PaneMeasures window800x600()
{
    PaneMeasures m;
    m.innerWidth = 800 * 15;
    m.innerHeight = 600 * 15;
    m.statusHeight = 20 * 15;
    m.infoHeight = 130 * 15;
    return m;
}

QRectF rectOf(const PaneRect &r)
{
    return QRectF(r.left / 15, r.top / 15, r.width / 15, r.height / 15);
}

} // namespace

void tst_PaneLayout::workedExample()
{
    // An inner height of 4000 twips with a 300-twip status bar, view 2 at full size: the pane is
    // (256 + 16) x 15 = 4080 twips wide and 3700 high, and 3700 / 15 / 200 = 1.23 fits one.
    PaneMeasures m;
    m.innerWidth = 10000;
    m.innerHeight = 4000;
    m.statusHeight = 300;
    const PaneArrangement a = arrangePanes(2, 0, m);
    QCOMPARE(a.screenshots.width, 4080.0);
    QCOMPARE(a.screenshots.height, 3700.0);
    QCOMPARE(a.screenshots.left, 10000.0 - 4080);
    QCOMPARE(a.visibleShotCount, 1);
    QCOMPARE(a.stripOrientation, 1);
}

void tst_PaneLayout::views_data()
{
    QTest::addColumn<int>("view");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QRectF>("list");
    QTest::addColumn<QRectF>("info");  // empty: hidden
    QTest::addColumn<QRectF>("strip"); // empty: hidden
    QTest::addColumn<int>("fit");

    // In pixels of the 800 x 600 window (580 above the status bar): would catch a pane on the
    // wrong edge, the info pane's height or the status bar left out, or the fit taken along the
    // wrong side.
    QTest::newRow("0 list only") << 0 << -1 << QRectF(0, 0, 800, 580) << QRectF() << QRectF() << 0;
    QTest::newRow("1 list and info")
        << 1 << -1 << QRectF(0, 0, 800, 450) << QRectF(0, 450, 800, 130) << QRectF() << 0;
    QTest::newRow("2 strip right")
        << 2 << 1 << QRectF(0, 0, 528, 580) << QRectF() << QRectF(528, 0, 272, 580) << 2;
    QTest::newRow("3 strip below")
        << 3 << 0 << QRectF(0, 0, 800, 372) << QRectF() << QRectF(0, 372, 800, 208) << 3;
    QTest::newRow("4 strip right, info below the list")
        << 4 << 1 << QRectF(0, 0, 528, 450) << QRectF(0, 450, 528, 130) << QRectF(528, 0, 272, 580)
        << 2;
    QTest::newRow("5 strip above the info")
        << 5 << 0 << QRectF(0, 0, 800, 242) << QRectF(0, 450, 800, 130) << QRectF(0, 242, 800, 208)
        << 3;
    QTest::newRow("6 info above the strip")
        << 6 << 0 << QRectF(0, 0, 800, 242) << QRectF(0, 242, 800, 130) << QRectF(0, 372, 800, 208)
        << 3;
}

void tst_PaneLayout::views()
{
    QFETCH(int, view);
    QFETCH(int, orientation);
    QFETCH(QRectF, list);
    QFETCH(QRectF, info);
    QFETCH(QRectF, strip);
    QFETCH(int, fit);
    const PaneArrangement a = arrangePanes(view, 0, window800x600());
    QVERIFY(a.moved);
    QCOMPARE(a.stripOrientation, orientation);
    QCOMPARE(rectOf(a.list), list);
    QCOMPARE(a.info.shown, !info.isNull());
    if (a.info.shown)
        QCOMPARE(rectOf(a.info), info);
    QCOMPARE(a.screenshots.shown, !strip.isNull());
    if (a.screenshots.shown)
        QCOMPARE(rectOf(a.screenshots), strip);
    QCOMPARE(a.visibleShotCount, fit);
    QCOMPARE(a.info.height, 130.0 * 15); // the info pane's height is never computed
}

void tst_PaneLayout::halfSizeAboutDoublesTheFit()
{
    const PaneMeasures m = window800x600();
    for (const int view : {2, 3, 4, 5, 6}) {
        const PaneArrangement full = arrangePanes(view, 0, m);
        const PaneArrangement half = arrangePanes(view, 1, m);
        QCOMPARE(half.shotWidth, 128);
        QCOMPARE(half.shotHeight, 96);
        QVERIFY2(half.visibleShotCount >= 2 * full.visibleShotCount - 1,
                 qPrintable(QString::number(view)));
        QVERIFY(half.visibleShotCount <= 2 * full.visibleShotCount + 2);
    }
    QCOMPARE(arrangePanes(2, 2, m).shotWidth, 256); // only 1 means half size
}

void tst_PaneLayout::unknownViewMovesNothing()
{
    const PaneArrangement a = arrangePanes(7, 1, window800x600());
    QVERIFY(!a.moved);
    QCOMPARE(a.visibleShotCount, 0);
    QCOMPARE(a.shotWidth, 128);
    QVERIFY(!arrangePanes(-1, 0, window800x600()).moved);
}

void tst_PaneLayout::tooSmallNeverFitsBelowZero()
{
    PaneMeasures m = window800x600();
    m.innerWidth = 100 * 15;
    m.innerHeight = 50 * 15;
    for (int view = 0; view <= 6; ++view)
        QCOMPARE(arrangePanes(view, 0, m).visibleShotCount, 0);
}

void tst_PaneLayout::moveStrip_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("applied");
    QTest::addColumn<int>("visible");
    QTest::addColumn<int>("pictures");
    QTest::addColumn<bool>("back");
    QTest::addColumn<bool>("forward");
    QTest::addColumn<int>("newFirst");
    QTest::addColumn<bool>("placeAgain");

    // Five pictures of which three fit, and the boundaries of each rule.
    QTest::newRow("at the start") << 0 << 0 << 0 << 3 << 5 << false << true << 0 << false;
    QTest::newRow("one along") << 0 << 1 << 0 << 3 << 5 << true << true << 1 << true;
    QTest::newRow("at the end") << 1 << 2 << 2 << 3 << 5 << true << false << 2 << false;
    // Enlarged so four fit with two left after the first: back by one, once per resize.
    QTest::newRow("more fit than remain") << 1 << 2 << 2 << 4 << 5 << true << false << 1 << true;
    QTest::newRow("never below 0") << 0 << 0 << 0 << 3 << 1 << false << false << 0 << false;
    QTest::newRow("no strip: arrows untouched, first still raised to 0")
        << -1 << -1 << 0 << 0 << 5 << false << false << 0 << false;
}

void tst_PaneLayout::moveStrip()
{
    QFETCH(int, orientation);
    QFETCH(int, first);
    QFETCH(int, applied);
    QFETCH(int, visible);
    QFETCH(int, pictures);
    QFETCH(bool, back);
    QFETCH(bool, forward);
    QFETCH(int, newFirst);
    QFETCH(bool, placeAgain);
    const StripMove move = ::moveStrip(orientation, first, applied, visible, pictures);
    QCOMPARE(move.arrowsArranged, orientation >= 0);
    QCOMPARE(move.backVisible, back);
    QCOMPARE(move.forwardVisible, forward);
    QCOMPARE(move.firstVisibleShot, newFirst);
    QCOMPARE(move.placeAgain, placeAgain);
}

void tst_PaneLayout::shotPositions()
{
    // Vertical: 8 pixels in, the first placed back by (H + 8) pixels per picture before it from
    // a plain 8 twips; horizontal: 8 pixels down, back by (W + 8) pixels.
    const QList<QPointF> down = ::shotPositions(1, 256, 192, 2, 3, 15, 15);
    QCOMPARE(down, (QList<QPointF>{{120, 8 - 400 * 15}, {120, 8 - 200 * 15}, {120, 8}}));
    const QList<QPointF> across = ::shotPositions(0, 128, 96, 1, 3, 15, 15);
    QCOMPARE(across, (QList<QPointF>{{-136 * 15, 120}, {0, 120}, {136 * 15, 120}}));
    QVERIFY(::shotPositions(0, 256, 192, 0, 0, 15, 15).isEmpty());
}

QTEST_GUILESS_MAIN(tst_PaneLayout)
#include "tst_pane_layout.moc"
