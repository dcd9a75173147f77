// The main window at twice the scale: a window laid out for 96 dpi must not open with its menu
// bar above the screen or mostly outside it, whether the settings are fresh or saved.
#include "TestSupport.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QScreen>

using namespace testsupport;

class tst_ScaledWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void staysOnTheScreen_data()
    {
        QTest::addColumn<QByteArray>("kivo");
        QTest::newRow("fresh settings") << QByteArray();
        // Saved at scale 1 on a screen twice as large as this one is now.
        QTest::newRow("saved at scale 1")
            << QByteArray("winw=700\r\nwinh=500\r\nwinx=300\r\nwiny=200\r\n");
    }
    void staysOnTheScreen()
    {
        QFETCH(QByteArray, kivo);
        QCOMPARE(qgetenv("QT_SCALE_FACTOR"), QByteArray("2"));
        WindowFixture f;
        writeFile(f.path("kivo.ini"), "[kivo]\r\n" + kivo);
        frmMain &w = f.open();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QRect screen = w.screen()->availableGeometry();
        QVERIFY2(screen.contains(w.frameGeometry()),
                 qPrintable(QStringLiteral("window %1,%2 %3x%4 on a screen at %5,%6 of %7x%8")
                                .arg(w.frameGeometry().x())
                                .arg(w.frameGeometry().y())
                                .arg(w.frameGeometry().width())
                                .arg(w.frameGeometry().height())
                                .arg(screen.x())
                                .arg(screen.y())
                                .arg(screen.width())
                                .arg(screen.height())));
    }
};

int main(int argc, char *argv[])
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    tst_ScaledWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_scaled_window.moc"
