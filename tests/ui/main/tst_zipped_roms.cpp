// Zipped tapes and snapshots in the real main window, wherever a plain rom file goes: drops on
// the list, Run, the missing-files view, the tape viewer, Fill from tape and the loading screen.
#include "ArchiveMaker.h"
#include "TestSupport.h"
#include "WindowFixture.h"

#include "../../tape/TapeImages.h"

#include "ui/list/GameListModel.h"
#include "ui/list/GameListView.h"
#include "ui/properties/DetailsTab.h"
#include "ui/properties/FilesTab.h"
#include "ui/properties/frmProperties.h"
#include "ui/screens/ScreenshotStrip.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

using namespace testsupport;

namespace {

// A tape whose archive-info block names the game and its publisher.
QByteArray catalogueTape()
{
    const QList<std::pair<int, QByteArray>> texts = {{0x00, "Jet Set Willy"},
                                                     {0x01, "Software Projects"}};
    QByteArray info(1, char(texts.size()));
    for (const auto &[type, text] : texts)
        info += char(type) + QByteArray(1, char(text.size())) + text;
    using namespace tapeimages;
    return tzx({QByteArray(1, 0x32) + le(info.size(), 2) + info,
                standard(header(0, "JSW       ", 10, 10)), standard(data("0123456789"))});
}

QByteArray screenTape(const QByteArray &screen)
{
    using namespace tapeimages;
    return tap({header(3, "screen", 6912, 16384), data(screen)});
}

// A window over the catalogue `entries` (name, rom file), the rom files in "roms/".
struct ZipFixture : WindowFixture
{
    QString roms = path(QStringLiteral("roms/"));

    ZipFixture &withEntry(const QString &name, const QString &romFile)
    {
        if (!window)
            open();
        RomRecord record;
        record.RomName = name;
        record.RomFile = romFile;
        state.database.Add(record);
        return *this;
    }
    void showWithRoms()
    {
        if (!window)
            open();
        state.paths.AddSearchPath(PathKind::Rom, roms);
        window->RefillGameList();
        window->resize(900, 700);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void select(int row)
    {
        window->lstGames->setCurrentIndex(window->gameListModel()->index(row, 0));
        window->lstClick();
    }
    QStringList listed() const
    {
        QStringList names;
        for (int row = 0; row < window->gameListModel()->rowCount(); ++row)
            names.append(window->gameListModel()->index(row, 0).data().toString());
        return names;
    }
};

} // namespace

class tst_ZippedRoms : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dropOnList_data();
    void dropOnList();
    void run_data();
    void run();
    void missingFilesSeeArchivesByName();
    void tapeViewerAndFillReadTheMember();
    void loadingScreenFromAZippedTape();
};

// Catches an archive refused by the drop, an entry named after the archive rather than what it
// holds, an archive of nothing loadable added, and the new kinds refused as files of their own.
void tst_ZippedRoms::dropOnList_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("entry"); // empty: no entry
    QTest::addColumn<QString>("status");

    const QByteArray tape = catalogueTape();
    const QString noSpectrumFile =
        QStringLiteral("Archives not added, unreadable or holding no tape, snapshot or disk "
                       "image: 1");
    QTest::newRow("zip") << "Jet Set.zip"
                         << makeZip({{"readme.txt", "hello"}, {"files/JSW 2.TZX", tape}}) << "JSW 2"
                         << "";
    QTest::newRow("gz") << "pack.GZ" << makeGzip(tape, "Manic Miner.tzx") << "Manic Miner"
                        << "";
    QTest::newRow("zip of nothing")
        << "docs.zip" << makeZip("readme.txt", "hello") << "" << noSpectrumFile;
    QTest::newRow("damaged zip") << "broken.zip" << QByteArray("PK\x03\x04 no more") << ""
                                 << noSpectrumFile;
    QTest::newRow("szx") << "Elite.szx" << tape << "Elite"
                         << "";
    QTest::newRow("dsk") << "Elite.DSK" << tape << "Elite"
                         << "";
    QTest::newRow("trd") << "Elite.trd" << tape << "Elite"
                         << "";
    QTest::newRow("scl") << "Elite.scl" << tape << "Elite"
                         << "";
    QTest::newRow("tap as before") << "Pit.tap" << tape << "Pit"
                                   << "";
    QTest::newRow("text") << "notes.txt" << tape << ""
                          << "";
}

void tst_ZippedRoms::dropOnList()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, entry);
    QFETCH(QString, status);
    ZipFixture f;
    f.open();
    const QString dropped = f.path(QStringLiteral("Drop Zone/")) + file;
    touch(dropped, bytes);
    f.window->lstGames_OLEDragDrop({dropped});

    QCOMPARE(f.window->statBar->currentMessage(), status);
    QCOMPARE(f.state.database.EntryCount(), entry.isEmpty() ? 0 : 1);
    if (entry.isEmpty())
        return;
    QCOMPARE(f.state.database.Get(0).RomName, entry);
    QCOMPARE(f.state.database.Get(0).RomFile, file);
    QVERIFY(f.state.paths.HasSearchPath(PathKind::Rom, f.path(QStringLiteral("Drop Zone/"))));
}

// Catches the archive itself handed to the emulator, the user's own cache written by a test, a
// member other than the one the archive holds, and a damaged archive that starts anything.
void tst_ZippedRoms::run_data()
{
    QTest::addColumn<QByteArray>("zip");
    QTest::addColumn<QString>("message"); // empty: the emulator starts

    const QByteArray tape = catalogueTape();
    QTest::newRow("member") << makeZip({{"info.nfo", "x"}, {"Game/JSW.TZX", tape}}) << "";
    QByteArray damaged = makeZip({{"JSW.TZX", tape, true}});
    damaged[damaged.indexOf(tape.left(8))] = 'X';
    QTest::newRow("fails its CRC")
        << damaged << "Unable to read jsw.zip: JSW.TZX fails its CRC check";
}

void tst_ZippedRoms::run()
{
    QFETCH(QByteArray, zip);
    QFETCH(QString, message);
    ZipFixture f;
    touch(f.roms + QStringLiteral("jsw.zip"), zip);
    touch(f.path(QStringLiteral("bin/emu")));
    f.withEntry(QStringLiteral("JSW"), QStringLiteral("jsw.zip"));
    f.state.emulators.entries.append({QStringLiteral("Emu"), f.path(QStringLiteral("bin/emu"))});
    f.state.emulators.defaultIndex = 0;
    f.showWithRoms();
    f.select(0);
    f.window->lstGames_DblClick();

    if (!message.isEmpty()) {
        QCOMPARE(f.starter.starts.size(), 0);
        QCOMPARE(describe(f.dialogs.messages().value(0)),
                 describe(Message::critical(message, QStringLiteral("Can't Run"))));
        return;
    }
    QCOMPARE(f.dialogs.messages().size(), 0);
    QCOMPARE(f.starter.starts.size(), 1);
    const QStringList arguments = f.starter.starts.at(0).arguments;
    QCOMPARE(arguments.size(), 1);
    const QString member = arguments.at(0);
    QVERIFY2(member.startsWith(f.runCacheDir.path() + u'/'), qPrintable(member));
    QVERIFY2(member.endsWith(QStringLiteral("/JSW.TZX")), qPrintable(member));
    QCOMPARE(readFile(member), catalogueTape());
}

// The missing-files view knows an archive by its name, as any rom file: the one on disk is
// present, whatever it holds, and the one not on disk is missing.
void tst_ZippedRoms::missingFilesSeeArchivesByName()
{
    ZipFixture f;
    touch(f.roms + QStringLiteral("Here.ZIP"), "not even a zip");
    f.withEntry(QStringLiteral("Here"), QStringLiteral("here.zip"))
        .withEntry(QStringLiteral("Gone"), QStringLiteral("gone.zip"));
    f.showWithRoms();
    f.window->chkMissing->setChecked(true);
    QCOMPARE(f.listed(), QStringList{QStringLiteral("Gone")});
    f.window->chkMissing->setChecked(false);
    QCOMPARE(f.listed().size(), 2);
}

// Catches the Blocks and Fill from tape buttons left off for a zipped tape, the viewer reading
// the archive's bytes as a tape, and Fill keeping a name the drop gave after the member.
void tst_ZippedRoms::tapeViewerAndFillReadTheMember()
{
    ZipFixture f;
    touch(f.roms + QStringLiteral("jsw.zip"), makeZip("JSW.TZX", catalogueTape()));
    touch(f.roms + QStringLiteral("snap.zip"), makeZip("snap.z80", "z80 bytes"));
    f.withEntry(QStringLiteral("JSW"), QStringLiteral("jsw.zip"));
    f.showWithRoms();
    f.select(0);
    frmProperties d(f.state, f.dialogs, *f.window, f.window->pictures(), false, f.window.get());
    d.show();
    QVERIFY(d.filesTab->cmdRunTaper->isEnabled());
    QVERIFY(d.filesTab->cmdFillFromTape->isEnabled());

    int blocks = -1;
    QTimer::singleShot(0, &d, [&] {
        if (QWidget *modal = QApplication::activeModalWidget();
            modal && modal->objectName() == u"frmTaper") {
            blocks = int(f.state.tape.Blocks.size());
            modal->close();
        }
    });
    QTest::mouseClick(d.filesTab->cmdRunTaper, Qt::LeftButton);
    QCOMPARE(blocks, 3);

    QTest::mouseClick(d.filesTab->cmdFillFromTape, Qt::LeftButton);
    QCOMPARE(d.detailsTab->txtGameName->text(), QStringLiteral("Jet Set Willy"));
    QCOMPARE(d.detailsTab->txtPublisher->text(), QStringLiteral("Software Projects"));
    QCOMPARE(f.dialogs.messages().size(), 0);

    d.filesTab->txtRom->setText(QStringLiteral("snap.zip")); // a snapshot has no blocks
    QVERIFY(!d.filesTab->cmdRunTaper->isEnabled());
    QVERIFY(!d.filesTab->cmdFillFromTape->isEnabled());
}

// Catches the strip reading the archive's own bytes as a tape and finding no screen.
void tst_ZippedRoms::loadingScreenFromAZippedTape()
{
    ZipFixture f;
    writeFile(f.path(QStringLiteral("kivo.ini")), "[kivo]\r\nview=4\r\n");
    QByteArray screen(6912, '\0');
    for (qsizetype i = 0; i < screen.size(); ++i)
        screen[i] = char(i * 7);
    touch(f.roms + QStringLiteral("pit.zip"), makeZip("Pit Fall.tap", screenTape(screen)));
    f.withEntry(QStringLiteral("Pit"), QStringLiteral("pit.zip"));
    f.showWithRoms();
    f.select(0);
    ScreenshotStrip &strip = *f.window->picScrPane;
    QVERIFY(strip.showsLoadingScreen());
    QCOMPARE(strip.pictureAt(0).screen, screen);
}

QTEST_MAIN(tst_ZippedRoms)
#include "tst_zipped_roms.moc"
