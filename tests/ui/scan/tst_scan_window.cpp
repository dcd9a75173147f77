// Misc > Scan Folder through the real window: what it adds matches kivo-cli scan, the rom paths
// and the summary, a DAT refused without stopping the scan, and Cancel or closing adding nothing.
#include "../../tape/TapeImages.h"
#include "TestSupport.h"
#include "WindowFixture.h"

#include "scan/DatCatalogue.h"
#include "ui/scan/frmScan.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using testsupport::touch;

namespace {

// Four programs: a bare name, a TOSEC name met again in a subfolder with other contents (a
// clash), a copy of the bare one in the subfolder, and there a tape and a tape with a screen.
QString makeTree(const QString &root)
{
    touch(root + "/roms/Manic Miner.TAP", "tape one");
    touch(root + "/roms/Jetpac (1983)(Ultimate).tap", "jetpac");
    touch(root + "/roms/sub/Jetpac (1983)(Ultimate).tap", "another jetpac");
    touch(root + "/roms/sub/Manic Miner.TAP", "tape one");
    touch(root + "/roms/sub/Elite.tzx", "elite tape");
    touch(root + "/roms/sub/readme.txt", "not a program");
    using namespace tapeimages;
    touch(root + "/roms/sub/Loader.tap",
          tap({header(3, "screen", 6912, 16384), data(QByteArray(6912, '\x55'))}));
    touch(root + "/games.dat", "this is no XML");
    return root + "/roms";
}

QStringList described(const QList<RomRecord> &records)
{
    QStringList rows;
    for (const RomRecord &record : records)
        rows.append(QStringLiteral("%1|%2|%3|%4")
                        .arg(record.RomName, record.RomFile, QString::number(record.Year),
                             record.Publisher));
    return rows;
}

QStringList described(const QJsonArray &entries)
{
    QStringList rows;
    for (const QJsonValue &entry : entries)
        rows.append(QStringLiteral("%1|%2|%3|%4")
                        .arg(entry["RomName"].toString(), entry["RomFile"].toString(),
                             QString::number(entry["Year"].toInt()),
                             entry["Publisher"].toString()));
    return rows;
}

QList<RomRecord> entriesOf(const RomDatabase &database)
{
    QList<RomRecord> records;
    for (const RomRecord &record : database.slots())
        if (record.isEntry())
            records.append(record);
    return records;
}

} // namespace

class tst_ScanWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void scansThroughTheMenu();
    void cancelAddsNothing_data();
    void cancelAddsNothing();
};

void tst_ScanWindow::scansThroughTheMenu()
{
    WindowFixture f;
    const QString roms = makeTree(f.dir.path());
    const QString dat = f.path("games.dat");
    frmMain &w = f.open();
    const int before = f.state.database.EntryCount();
    const QList<RomRecord> kept = entriesOf(f.state.database);

    const testsupport::CliRun cli =
        testsupport::runCli({"scan", roms, "--dat", dat, "--screens", f.path("cli")});
    QCOMPARE(cli.exitCode, 0);
    const QJsonObject expected = QJsonDocument::fromJson(cli.out).object();

    f.dialogs.files.enqueue(dat);
    bool opened = false;
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<frmScan *>(QApplication::activeModalWidget());
        opened = dialog != nullptr;
        if (!dialog)
            return;
        QVERIFY(dialog->chkSubfolders->isChecked());
        dialog->txtFolder->setText(roms);
        dialog->txtScreens->setText(f.path("shots"));
        dialog->cmdAddDat->click();
        dialog->cmdStart->click();
    });
    w.mnuMisc[Menu::MiscScan]->trigger();
    QVERIFY(opened);

    QList<RomRecord> added = entriesOf(f.state.database).mid(kept.size());
    QCOMPARE(described(entriesOf(f.state.database).first(kept.size())), described(kept));
    QCOMPARE(described(added), described(expected["entries"].toArray()));
    QCOMPARE(f.state.database.EntryCount(), before + 4);
    QVERIFY(QFileInfo(f.path("shots/Loader.scr")).isFile());
    QVERIFY(f.state.paths[PathKind::Screenshot].dirs().contains(f.path("shots/")));
    for (const QString &directory : {roms + '/', roms + "/sub/"})
        QVERIFY2(f.state.paths[PathKind::Rom].dirs().contains(directory), qPrintable(directory));

    QCOMPARE(f.dialogs.requestsOf(ScriptedDialogs::Kind::OpenFile).size(), 1);
    QCOMPARE(f.dialogs.requestsOf(ScriptedDialogs::Kind::OpenFile)[0].file.filter, kScanDatFilter);
    const QList<Message> shown = f.dialogs.messages();
    QCOMPARE(shown.size(), 2);
    QVERIFY2(shown[0].text.contains(dat), qPrintable(shown[0].text));
    const QString clash = roms + "/sub/Jetpac (1983)(Ultimate).tap";
    QCOMPARE(expected["skipped"]["clashPaths"].toArray(), QJsonArray{clash});
    QCOMPARE(shown[1], (Message{"4 entries added, 0 already in the catalogue, 1 copies, 1 "
                                "clashes, 0 skipped\r\n\r\n" +
                                    kScanClashesText + "\r\n" + clash,
                                kScanTitle, MessageIcon::Information}));

    w.chkMissing->setChecked(true);
    QTRY_COMPARE(w.listedRows(), 0);
}

void tst_ScanWindow::cancelAddsNothing_data()
{
    QTest::addColumn<bool>("closing");
    QTest::addColumn<bool>("walkEnded"); // the worker is done, its result not yet taken
    QTest::newRow("Cancel at once") << false << false;
    QTest::newRow("Cancel after the walk") << false << true;
    QTest::newRow("closing after the walk") << true << true;
}

// Cancel or closing before the result reached the interface thread: nothing is added and no
// screen is kept, even when the walk itself got to its end.
void tst_ScanWindow::cancelAddsNothing()
{
    QFETCH(bool, closing);
    QFETCH(bool, walkEnded);
    WindowFixture f;
    const QString roms = makeTree(f.dir.path());
    frmMain &w = f.open();
    const int before = f.state.database.EntryCount();
    const QStringList paths = f.state.paths[PathKind::Rom].dirs();

    frmScan dialog(f.state, f.dialogs, w, &w);
    dialog.show();
    dialog.txtFolder->setText(roms);
    dialog.txtScreens->setText(f.path("shots"));
    dialog.cmdStart->click();
    QVERIFY(dialog.isScanning());
    QVERIFY(!dialog.cmdStart->isEnabled());
    if (walkEnded)
        QTest::qSleep(500); // no events: the worker ends, its finish waits in the queue
    if (closing)
        dialog.close();
    else
        dialog.cmdCancel->click();
    QTRY_VERIFY(!dialog.isScanning());
    QTRY_VERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(f.state.database.EntryCount(), before);
    QCOMPARE(f.state.paths[PathKind::Rom].dirs(), paths);
    QCOMPARE(f.dialogs.requests.size(), 0);
    QCOMPARE(QDir(f.path("shots")).entryList(QDir::Files), QStringList());
}

QTEST_MAIN(tst_ScanWindow)
#include "tst_scan_window.moc"
