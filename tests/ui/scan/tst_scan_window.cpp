// Misc > Scan Folder through the real window: what it adds matches kivo-cli scan, the rom paths
// and the summary, a DAT refused without stopping the scan, and Cancel or closing adding nothing.
#include "TestSupport.h"
#include "WindowFixture.h"

#include "scan/DatCatalogue.h"
#include "ui/scan/frmScan.h"

#include <QApplication>
#include <QCheckBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using testsupport::touch;

namespace {

// Three programs: a bare name, a TOSEC name met again in a subfolder with other contents (a
// clash), a copy of the bare one in the subfolder and a tape of its own there.
QString makeTree(const QString &root)
{
    touch(root + "/roms/Manic Miner.TAP", "tape one");
    touch(root + "/roms/Jetpac (1983)(Ultimate).tap", "jetpac");
    touch(root + "/roms/sub/Jetpac (1983)(Ultimate).tap", "another jetpac");
    touch(root + "/roms/sub/Manic Miner.TAP", "tape one");
    touch(root + "/roms/sub/Elite.tzx", "elite tape");
    touch(root + "/roms/sub/readme.txt", "not a program");
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

    const testsupport::CliRun cli = testsupport::runCli({"scan", roms, "--dat", dat});
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
        dialog->cmdAddDat->click();
        dialog->cmdStart->click();
    });
    w.mnuMisc[Menu::MiscScan]->trigger();
    QVERIFY(opened);

    QList<RomRecord> added = entriesOf(f.state.database).mid(kept.size());
    QCOMPARE(described(entriesOf(f.state.database).first(kept.size())), described(kept));
    QCOMPARE(described(added), described(expected["entries"].toArray()));
    QCOMPARE(f.state.database.EntryCount(), before + 3);
    for (const QString &directory : {roms + '/', roms + "/sub/"})
        QVERIFY2(f.state.paths[PathKind::Rom].dirs().contains(directory), qPrintable(directory));

    QCOMPARE(f.dialogs.requestsOf(ScriptedDialogs::Kind::OpenFile).size(), 1);
    QCOMPARE(f.dialogs.requestsOf(ScriptedDialogs::Kind::OpenFile)[0].file.filter, kScanDatFilter);
    const QList<Message> shown = f.dialogs.messages();
    QCOMPARE(shown.size(), 2);
    QVERIFY2(shown[0].text.contains(dat), qPrintable(shown[0].text));
    const QString clash = roms + "/sub/Jetpac (1983)(Ultimate).tap";
    QCOMPARE(expected["skipped"]["clashPaths"].toArray(), QJsonArray{clash});
    QCOMPARE(shown[1], (Message{"3 entries added, 0 already in the catalogue, 1 copies, 1 "
                                "clashes, 0 skipped\r\n\r\n" +
                                    kScanClashesText + "\r\n" + clash,
                                kScanTitle, MessageIcon::Information}));

    w.chkMissing->setChecked(true);
    QTRY_COMPARE(w.listedRows(), 0);
}

void tst_ScanWindow::cancelAddsNothing_data()
{
    QTest::addColumn<bool>("closing");
    QTest::newRow("Cancel") << false;
    QTest::newRow("closing the dialog") << true;
}

// Cancel pressed straight after Start, before the worker could report: nothing is added even
// when the walk itself got to its end.
void tst_ScanWindow::cancelAddsNothing()
{
    QFETCH(bool, closing);
    WindowFixture f;
    const QString roms = makeTree(f.dir.path());
    frmMain &w = f.open();
    const int before = f.state.database.EntryCount();
    const QStringList paths = f.state.paths[PathKind::Rom].dirs();

    frmScan dialog(f.state, f.dialogs, w, &w);
    dialog.show();
    dialog.txtFolder->setText(roms);
    dialog.cmdStart->click();
    QVERIFY(dialog.isScanning());
    QVERIFY(!dialog.cmdStart->isEnabled());
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
}

QTEST_MAIN(tst_ScanWindow)
#include "tst_scan_window.moc"
