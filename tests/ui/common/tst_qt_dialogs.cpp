// The real file dialog behind the Dialogs seam: it starts in the proposed file's directory,
// offers the Windows filter's patterns as Qt reads them, and shows the asked-for filter first.
#include "TestSupport.h"

#include "ui/common/Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>

class TestQtDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void openFileStartsWhereAsked_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<QString>("shownFirst");
        QTest::newRow("fifth of five")
            << "Z80 (*.Z80)|*.Z80|ZX Riff (*.ZX*)|*.ZX*|Snapshot (*.SNA)|*.SNA|Tape Images "
               "(*.TAP)|*.TAP|All files (*.*)|*.*"
            << 4
            << QStringList{"Z80 (*.z80 *.Z80)", "ZX Riff (*.zx* *.ZX*)", "Snapshot (*.sna *.SNA)",
                           "Tape Images (*.tap *.TAP)", "All files (*)"}
            << "All files (*)";
        QTest::newRow("comma-separated patterns, first shown")
            << "Gif (*.gif)|*.gif|Jpeg (*.jpg,*.jpeg)|*.jpg,*.jpeg" << 0
            << QStringList{"Gif (*.gif *.GIF)", "Jpeg (*.jpg *.JPG *.jpeg *.JPEG)"}
            << "Gif (*.gif *.GIF)";
        QTest::newRow("index past the list")
            << "Gif (*.gif)|*.gif" << 7 << QStringList{"Gif (*.gif *.GIF)"} << "Gif (*.gif *.GIF)";
    }
    void openFileStartsWhereAsked()
    {
        QFETCH(QString, filter);
        QFETCH(int, selected);
        QFETCH(QStringList, offered);
        QFETCH(QString, shownFirst);
        QTemporaryDir dir;
        testsupport::touch(dir.filePath(QStringLiteral("roms/manic.tzx")));
        QStringList nameFilters;
        QString shown;
        QString directory;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (dialog == nullptr)
                return;
            nameFilters = dialog->nameFilters();
            shown = dialog->selectedNameFilter();
            directory = dialog->directory().absolutePath();
            dialog->reject();
        });
        QtDialogs dialogs;
        Dialogs::FileRequest request{QStringLiteral("Select File"), filter,
                                     dir.filePath(QStringLiteral("roms/manic.tzx")), QString()};
        request.selectedFilter = selected;
        QCOMPARE(dialogs.openFile(nullptr, request), QString());
        QCOMPARE(nameFilters, offered);
        QCOMPARE(shown, shownFirst);
        QCOMPARE(directory, dir.filePath(QStringLiteral("roms")));
    }
};

QTEST_MAIN(TestQtDialogs)
#include "tst_qt_dialogs.moc"
