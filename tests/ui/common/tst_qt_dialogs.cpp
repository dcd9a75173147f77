// The real dialogs behind the Dialogs seam: the file dialog starts in the proposed file's
// directory (or the one asked for, or the last one used), offers the Windows filter's patterns as
// Qt reads them, shows the asked-for filter first and is large enough to read; a Yes/No question
// is answered by its buttons only.
#include "TestSupport.h"

#include "ui/common/Dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
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

    // Where the dialog opens without a proposed name: the directory asked for, otherwise the one
    // of the last file chosen; always at a size where the detail columns can be read.
    void openFileStartDirectory()
    {
        QTemporaryDir dir;
        testsupport::touch(dir.filePath(QStringLiteral("shots/a.gif")));
        QDir().mkpath(dir.filePath(QStringLiteral("roms")));
        QtDialogs dialogs;
        QStringList directories;
        QSize size;
        const auto answer = [&](const QString &choose) {
            QTimer::singleShot(0, [&, choose] {
                auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
                if (dialog == nullptr)
                    return;
                directories.append(dialog->directory().absolutePath());
                size = dialog->size();
                if (choose.isEmpty()) {
                    dialog->reject();
                    return;
                }
                dialog->selectFile(choose);
                QMetaObject::invokeMethod(dialog, "accept");
            });
        };
        Dialogs::FileRequest request{QStringLiteral("Locate image"), QString(), QString(), {}};
        request.directory = dir.filePath(QStringLiteral("roms"));
        answer(QString());
        QCOMPARE(dialogs.openFile(nullptr, request), QString());
        QVERIFY(size.width() >= 800 && size.height() >= 500);
        request.directory = dir.filePath(QStringLiteral("shots"));
        answer(dir.filePath(QStringLiteral("shots/a.gif")));
        QCOMPARE(dialogs.openFile(nullptr, request), dir.filePath(QStringLiteral("shots/a.gif")));
        request.directory.clear();
        answer(QString());
        dialogs.saveFile(nullptr, request);
        QCOMPARE(directories, (QStringList{dir.filePath(QStringLiteral("roms")),
                                           dir.filePath(QStringLiteral("shots")),
                                           dir.filePath(QStringLiteral("shots"))}));
    }

    // Escape and the close button must not answer "No" to a question such as whether to save; a
    // box with Cancel keeps Escape as Cancel.
    void escapeOnQuestions_data()
    {
        QTest::addColumn<MessageButtons>("buttons");
        QTest::addColumn<bool>("stays");
        QTest::addColumn<Dialogs::Answer>("answer");
        QTest::newRow("Yes/No") << MessageButtons::YesNo << true << Dialogs::Answer::Yes;
        QTest::newRow("Yes/No/Cancel")
            << MessageButtons::YesNoCancel << false << Dialogs::Answer::Cancel;
    }
    void escapeOnQuestions()
    {
        QFETCH(MessageButtons, buttons);
        QFETCH(bool, stays);
        QFETCH(Dialogs::Answer, answer);
        bool openAfterEscape = false;
        bool openAfterClose = false;
        QTimer::singleShot(0, [&] {
            QPointer<QMessageBox> box =
                qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (box == nullptr)
                return;
            QTest::keyClick(box, Qt::Key_Escape);
            openAfterEscape = box->isVisible();
            if (!openAfterEscape)
                return;
            box->close();
            openAfterClose = box->isVisible();
            box->button(QMessageBox::Yes)->click();
        });
        QtDialogs dialogs;
        const Message question{QStringLiteral("Save Database?"), QStringLiteral("Kivo"),
                               MessageIcon::Question, buttons};
        QCOMPARE(dialogs.show(nullptr, question), answer);
        QCOMPARE(openAfterEscape, stays);
        QCOMPARE(openAfterClose, stays);
    }
};

QTEST_MAIN(TestQtDialogs)
#include "tst_qt_dialogs.moc"
