#include "RecordingProcessStarter.h"
#include "ScriptedDialogs.h"
#include "TestSupport.h"

#include "core/Twips.h"
#include "settings/SettingsFile.h"
#include "ui/list/GameListView.h"
#include "ui/main/frmAbout.h"
#include "ui/main/frmMain.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// The main window's start-up and shutdown over a temporary program directory: kivo.ini applied
// to the window and the state and written back, lang.ini applied to the menus and tables.
class tst_SettingsWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void noSettingsFile();
    void placement_data();
    void placement();
    void roundTrip();
    void windowStateWrittenAndRestored_data();
    void windowStateWrittenAndRestored();
    void removedDirectoriesLeaveNoSection();
    void failedWriteToldOnceAndCloses();
    void noLanguageFile();
    void languageFileRenames();
    void aboutBox();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    void writeSettings(const QByteArray &bytes) { testsupport::writeFile(path("kivo.ini"), bytes); }
    QRect builtIn();

    std::unique_ptr<QTemporaryDir> m_dir;
};

namespace {

// One window over a program directory, with scripted dialogs.
struct Run
{
    explicit Run(const QString &dir)
        : state(ProgramDir::inDirectory(dir))
    {
    }
    AppState state;
    ScriptedDialogs dialogs;
    RecordingProcessStarter starter;
    frmMain window{state, dialogs, starter};
};

QPoint centredOn(const QRect &screen, const QSize &size)
{
    return {screen.x() + nearestInteger(screen.width() / 2.0 - size.width() / 2.0),
            screen.y() + nearestInteger(screen.height() / 2.0 - size.height() / 2.0)};
}

} // namespace

void tst_SettingsWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

// The place and size the window is built with: a maximised start reads no placement keys.
QRect tst_SettingsWindow::builtIn()
{
    QTemporaryDir other;
    testsupport::writeFile(other.filePath("kivo.ini"), "[kivo]\r\nwinstate=2\r\nwinw=333\r\n");
    Run run(other.path());
    return QRect(run.window.pos(), run.window.size());
}

void tst_SettingsWindow::noSettingsFile()
{
    const QSize builtIn = this->builtIn().size();
    Run run(m_dir->path());
    QCOMPARE(run.window.size(), builtIn);
    QCOMPARE(run.window.pos(), centredOn(run.window.screen()->geometry(), builtIn));
    QCOMPARE(run.window.windowState(), Qt::WindowNoState);
    QCOMPARE(run.state.emulators.entries.size(), 0);
    QCOMPARE(run.state.paths[PathKind::Rom].dirs(), QStringList{QString()});
    QCOMPARE(run.state.database.LastDatabase, QString());
    QVERIFY(!run.window.mnuMisc[5]->isChecked());
}

void tst_SettingsWindow::placement_data()
{
    QTest::addColumn<QByteArray>("kivo");
    QTest::addColumn<int>("width");  // -1: built in
    QTest::addColumn<int>("height"); // -1: built in
    QTest::addColumn<int>("x");      // -99: centred
    QTest::addColumn<int>("y");      // -99: centred
    QTest::addColumn<int>("state");

    // Limits of 100 and -99 from both sides, an empty value, a state that skips the keys.
    QTest::newRow("winw=100") << QByteArray("winw=100") << -1 << -1 << -99 << -99 << 0;
    QTest::newRow("winw=101") << QByteArray("winw=101") << 101 << -1 << -99 << -99 << 0;
    QTest::newRow("winh=101") << QByteArray("winh=101") << -1 << 101 << -99 << -99 << 0;
    QTest::newRow("winx=-99") << QByteArray("winx=-99") << -1 << -1 << -99 << -99 << 0;
    QTest::newRow("winx=-98") << QByteArray("winx=-98") << -1 << -1 << -98 << -99 << 0;
    QTest::newRow("winx empty") << QByteArray("winx=") << -1 << -1 << 0 << -99 << 0;
    QTest::newRow("winy=7") << QByteArray("winy=7") << -1 << -1 << -99 << 7 << 0;
    QTest::newRow("maximised ignores placement")
        << QByteArray("winstate=2\r\nwinw=640\r\nwinx=5") << -1 << -1 << -1 << -1 << 2;
    QTest::newRow("minimised ignores placement")
        << QByteArray("winstate=1\r\nwinw=640\r\nwinx=5") << -1 << -1 << -1 << -1 << 1;
}

void tst_SettingsWindow::placement()
{
    QFETCH(QByteArray, kivo);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(int, state);

    const QRect builtIn = this->builtIn();
    writeSettings("[kivo]\r\n" + kivo + "\r\n");
    Run run(m_dir->path());
    const frmMain &w = run.window;
    const QSize size(width < 0 ? builtIn.width() : width, height < 0 ? builtIn.height() : height);
    QCOMPARE(w.size(), size);
    if (state == 0) {
        const QPoint centred = centredOn(w.screen()->geometry(), size);
        QCOMPARE(w.pos(), QPoint(x == -99 ? centred.x() : x, y == -99 ? centred.y() : y));
    } else {
        QCOMPARE(w.pos(), builtIn.topLeft());
    }
    QCOMPARE(w.isMinimized(), state == 1);
    QCOMPARE(w.isMaximized(), state == 2);
}

void tst_SettingsWindow::roundTrip()
{
    // Column widths in twips are kept through the screen's resolution.
    const double perPixel =
        twipsPerPixel(qRound(QApplication::primaryScreen()->logicalDotsPerInchX()));
    const QList<int> columns = {250, 180, 90};
    QByteArray heads;
    for (int i = 0; i < 3; ++i)
        heads += QStringLiteral("head00%1=%2\r\n")
                     .arg(i + 1)
                     .arg(formatSingle(pixelsToTwips(columns[i], perPixel)))
                     .toUtf8();
    const QByteArray file = "[kivo]\r\n"
                            "winstate=0\r\n"
                            "winw=640\r\n"
                            "winh=480\r\n"
                            "winx=20\r\n"
                            "winy=30\r\n"
                            "Defaultemu=1\r\n"
                            "Defaultmplayer=0\r\n"
                            "view=4\r\n"
                            "SSSize=1\r\n"
                            "loadscr=0\r\n"
                            "lastdb=" +
                            path("gone.dat").toUtf8() +
                            "\r\n"
                            "loadlast=1\r\n" +
                            heads +
                            "[emulators]\r\n"
                            "num=2\r\n"
                            "emu00=Zxemu\r\n"
                            "file00=/usr/bin/zxemu\r\n"
                            "emu01=Other emulator\r\n"
                            "file01=/opt/other/bin/spectrum\r\n"
                            "[musicplayers]\r\n"
                            "num=1\r\n"
                            "playername00=Player\r\n"
                            "file00=/usr/bin/play\r\n"
                            "[RomPaths]\r\n"
                            "num=2\r\n"
                            "path00=/roms/\r\n"
                            "path01=/home/\xd0\xb8\xd0\xb2\xd0\xb0\xd0\xbd/roms/\r\n"
                            "[ScreenshotPaths]\r\n"
                            "num=1\r\n"
                            "path00=/shots/\r\n"
                            "[MusicPaths]\r\n"
                            "num=1\r\n"
                            "path00=/music/\r\n";
    writeSettings(file);
    {
        Run run(m_dir->path());
        frmMain &w = run.window;
        QCOMPARE(w.geometry().size(), QSize(640, 480));
        QCOMPARE(w.pos(), QPoint(20, 30));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(w.lstGames->header()->sectionSize(i), columns[i]);
        const AppState &state = run.state;
        QCOMPARE(state.emulators.entries.size(), 2);
        QCOMPARE(state.emulators.entries[1].path, QStringLiteral("/opt/other/bin/spectrum"));
        QCOMPARE(state.emulators.defaultIndex, 1);
        QCOMPARE(state.musicPlayers.entries.value(0).name, QStringLiteral("Player"));
        QCOMPARE(state.musicPlayers.defaultIndex, 0);
        QCOMPARE(state.layout.ViewMode, 4);
        QCOMPARE(state.layout.HalfSizeScreenshots, 1);
        QCOMPARE(state.paths[PathKind::Rom].dirs().value(1), QStringLiteral("/home/иван/roms/"));
        QCOMPARE(state.paths[PathKind::Music].dirs(), QStringList{"/music/"});
        // The remembered database is gone: skipped silently, but still remembered.
        QCOMPARE(state.LoadLastDatabase, 1);
        QVERIFY(w.mnuMisc[5]->isChecked());
        QCOMPARE(state.database.LastDatabase, path("gone.dat"));
        QVERIFY(!state.database.HasEntries());
        w.close();
        QCOMPARE(run.dialogs.requests.size(), 0); // empty catalogue: no question
    }
    const QStringList written =
        QString::fromUtf8(testsupport::readFile(path("kivo.ini"))).split("\r\n");
    const QStringList expected = QString::fromUtf8(file).split("\r\n");
    for (qsizetype i = 0; i < std::min(written.size(), expected.size()); ++i)
        QCOMPARE(written.at(i), expected.at(i));
    QCOMPARE(written.size(), expected.size());
}

void tst_SettingsWindow::windowStateWrittenAndRestored_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("normal") << int(Qt::WindowNoState) << QByteArray("winstate=0");
    QTest::newRow("minimised") << int(Qt::WindowMinimized) << QByteArray("winstate=1");
    QTest::newRow("maximised") << int(Qt::WindowMaximized) << QByteArray("winstate=2");
}

void tst_SettingsWindow::windowStateWrittenAndRestored()
{
    QFETCH(int, state);
    QFETCH(QByteArray, line);
    {
        Run run(m_dir->path());
        run.window.setWindowState(Qt::WindowState(state));
        run.window.close();
    }
    QVERIFY(testsupport::readFile(path("kivo.ini")).startsWith("[kivo]\r\n" + line + "\r\n"));
    Run next(m_dir->path());
    QCOMPARE(next.window.windowState(), Qt::WindowStates(Qt::WindowState(state)));
}

void tst_SettingsWindow::removedDirectoriesLeaveNoSection()
{
    writeSettings("[RomPaths]\r\nnum=1\r\npath00=/roms/\r\n[MusicPaths]\r\nnum=1\r\npath00=/m/\r\n"
                  "[emulators]\r\nnum=1\r\nemu00=Zxemu\r\nfile00=/usr/bin/zxemu\r\n");
    {
        Run run(m_dir->path());
        // As the paths and emulators dialogs leave a list whose last element was removed.
        run.state.paths[PathKind::Rom].setDirs({});
        run.state.emulators.entries = {ProgramEntry{}};
        run.window.close();
    }
    const QByteArray written = testsupport::readFile(path("kivo.ini"));
    QVERIFY(!written.contains("[RomPaths]"));
    QVERIFY(!written.contains("[emulators]"));
    QVERIFY(written.contains("[MusicPaths]\r\nnum=1\r\npath00=/m/\r\n"));
}

void tst_SettingsWindow::failedWriteToldOnceAndCloses()
{
    // A directory where the file should be: the write cannot succeed, even for root.
    QVERIFY(QDir(m_dir->path()).mkdir("kivo.ini"));
    Run run(m_dir->path());
    run.window.show();
    QVERIFY(run.window.close());
    QVERIFY(!run.window.isVisible());
    const QList<Message> messages = run.dialogs.messages();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages.first(), (Message{"Unable to save the settings file.\r\n" + path("kivo.ini"),
                                        "Kivo", MessageIcon::Critical, MessageButtons::Ok}));
}

void tst_SettingsWindow::noLanguageFile()
{
    Run run(m_dir->path());
    const frmMain &w = run.window;
    QCOMPARE(w.blank[3]->text(), QStringLiteral("&Emulators"));
    QCOMPARE(w.mnuEmus[0]->text(), QStringLiteral("Speccy"));
    QCOMPARE(w.mnuEmus[1]->text(), QStringLiteral("Audio Players"));
    QCOMPARE(w.mnuMisc[5]->text(), QStringLiteral("Load last DB"));
    QCOMPARE(run.state.language.at(47), QStringLiteral("Paths"));
    QCOMPARE(run.state.gameTypes.nameOf(15), QStringLiteral("Arcade - [uncategorized]"));
}

void tst_SettingsWindow::languageFileRenames()
{
    testsupport::writeFile(path("lang.ini"),
                           "[MENUFILE]\r\nMENUTITLE=Datei\r\nfile4=Beenden\r\n"
                           "[mainEmu]\r\nemu1=\r\n[menuView]\r\nmenuTitle=An&sicht\r\n"
                           "[menuMisc]\r\nmisc3=Letzte DB laden\r\n"
                           "[kivoLang]\r\nLANG043=Pfade\r\n"
                           "[rom_types]\r\ntype015=Arcade - Sonstige\r\n");
    Run run(m_dir->path());
    const frmMain &w = run.window;
    QCOMPARE(w.blank[0]->text(), QStringLiteral("&Datei"));
    QCOMPARE(w.blank[2]->text(), QStringLiteral("An&sicht")); // its own mnemonic kept
    QCOMPARE(w.mnuFile[5]->text(), QStringLiteral("Beenden"));
    QVERIFY(w.mnuFile[4]->isSeparator());
    QCOMPARE(w.mnuEmus[1]->text(), QStringLiteral("Audio Players")); // empty keeps the default
    QCOMPARE(w.mnuMisc[5]->text(), QStringLiteral("Letzte DB laden"));
    QCOMPARE(w.blank[7]->text(), QStringLiteral("&About")); // not translated
    QCOMPARE(run.state.language.at(47), QStringLiteral("Pfade"));
    QCOMPARE(run.state.gameTypes.nameOf(15), QStringLiteral("Arcade - Sonstige"));
}

void tst_SettingsWindow::aboutBox()
{
    Run run(m_dir->path());
    QStringList seen;
    QTimer::singleShot(0, this, [&] {
        auto *about = qobject_cast<frmAbout *>(QApplication::activeModalWidget());
        if (about == nullptr)
            return;
        seen = about->Label1->text().split(u'\n');
        seen.append(about->Command1->text());
        QTest::mouseClick(about->Command1, Qt::LeftButton);
        if (about->isVisible())
            about->reject(); // never leave the test waiting
    });
    run.window.blank[7]->trigger();

    QVERIFY(!seen.isEmpty());
    QCOMPARE(seen.first(), QStringLiteral("Orvanta (Kivo) v1.0"));
    QVERIFY(seen.join(u'\n').contains(QStringLiteral(KIVO_VERSION)));
    QVERIFY(seen.join(u'\n').contains(path("kivo.ini")));
    QVERIFY(seen.contains(QStringLiteral(
        "Kivo is free software under the GNU General Public License, version 3 or later.")));
    QCOMPARE(seen.last(), QStringLiteral("OK"));
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    // The lines of the text are joined by CR LF.
    QVERIFY(frmAbout::aboutText(path("kivo.ini")).startsWith("Orvanta (Kivo) v1.0\r\n"));
}

QTEST_MAIN(tst_SettingsWindow)
#include "tst_settings_window.moc"
