// Running an entry and playing its music from the real main window: double-click, Run With,
// Play Music, the Emulators menu.
#include "SpectrumFiles.h"
#include "TestSupport.h"
#include "WindowFixture.h"

#include "launch/EmulatorPresets.h"

#include "ui/list/GameListModel.h"
#include "ui/list/GameListView.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTimer>

using namespace testsupport;

namespace {

// A window over one entry whose rom and tune exist, with `count` emulators that exist.
struct LaunchFixture : WindowFixture
{
    explicit LaunchFixture(int count, qint32 defaultIndex = 0)
    {
        QString romDir = path(QStringLiteral("My Roms/"));
        touch(romDir + QStringLiteral("jetpac.tap"));
        touch(path(QStringLiteral("Tunes/jetpac.ay")));
        touch(path(QStringLiteral("bin/player")));
        open();
        for (int i = 0; i < count; ++i) {
            const QString emulator = path(QStringLiteral("bin/emu%1").arg(i));
            touch(emulator);
            state.emulators.entries.append({QStringLiteral("Emu %1").arg(i), emulator});
        }
        state.emulators.defaultIndex = defaultIndex;
        state.musicPlayers.entries.append(
            {QStringLiteral("Player"), path(QStringLiteral("bin/player"))});
        state.musicPlayers.defaultIndex = 0;
        state.paths.AddSearchPath(PathKind::Rom, romDir);
        QString tuneDir = path(QStringLiteral("Tunes"));
        state.paths.AddSearchPath(PathKind::Music, tuneDir);
        RomRecord record;
        record.RomName = QStringLiteral("Jetpac");
        record.RomFile = QStringLiteral("jetpac.tap");
        record.AudioFile = QStringLiteral("jetpac.ay");
        state.database.Add(record);
        window->RefillGameList();
        window->RebuildEmulatorMenu();
    }

    void selectEntry() { window->lstGames->setCurrentIndex(window->gameListModel()->index(0, 0)); }
    QString started(int start = 0) const
    {
        if (start >= starter.starts.size())
            return QStringLiteral("<nothing>");
        const RecordingProcessStarter::Start &s = starter.starts.at(start);
        return (QStringList{s.program} + s.arguments).join(QStringLiteral(" | "));
    }
};

// Press, release, double-click, release: the order a real double-click arrives in (the view
// ignores a double-click that follows a second press, as QTest::mouseDClick sends it).
void doubleClick(QWidget *widget, const QPoint &pos)
{
    QTest::mousePress(widget, Qt::LeftButton, {}, pos);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, pos);
    QMouseEvent event(QEvent::MouseButtonDblClick, pos, widget->mapToGlobal(pos), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, pos);
}

} // namespace

class tst_LaunchWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void doubleClickRunsDefault();
    void runWithMenu_data();
    void runWithMenu();
    void runWithIgnoresDefault();
    void failedStartReported();
    void profileRuns_data();
    void profileRuns();
    void stoppedAtOnceReported();
    void playMusic();
    void playMusicNotFoundIsNoted();
    void emulatorsMenuOpensTwin_data();
    void emulatorsMenuOpensTwin();
    void enterRunsOnlyAPickedEntry();
    void keysReachTheMenus_data();
    void keysReachTheMenus();
};

// Catches a double-click that runs nothing, or runs without a selected entry.
void tst_LaunchWindow::doubleClickRunsDefault()
{
    LaunchFixture f(2, 1);
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    const QRect row = f.window->lstGames->visualRect(f.window->gameListModel()->index(0, 0));
    doubleClick(f.window->lstGames->viewport(), row.center());
    QCOMPARE(f.started(), f.path(QStringLiteral("bin/emu1")) + " | " +
                              f.path(QStringLiteral("My Roms/jetpac.tap")));

    f.starter.starts.clear();
    f.state.database.SelectedIndex = -99;
    f.window->lstGames_DblClick();
    QCOMPARE(f.started(), QStringLiteral("<nothing>"));
}

// Catches an emulator left out of the menu (also beyond 20), places of a longer earlier list
// still showing, and a place that runs another emulator than it names.
void tst_LaunchWindow::runWithMenu_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("none") << 0;
    QTest::newRow("three") << 3;
    QTest::newRow("twenty") << 20;
    QTest::newRow("twenty-five") << 25;
}

void tst_LaunchWindow::runWithMenu()
{
    QFETCH(int, count);
    LaunchFixture f(30);
    f.state.emulators.entries.resize(count);
    if (count == 0)
        f.state.emulators.entries = {ProgramEntry{}};
    f.window->RebuildEmulatorMenu();

    QStringList visible;
    for (QAction *place : f.window->runWithMenu->actions()) {
        if (place->isVisible())
            visible.append(place->text() + (place->isEnabled() ? "" : " (disabled)"));
    }
    QStringList expected;
    for (int i = 0; i < count; ++i)
        expected.append(QStringLiteral("Emu %1").arg(i));
    if (count == 0)
        expected.append(QStringLiteral("<none> (disabled)"));
    QCOMPARE(visible, expected);

    if (count > 0) {
        f.selectEntry();
        f.window->runWithMenu->actions().at(count - 1)->trigger();
        QCOMPARE(f.started().section(" | ", 0, 0),
                 f.path(QStringLiteral("bin/emu%1").arg(count - 1)));
    }
}

// Catches the default emulator taking the place of the one chosen.
void tst_LaunchWindow::runWithIgnoresDefault()
{
    LaunchFixture f(3, 0);
    f.selectEntry();
    f.window->launcher().emuname()[1]->trigger();
    QCOMPARE(f.started(), f.path(QStringLiteral("bin/emu1")) + " | " +
                              f.path(QStringLiteral("My Roms/jetpac.tap")));
}

// Catches a failed start passed over in silence.
void tst_LaunchWindow::failedStartReported()
{
    LaunchFixture f(1);
    f.starter.succeed = false;
    f.selectEntry();
    f.window->lstGames_DblClick();
    QCOMPARE(f.dialogs.messages().size(), 1);
    QCOMPARE(describe(f.dialogs.messages().first()), "Can't Run: Unable to start\r\n" +
                                                         f.path(QStringLiteral("bin/emu0")) +
                                                         " [critical, ok]");
}

// A Fuse emulator, default for tapes, beside the default one: catches the file's machine not
// read, a Run As item that starts another machine, and the default emulator taking the tape.
void tst_LaunchWindow::profileRuns_data()
{
    QTest::addColumn<QString>("romFile");
    QTest::addColumn<int>("machine"); // the Run As item; -1: a double-click
    QTest::addColumn<QString>("expected");
    QTest::newRow("48K tape") << "jetpac.tap" << -1 << "48 | My Roms/jetpac.tap";
    QTest::newRow("128K tape") << "Jetpac (128K).tap" << -1 << "128 | My Roms/Jetpac (128K).tap";
    QTest::newRow("Run As +3") << "jetpac.tap" << int(SpectrumMachine::Plus3)
                               << "plus3 | My Roms/jetpac.tap";
}

void tst_LaunchWindow::profileRuns()
{
    QFETCH(QString, romFile);
    QFETCH(int, machine);
    QFETCH(QString, expected);
    LaunchFixture f(2);
    touch(f.path("My Roms/" + romFile), spectrumFileBytes(romFile));
    f.state.emulators.entries[1].profile = presetFor(QStringLiteral("fuse-sdl"))->profile;
    f.state.emulators.entries[1].profile.defaultFor = QStringList{"tap"};
    RomRecord record = f.state.database.Get(0);
    record.RomFile = romFile;
    f.state.database.Set(0, record);
    f.selectEntry();
    if (machine < 0)
        f.window->lstGames_DblClick();
    else
        f.window->runAsMenu->actions().at(machine)->trigger();
    QCOMPARE(f.started(), f.path("bin/emu1 | --machine | ") + expected.replace("My", f.path("My")));
}

// An emulator that ends at once with an error says why, only while the window is there.
void tst_LaunchWindow::stoppedAtOnceReported()
{
    LaunchFixture f(1);
    int endedSlot = -1;
    connect(&f.window->launcher(), &EntryLauncher::programEnded, this,
            [&endedSlot](int slot, const ProcessEnd &, qint64) { endedSlot = slot; });
    f.selectEntry();
    f.window->lstGames_DblClick();
    f.window->lstGames_DblClick();
    const ProcessEnd end{1, false, 300, QStringLiteral("fuse: error loading ROM")};
    f.starter.end(0, end);
    QCOMPARE(endedSlot, 0);
    QCOMPARE(describe(f.dialogs.messages().value(0)),
             "Can't Run: Emu 0 stopped at once: \r\nfuse: error loading ROM [critical, ok]");
    f.window.reset();
    f.starter.end(1, end);
    QCOMPARE(f.dialogs.messages().size(), 1);
}

// Catches Play Music not wired to the default player with the tune as one argument.
void tst_LaunchWindow::playMusic()
{
    LaunchFixture f(1);
    f.selectEntry();
    QVERIFY(f.window->mnuClick[6]->isEnabled());
    f.window->mnuClick[6]->trigger();
    QCOMPARE(f.started(), f.path(QStringLiteral("bin/player")) + " | " +
                              f.path(QStringLiteral("Tunes/jetpac.ay")));
    QVERIFY(f.dialogs.messages().isEmpty());
}

// An audio file in no music directory shows no message box, but the status bar says why.
void tst_LaunchWindow::playMusicNotFoundIsNoted()
{
    LaunchFixture f(1);
    RomRecord record = f.state.database.Get(0);
    record.AudioFile = QStringLiteral("missing.ay");
    f.state.database.Set(0, record);
    f.selectEntry();
    f.window->mnuClick[6]->trigger();
    QVERIFY(f.starter.starts.isEmpty());
    QVERIFY(f.dialogs.messages().isEmpty());
    QCOMPARE(f.window->statBar->currentMessage(),
             QStringLiteral("Audio file not found: missing.ay"));
}

void tst_LaunchWindow::emulatorsMenuOpensTwin_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("dialog");
    QTest::newRow("Speccy") << 0 << "frmEmulators";
    QTest::newRow("Music") << 1 << "frmMusicPlayers";
}

// Catches the menu items swapped or a dialog that is not modal.
void tst_LaunchWindow::emulatorsMenuOpensTwin()
{
    QFETCH(int, item);
    QFETCH(QString, dialog);
    LaunchFixture f(1);
    QString opened;
    QTimer::singleShot(0, this, [&] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            opened = modal->objectName();
            modal->close();
        }
    });
    f.window->mnuEmus[item]->trigger();
    QCOMPARE(opened, dialog);
}

QTEST_MAIN(tst_LaunchWindow)
#include "tst_launch_window.moc"

// Enter acts on the list alone: the current row the list gives itself with the focus is no
// pick, and Enter with an item of the menu bar highlighted is that item's.
void tst_LaunchWindow::enterRunsOnlyAPickedEntry()
{
    LaunchFixture f(1);
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    f.window->lstGames->setFocus();
    QCoreApplication::processEvents();
    QTest::keyClick(f.window->lstGames, Qt::Key_Return);
    QCOMPARE(f.started(), QStringLiteral("<nothing>"));

    f.selectEntry();
    QString opened;
    QTimer::singleShot(0, f.window.get(), [&opened] {
        if (QWidget *box = QApplication::activeModalWidget()) {
            opened = box->objectName();
            box->close();
        }
    });
    f.window->menuBar()->setActiveAction(f.window->blank[7]);
    QTest::keyClick(f.window->lstGames, Qt::Key_Return);
    QCOMPARE(opened, QStringLiteral("frmAbout"));
    QCOMPARE(f.started(), QStringLiteral("<nothing>"));
    QCOMPARE(f.state.database.SelectedIndex, 0);
    QCOMPARE(f.window->menuBar()->activeAction(), nullptr);
    QTest::keyClick(f.window->lstGames, Qt::Key_Return);
    QCOMPARE(f.starter.starts.size(), 1);
}

// Alt and a letter opens each menu of the bar, F10 the first; Shift+F10 and the Menu key open
// the list's context menu.
void tst_LaunchWindow::keysReachTheMenus_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("menu"); // index into blank
    QTest::newRow("Alt+F") << int(Qt::Key_F) << int(Qt::AltModifier) << 0;
    QTest::newRow("Alt+R") << int(Qt::Key_R) << int(Qt::AltModifier) << 1;
    QTest::newRow("Alt+V") << int(Qt::Key_V) << int(Qt::AltModifier) << 2;
    QTest::newRow("Alt+E") << int(Qt::Key_E) << int(Qt::AltModifier) << 3;
    QTest::newRow("Alt+M") << int(Qt::Key_M) << int(Qt::AltModifier) << 4;
    QTest::newRow("F10") << int(Qt::Key_F10) << int(Qt::NoModifier) << 0;
    QTest::newRow("Shift+F10") << int(Qt::Key_F10) << int(Qt::ShiftModifier) << 5;
    QTest::newRow("Menu key") << int(Qt::Key_Menu) << int(Qt::NoModifier) << 5;
}
void tst_LaunchWindow::keysReachTheMenus()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, menu);
    LaunchFixture f(1);
    f.window->show();
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    f.window->lstGames->setFocus();
    QTest::keyClick(f.window->lstGames, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QMenu *opened = f.window->blank[menu]->menu();
    QTRY_VERIFY(opened->isVisible());
    opened->close();
}
