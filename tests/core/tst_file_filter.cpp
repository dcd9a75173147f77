// Windows filter lists turned into Qt's: every pattern offered in both letter cases, whatever
// separates the patterns, and "*.*" matching every name as on Windows.
#include "core/FileFilter.h"

#include <QTest>

class TestFileFilter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A pattern list Qt cannot split shows no file at all; an upper-case file on Linux is
    // missed when only the lower-case pattern is offered.
    void convertsFilters_data()
    {
        QTest::addColumn<QString>("windows");
        QTest::addColumn<QString>("qt");
        QTest::newRow("one pair") << "Kivo data file (*.dat)|*.dat"
                                  << "Kivo data file (*.dat *.DAT)";
        QTest::newRow("comma-separated patterns") << "Jpeg (*.jpg,*.jpeg)|*.jpg,*.jpeg"
                                                  << "Jpeg (*.jpg *.JPG *.jpeg *.JPEG)";
        QTest::newRow("semicolon-separated patterns") << "Pictures|*.gif; *.bmp"
                                                      << "Pictures (*.gif *.GIF *.bmp *.BMP)";
        QTest::newRow("all files") << "All files (*.*)|*.*"
                                   << "All files (*)";
        QTest::newRow("wildcard in the extension") << "ZX Riff (*.ZX*)|*.ZX*"
                                                   << "ZX Riff (*.zx* *.ZX*)";
        QTest::newRow("several pairs") << "Gif (*.gif)|*.gif|Speccy SCR file (*.scr)|*.scr"
                                       << "Gif (*.gif *.GIF);;Speccy SCR file (*.scr *.SCR)";
    }
    void convertsFilters()
    {
        QFETCH(QString, windows);
        QFETCH(QString, qt);
        QCOMPARE(toQtFilter(windows), qt);
    }
};

QTEST_GUILESS_MAIN(TestFileFilter)
#include "tst_file_filter.moc"
