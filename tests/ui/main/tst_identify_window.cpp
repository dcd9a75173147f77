// Identifying through the real window: a DAT file kept in the settings and ticked in the scan
// dialog, dropped files and Roms > Identify naming entries from it (only what is empty), and
// the duplicates found and removed.
#include "TestSupport.h"
#include "WindowFixture.h"

#include "scan/Identify.h"
#include "ui/identify/IdentifyCommands.h"
#include "ui/identify/frmDatFiles.h"
#include "ui/identify/frmDuplicates.h"
#include "ui/properties/FilesTab.h"
#include "ui/properties/frmProperties.h"
#include "ui/scan/frmScan.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>

using namespace testsupport;

namespace {

// Three tapes in roms/, two of them the same bytes under other names, and a DAT that knows the
// first two by their contents.
struct IdentifyFixture : WindowFixture
{
    QString dat = path(QStringLiteral("spectrum.dat"));

    IdentifyFixture()
    {
        touch(path(QStringLiteral("roms/alpha.tap")), QByteArray(300, 'a'));
        touch(path(QStringLiteral("roms/bravo.tap")), QByteArray(200, 'b'));
        touch(path(QStringLiteral("roms/copy of alpha.tap")), QByteArray(300, 'a'));
        QByteArray text = "clrmamepro (\n  name \"Test Games\"\n  version \"7\"\n)\n";
        const auto game = [&](const char *name, const char *year, const char *makers,
                              const QString &file) {
            const Fingerprint print = fingerprintOf(path(QStringLiteral("roms/") + file));
            text += QStringLiteral("game (\n  name \"%1\"\n  year \"%2\"\n  manufacturer "
                                   "\"%3\"\n  rom ( name \"%4\" size %5 crc %6 )\n)\n")
                        .arg(QLatin1String(name), QLatin1String(year), QLatin1String(makers), file)
                        .arg(print.size)
                        .arg(print.crc, 8, 16, QLatin1Char('0'))
                        .toUtf8();
        };
        game("Alpha Quest (Ocean)", "1985", "Jon Ritman|Bernie Drummond", "alpha.tap");
        game("Bravo Run (Imagine)", "1986", "Ann Author", "bravo.tap");
        writeFile(dat, text);
        open();
        QString roms = path(QStringLiteral("roms/"));
        state.paths.AddSearchPath(PathKind::Rom, roms);
    }

    void keepDat()
    {
        frmDatFiles dialog(dialogs, {}, window.get());
        dialogs.files.enqueue(dat);
        dialog.cmdAdd_Click();
        window->identifier().applyDatFiles(dialog);
    }
    void drop(const QStringList &names)
    {
        QStringList paths;
        for (const QString &name : names)
            paths.append(path(QStringLiteral("roms/") + name));
        window->lstGames_OLEDragDrop(paths);
    }
    QString status() const { return window->statusBar()->currentMessage(); }
};

} // namespace

class tst_IdentifyWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void datKeptAndTicked();
    void dropsAndIdentifyFillOnlyWhatIsEmpty();
    void duplicatesListedAndRemoved();
};

// Catches a DAT file not read on Add, lost at shutdown, left unticked in the scan dialog or not
// naming what the scan finds.
void tst_IdentifyWindow::datKeptAndTicked()
{
    IdentifyFixture f;
    f.keepDat();
    QCOMPARE(f.state.dats.files(), QStringList{QDir::toNativeSeparators(f.dat)});
    frmDatFiles listed(f.dialogs, f.state.dats.files());
    const QTreeWidgetItem *row = listed.lstDatFiles->topLevelItem(0);
    QCOMPARE((QStringList{row->text(0), row->text(1), row->text(2)}),
             (QStringList{"Test Games", "7", "2"}));

    frmScan scan(f.state, f.dialogs, *f.window);
    QCOMPARE(scan.lstDats->count(), 1);
    QCOMPARE(scan.lstDats->item(0)->checkState(), Qt::Checked);
    scan.txtFolder->setText(f.path(QStringLiteral("roms")));
    scan.cmdStart->click();
    QTRY_VERIFY(!scan.isScanning());
    QStringList names;
    for (int slot = 0; slot < f.state.database.EntryCount(); ++slot)
        names.append(f.state.database.Get(slot).RomName);
    names.sort();
    QCOMPARE(names, (QStringList{"Alpha Quest", "Alpha Quest", "Bravo Run"}));

    f.dialogs.answers.enqueue(Dialogs::Answer::No); // the scan's entries are not saved
    f.close();
    QVERIFY(readFile(f.path(QStringLiteral("kivo.ini")))
                .contains(QDir::toNativeSeparators(f.dat).toUtf8()));
    QCOMPARE(f.dialogs.unexpected, 0);
}

// Catches a drop named by its file when the DAT knows it, Properties not saying what matched,
// Identify writing over what the user typed, and a count that is not of the entries looked at.
void tst_IdentifyWindow::dropsAndIdentifyFillOnlyWhatIsEmpty()
{
    IdentifyFixture f;
    f.drop({"alpha.tap"});
    QCOMPARE(f.state.database.Get(0).RomName, QStringLiteral("alpha")); // no DAT kept yet

    f.keepDat();
    f.drop({"bravo.tap"});
    const RomRecord bravo = f.state.database.Get(1);
    QCOMPARE((QStringList{bravo.RomName, bravo.Publisher, bravo.Authors}),
             (QStringList{"Bravo Run", "Imagine", "Ann Author"}));
    QCOMPARE(bravo.Year, 1986);
    f.state.database.SelectedIndex = 1;
    frmProperties properties(f.state, f.dialogs, *f.window, f.window->pictures(), false);
    QTRY_COMPARE(properties.filesTab->lblMatched->text(),
                 QStringLiteral("Matched: Bravo Run (Imagine), spectrum.dat"));

    RomRecord typed = f.state.database.Get(0);
    typed.Publisher = QStringLiteral("My Own");
    f.state.database.Set(0, typed);
    f.window->identifier().identify({});
    const RomRecord alpha = f.state.database.Get(0);
    QCOMPARE((QStringList{alpha.RomName, alpha.Publisher, alpha.Authors}),
             (QStringList{"Alpha Quest", "My Own", "Jon Ritman, Bernie Drummond"}));
    QCOMPARE(alpha.Year, 1985);
    QCOMPARE(f.status(), QStringLiteral("2 of 2 entries identified"));
    QCOMPARE(f.dialogs.unexpected, 0);
}

// Catches copies under other names not grouped, a lone file listed, and removal of entries not
// ticked.
void tst_IdentifyWindow::duplicatesListedAndRemoved()
{
    IdentifyFixture f;
    f.drop({"alpha.tap", "bravo.tap", "copy of alpha.tap"});
    QVERIFY(f.window->identifier().compareFiles());
    QCOMPARE(f.window->identifier().lastResult()->duplicates, (QList<QList<int>>{{0, 2}}));

    frmDuplicates dialog(f.state.database, f.window->identifier().lastResult()->duplicates);
    QCOMPARE(dialog.lstGroups->topLevelItemCount(), 1);
    QTreeWidgetItem *copy = dialog.lstGroups->topLevelItem(0)->child(1);
    QCOMPARE(copy->text(1), QStringLiteral("copy of alpha.tap"));
    copy->setCheckState(0, Qt::Checked);
    f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
    f.window->identifier().applyDuplicates(dialog);
    QCOMPARE(f.state.database.EntryCount(), 2);
    QCOMPARE(f.state.database.Get(1).RomFile, QStringLiteral("bravo.tap"));
    QCOMPARE(f.dialogs.unexpected, 0);
}

QTEST_MAIN(tst_IdentifyWindow)
#include "tst_identify_window.moc"
