// Start-up, shutdown and the File menu of the real main window, with scripted dialogs.
#include "TestSupport.h"
#include "WindowFixture.h"

#include "core/DatFile.h"
#include "ui/list/GameListModel.h"
#include "ui/list/GameListProxy.h"
#include "ui/list/GameListView.h"
#include "ui/properties/DetailsTab.h"
#include "ui/properties/FilesTab.h"
#include "ui/properties/frmProperties.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/stat.h>

using namespace testsupport;
using Answer = Dialogs::Answer;
using Kind = ScriptedDialogs::Kind;

namespace {

RomRecord named(const QString &name)
{
    RomRecord record;
    record.RomName = name;
    record.RomFile = name + QStringLiteral(".tap");
    return record;
}

void writeCatalogue(const QString &path, const QStringList &names)
{
    RomDatabase database;
    for (const QString &name : names)
        database.Add(named(name));
    QVERIFY(SaveDatabase(database, path).ok);
}

QStringList namesIn(const QString &path)
{
    RomDatabase database;
    SearchPaths paths;
    if (!LoadDatabase(database, paths, path).ok)
        return {QStringLiteral("<unreadable>")};
    QStringList names;
    for (const RomRecord &record : database.slots()) {
        if (record.isEntry())
            names.append(record.RomName);
    }
    return names;
}

void writeSettings(const QString &path, const QString &lastDatabase, int loadLast)
{
    writeFile(path, QStringLiteral("[kivo]\r\nlastdb=%1\r\nloadlast=%2\r\n")
                        .arg(lastDatabase)
                        .arg(loadLast)
                        .toUtf8());
}

QStringList captions(const QList<QAction *> &items)
{
    QStringList out;
    for (QAction *item : items)
        out.append(item->isSeparator() ? QStringLiteral("-") : item->text());
    return out;
}

const QString kSaveQuestion = QStringLiteral("Save Database?");
const QString kSaveFirst = QStringLiteral("Save current database first?");

} // namespace

class TestFrmMain : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void menuBarAsBuilt()
    {
        WindowFixture f;
        frmMain &w = f.open();
        QCOMPARE(w.windowTitle(), QStringLiteral("Kivo"));
        QCOMPARE(captions(w.mnuFile),
                 (QStringList{"New", "Load", "Save", "Save as...", "-", "Exit"}));
        QCOMPARE(captions(w.mnuRoms),
                 (QStringList{"Add Rom", "-", "Remove Selected", "-", "Properties...", "-",
                              "Favourite", "Tags...", "-", "Identify", "Find Duplicates..."}));
        QCOMPARE(captions(w.view),
                 (QStringList{"View Options", "Show loading screens from rom files"}));
        QVERIFY(w.view[1]->isCheckable() && w.view[1]->isChecked());
        QCOMPARE(captions(w.mnuMisc),
                 (QStringList{"Import", "Export", "-", "Paths", "-", "Load last DB", "-",
                              "Scan Folder...", "DAT Files..."}));
        QCOMPARE(captions(w.mnuClick),
                 (QStringList{"Add Rom", "-", "Remove Selected", "-", "Run With", "-", "Play Music",
                              "-", "Properties...", "Run As"}));
        QCOMPARE(captions(w.contextMenu->actions()).mid(4, 3),
                 (QStringList{"Run With", "Run As", "-"}));
        QCOMPARE(captions(w.runAsMenu->actions()),
                 (QStringList{"16K", "48K", "128K", "+2", "+2A", "+3", "Pentagon 128", "Scorpion",
                              "TC2048", "TS2068"}));
        QVERIFY(w.mnuMisc[5]->isCheckable());
        QCOMPARE(w.blank[7]->text(), QStringLiteral("&About"));
        QVERIFY(w.menuBar()->actions().contains(w.blank[7]));
        QVERIFY(!w.menuBar()->actions().contains(w.blank[5])); // the context menu stays off the bar
        // Nothing to save, remove or edit in an empty catalogue.
        for (QAction *item :
             {w.mnuFile[2], w.mnuFile[3], w.mnuMisc[1], w.mnuRoms[2], w.mnuRoms[4], w.mnuClick[6]})
            QVERIFY2(!item->isEnabled(), qPrintable(item->text()));
        QCOMPARE(w.launcher().emuname()[0]->text(), QStringLiteral("<none>"));
        QVERIFY(!w.launcher().emuname()[0]->isEnabled());
        const QStringList headers = {"Rom Name", "Publisher", "Year"};
        for (int c = 0; c < 3; ++c)
            QCOMPARE(w.gameListModel()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(),
                     headers[c]);
        f.close();
        QVERIFY(f.dialogs.requests.isEmpty()); // an empty catalogue asks nothing at shutdown
    }

    void loadLastDatabaseAtStartUp_data()
    {
        QTest::addColumn<int>("loadLast");
        QTest::addColumn<bool>("loaded");
        QTest::newRow("on") << 1 << true;
        QTest::newRow("off") << 0 << false;
    }
    void loadLastDatabaseAtStartUp()
    {
        QFETCH(int, loadLast);
        QFETCH(bool, loaded);
        WindowFixture f;
        writeCatalogue(f.path("games.dat"), {"Alpha", "Beta"});
        writeSettings(f.path("kivo.ini"), f.path("games.dat"), loadLast);
        frmMain &w = f.open();
        QCOMPARE(w.gameListModel()->rowCount(), loaded ? 2 : 0);
        QCOMPARE(w.mnuMisc[5]->isChecked(), loaded);
        QCOMPARE(f.state.database.SelectedIndex, -99);
        QCOMPARE(f.state.database.LastDatabase, f.path("games.dat"));
        QCOMPARE(w.mnuFile[2]->isEnabled(), loaded);
    }

    // Loading then closing writes back to the same file without asking for a name.
    void shutdownSavesToTheLoadedFile()
    {
        WindowFixture f;
        writeCatalogue(f.path("games.dat"), {"Alpha"});
        frmMain &w = f.open();
        f.dialogs.files.enqueue(f.path("games.dat"));
        w.mnuFile[1]->trigger();
        QCOMPARE(f.dialogs.requestsOf(Kind::OpenFile).value(0).file.filter,
                 QStringLiteral("Kivo data file (*.dat)|*.dat"));
        f.state.database.Add(named("Beta"));
        w.RefillGameList();
        f.dialogs.answers.enqueue(Answer::Yes);
        f.close();
        QCOMPARE(describe(f.dialogs.messages().value(0)),
                 describe({kSaveQuestion, "Kivo", MessageIcon::None, MessageButtons::YesNo}));
        QVERIFY(f.dialogs.requestsOf(Kind::SaveFile).isEmpty());
        QCOMPARE(namesIn(f.path("games.dat")), (QStringList{"Alpha", "Beta"}));
    }

    // Two windows on one catalogue: the second only reads it, so quitting both with Yes cannot
    // replace the first one's work with its own.
    void secondWindowOnACatalogueOnlyReadsIt()
    {
        QTemporaryDir shared;
        const QString games = shared.filePath(QStringLiteral("games.dat"));
        writeCatalogue(games, {"Alpha"});
        WindowFixture first, second;
        for (WindowFixture *f : {&first, &second})
            writeSettings(f->path("kivo.ini"), games, 1);
        first.open();
        second.open();
        QCOMPARE(first.dialogs.messages().size(), 0);
        QCOMPARE(describe(second.dialogs.messages().value(0)),
                 describe({games + " is open in another Kivo window.", "Kivo",
                           MessageIcon::Information, MessageButtons::Ok}));
        QCOMPARE(second.window->gameListModel()->rowCount(), 1);

        second.state.database.Add(named("Second"));
        second.dialogs.answers.enqueue(Answer::Yes);
        second.dialogs.files.enqueue(games); // Save as, onto the file the first window has open
        second.dialogs.files.enqueue(QString());
        const QByteArray before = readFile(games);
        second.close();
        QCOMPARE(second.dialogs.requestsOf(Kind::SaveFile).size(), 2);
        QCOMPARE(second.dialogs.messages().last().text, games + " is open in another Kivo window.");
        QCOMPARE(readFile(games), before);

        first.state.database.Add(named("First"));
        first.dialogs.answers.enqueue(Answer::Yes);
        first.close();
        QVERIFY(first.dialogs.requestsOf(Kind::SaveFile).isEmpty());
        QCOMPARE(namesIn(games), (QStringList{"Alpha", "First"}));
        // Closed windows hold no lock.
        WindowFixture third;
        writeSettings(third.path("kivo.ini"), games, 1);
        third.open();
        QCOMPARE(third.dialogs.messages().size(), 0);
    }

    // A Kivo that was killed leaves its lock behind; the next one takes it over.
    void lockOfAKilledKivoIsTakenOver()
    {
        WindowFixture f;
        writeCatalogue(f.path("games.dat"), {"Alpha"});
        writeSettings(f.path("kivo.ini"), f.path("games.dat"), 1);
        QProcess holder;
        holder.start(QStringLiteral(KIVO_TOOL_lock_tool), {f.path("games.dat")});
        QVERIFY(holder.waitForReadyRead(10000));
        QCOMPARE(holder.readAllStandardOutput(), QByteArray("locked\n"));
        holder.kill();
        QVERIFY(holder.waitForFinished(10000));
        QVERIFY(QFile::exists(f.path(".games.dat.lock")));

        frmMain &w = f.open();
        QCOMPARE(f.dialogs.messages().size(), 0);
        f.state.database.Add(named("Beta"));
        w.mnuFile[2]->trigger();
        QCOMPARE(f.dialogs.requestsOf(Kind::SaveFile).size(), 0);
        QCOMPARE(namesIn(f.path("games.dat")), (QStringList{"Alpha", "Beta"}));
    }

    // Another program rewrote the catalogue after it was loaded: Save asks before replacing it,
    // and No keeps that program's file byte for byte.
    void fileChangedBehindTheProgramsBack_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QStringList>("kept");
        QTest::newRow("replace") << Answer::Yes << QStringList{"Alpha", "Ours"};
        QTest::newRow("keep theirs") << Answer::No << QStringList{"Theirs", "And", "More"};
    }
    void fileChangedBehindTheProgramsBack()
    {
        QFETCH(Answer, answer);
        QFETCH(QStringList, kept);
        WindowFixture f;
        const QString games = f.path("games.dat");
        writeCatalogue(games, {"Alpha"});
        writeSettings(f.path("kivo.ini"), games, 1);
        frmMain &w = f.open();
        f.state.database.Add(named("Ours"));
        writeCatalogue(games, {"Theirs", "And", "More"});
        const QByteArray theirs = readFile(games);
        f.dialogs.answers.enqueue(answer);
        f.dialogs.files.enqueue(QString()); // No: Save as is offered, and cancelled
        w.mnuFile[2]->trigger();
        QCOMPARE(describe(f.dialogs.messages().value(0)),
                 describe({games + " was changed by another program since it was loaded. Replace "
                                   "it with this catalogue?",
                           "Save Database", MessageIcon::None, MessageButtons::YesNo}));
        QCOMPARE(f.dialogs.requestsOf(Kind::SaveFile).size(), answer == Answer::No ? 1 : 0);
        QCOMPARE(namesIn(games), kept);
        if (answer == Answer::No)
            QCOMPARE(readFile(games), theirs);
    }

    // The first start after the first-run script shows the first entry; the setting is then
    // dropped, and the next start picks nothing, as every start does.
    void firstRunShowsTheFirstEntryOnce()
    {
        WindowFixture f;
        writeCatalogue(f.path("games.dat"), {"Alpha", "Beta"});
        writeFile(f.path("kivo.ini"), QStringLiteral("[kivo]\r\nview=1\r\nlastdb=%1\r\n"
                                                     "loadlast=1\r\nfirstrun=1\r\n")
                                          .arg(f.path("games.dat"))
                                          .toUtf8());
        f.open();
        QCOMPARE(f.state.database.SelectedIndex, 0);
        QVERIFY(f.window->infoText().startsWith(QStringLiteral("Rom Name: Alpha")));
        f.dialogs.answers.enqueue(Answer::No);
        f.close();
        QVERIFY(!readFile(f.path("kivo.ini")).contains("firstrun"));
        f.open();
        QCOMPARE(f.state.database.SelectedIndex, -99);
    }

    // At the built-in size, in the view with the strip beside the list, the three columns fit
    // the list; each row's icon says what it stands for.
    void firstWindowFitsItsColumns()
    {
        WindowFixture f;
        writeFile(f.path("kivo.ini"), "[kivo]\r\nview=4\r\n");
        frmMain &w = f.open();
        f.state.database.Add(named("Tape"));
        RomRecord snapshot = named("Snap");
        snapshot.RomFile = QStringLiteral("snap.z80");
        f.state.database.Add(snapshot);
        w.RefillGameList();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QHeaderView *header = w.lstGames->header();
        QVERIFY(header->sectionSize(0) + header->sectionSize(1) + header->sectionSize(2) <=
                w.lstGames->viewport()->width());
        QVERIFY(header->sectionSize(2) > 0);
        QVERIFY(!w.lstGames->horizontalScrollBar()->isVisible());
        const auto tip = [&w](int row) {
            return w.gameListModel()->index(row, 0).data(Qt::ToolTipRole).toString();
        };
        QCOMPARE(tip(0), QStringLiteral("TAP tape"));
        QCOMPARE(tip(1), QStringLiteral("Z80 snapshot"));
    }

    // With "Load last DB" off the remembered file is another catalogue: never overwrite it
    // silently.
    void shutdownNeverOverwritesAFileThatWasNotOpened()
    {
        WindowFixture f;
        writeCatalogue(f.path("remembered.dat"), {"Precious"});
        writeSettings(f.path("kivo.ini"), f.path("remembered.dat"), 0);
        frmMain &w = f.open();
        f.state.database.Add(named("New"));
        w.RefillGameList();
        f.dialogs.answers.enqueue(Answer::Yes);
        f.dialogs.files.enqueue(f.path("fresh.dat"));
        f.close();
        const auto saves = f.dialogs.requestsOf(Kind::SaveFile);
        QCOMPARE(saves.size(), 1);
        QCOMPARE(saves.first().file.proposedName, f.path("remembered.dat"));
        QCOMPARE(saves.first().file.filter, QStringLiteral("Kivo data file (*.dat)|*.dat"));
        QCOMPARE(namesIn(f.path("remembered.dat")), QStringList{"Precious"});
        QCOMPARE(namesIn(f.path("fresh.dat")), QStringList{"New"});
        QVERIFY(readFile(f.path("kivo.ini")).contains("fresh.dat"));
    }

    void shutdownAnswers_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("saved");
        QTest::newRow("no") << Answer::No << "" << false;
        QTest::newRow("yes, dialog cancelled") << Answer::Yes << "" << false;
        QTest::newRow("yes, name chosen") << Answer::Yes << "chosen.dat" << true;
    }
    // Whatever is answered, the window closes and the settings are written.
    void shutdownAnswers()
    {
        QFETCH(Answer, answer);
        QFETCH(QString, chosen);
        QFETCH(bool, saved);
        WindowFixture f;
        frmMain &w = f.open();
        w.show();
        f.state.database.Add(named("Alpha"));
        w.RefillGameList();
        f.dialogs.answers.enqueue(answer);
        if (answer == Answer::Yes)
            f.dialogs.files.enqueue(chosen.isEmpty() ? QString() : f.path(chosen));
        QVERIFY(w.close());
        QVERIFY(!w.isVisible());
        QCOMPARE(QFileInfo::exists(f.path("chosen.dat")), saved);
        QCOMPARE(f.state.database.LastDatabase, saved ? f.path("chosen.dat") : QString());
        QVERIFY(QFileInfo::exists(f.path("kivo.ini")));
    }

    // A save that fails must not be taken for a saved catalogue: the name is not kept, and at
    // shutdown another name is offered.
    void failedSaveOffersAnotherName()
    {
        WindowFixture f;
        frmMain &w = f.open();
        f.state.database.Add(named("Alpha"));
        w.RefillGameList();
        const QString impossible = f.path("no-such-dir/games.dat");
        f.dialogs.answers.enqueue(Answer::Yes);
        f.dialogs.files.enqueue(impossible);
        f.dialogs.files.enqueue(f.path("second.dat"));
        f.close();
        const QList<Message> shown = f.dialogs.messages();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[1].title, QStringLiteral("Can't Save"));
        QVERIFY(shown[1].text.startsWith("Unable to save the database file.\r\n" + impossible));
        QCOMPARE(f.dialogs.requestsOf(Kind::SaveFile).size(), 2);
        QCOMPARE(f.dialogs.requestsOf(Kind::SaveFile)[1].file.proposedName, QString());
        QCOMPARE(namesIn(f.path("second.dat")), QStringList{"Alpha"});
    }

    void newAnsweredNoThenSaveAsksForAName()
    {
        WindowFixture f;
        writeCatalogue(f.path("games.dat"), {"Alpha"});
        frmMain &w = f.open();
        f.dialogs.files.enqueue(f.path("games.dat"));
        w.mnuFile[1]->trigger();
        f.dialogs.answers.enqueue(Answer::No);
        w.mnuFile[0]->trigger();
        QCOMPARE(
            describe(f.dialogs.messages().value(0)),
            describe({kSaveFirst, "New Database", MessageIcon::None, MessageButtons::YesNoCancel}));
        QVERIFY(!f.state.database.HasEntries());
        QCOMPARE(f.state.database.LastDatabase, f.path("games.dat"));
        QVERIFY(!w.mnuFile[2]->isEnabled());

        f.state.database.Add(named("Other"));
        w.RefillGameList();
        f.dialogs.files.enqueue(QString()); // cancelled: nothing is written
        w.mnuFile[2]->trigger();
        QCOMPARE(f.dialogs.requestsOf(Kind::SaveFile).size(), 1);
        QCOMPARE(namesIn(f.path("games.dat")), QStringList{"Alpha"});
    }

    void newAnsweredYesSavesThenEmpties()
    {
        WindowFixture f;
        writeCatalogue(f.path("games.dat"), {"Alpha"});
        frmMain &w = f.open();
        f.dialogs.files.enqueue(f.path("games.dat"));
        w.mnuFile[1]->trigger();
        f.state.database.Add(named("Beta"));
        w.RefillGameList();
        f.dialogs.answers.enqueue(Answer::Yes);
        w.mnuFile[0]->trigger();
        QCOMPARE(namesIn(f.path("games.dat")), (QStringList{"Alpha", "Beta"}));
        QVERIFY(!f.state.database.HasEntries());
        QCOMPARE(f.state.database.LastDatabase, QString());
        QCOMPARE(w.gameListModel()->rowCount(), 0);

        // Cancel changes nothing.
        f.state.database.Add(named("Gamma"));
        w.RefillGameList();
        f.dialogs.answers.enqueue(Answer::Cancel);
        w.mnuFile[0]->trigger();
        QCOMPARE(w.gameListModel()->rowCount(), 1);
    }

    void saveAsThenSaveWritesTheChosenName()
    {
        WindowFixture f;
        frmMain &w = f.open();
        f.state.database.Add(named("Alpha"));
        w.RefillGameList();
        f.dialogs.files.enqueue(f.path("mine.dat"));
        w.mnuFile[3]->trigger();
        f.state.database.Add(named("Beta"));
        w.RefillGameList();
        w.mnuFile[2]->trigger();
        QCOMPARE(f.dialogs.requestsOf(Kind::SaveFile).size(), 1);
        QCOMPARE(namesIn(f.path("mine.dat")), (QStringList{"Alpha", "Beta"}));
    }

    // A file that fails its checks is reported and the catalogue in memory is kept.
    void loadingARejectedFile()
    {
        WindowFixture f;
        writeFile(f.path("bad.dat"), "KIVO\x03\0\0\0");
        frmMain &w = f.open();
        f.state.database.Add(named("Alpha"));
        w.RefillGameList();
        f.dialogs.answers.enqueue(Answer::No);
        f.dialogs.files.enqueue(f.path("bad.dat"));
        w.mnuFile[1]->trigger();
        const QList<Message> shown = f.dialogs.messages();
        QCOMPARE(describe(shown.value(1)),
                 describe({"Unsupported file version\r\nFile not loaded", "Invalid Database",
                           MessageIcon::Critical, MessageButtons::Ok}));
        QCOMPARE(w.gameListModel()->rowCount(), 1);

        // A cancelled open dialog keeps it too.
        f.dialogs.answers.enqueue(Answer::No);
        f.dialogs.files.enqueue(QString());
        w.mnuFile[1]->trigger();
        QCOMPARE(w.gameListModel()->rowCount(), 1);
    }

    // A damaged file loads what it holds and says so once; it is not the catalogue's own file,
    // so neither Save nor the shutdown save writes over it without a name.
    void damagedCatalogueIsNotSavedOverWithoutAName()
    {
        WindowFixture f;
        RomDatabase database;
        for (const char *name : {"Alpha", "Beta", "Gamma"})
            database.Add(named(QLatin1String(name)));
        const QByteArray whole = serializeDatabase(database, 2);
        const QByteArray cut = whole.left(whole.size() - 10);
        writeFile(f.path("cut.dat"), cut);
        writeSettings(f.path("kivo.ini"), f.path("cut.dat"), 1);
        frmMain &w = f.open();
        QCOMPARE(w.gameListModel()->rowCount(), 3);
        QCOMPARE(describe(f.dialogs.messages().value(0)),
                 describe({"The database file is damaged: 3 entries could be read.\r\n" +
                               f.path("cut.dat"),
                           "Invalid Database", MessageIcon::Information, MessageButtons::Ok}));
        QCOMPARE(f.dialogs.messages().size(), 1);

        f.dialogs.files.enqueue(QString()); // Save: asks, proposing the file; cancelled
        w.mnuFile[2]->trigger();
        QCOMPARE(f.dialogs.requestsOf(Kind::SaveFile).value(0).file.proposedName,
                 f.path("cut.dat"));
        QCOMPARE(readFile(f.path("cut.dat")), cut);

        f.dialogs.answers.enqueue(Answer::Yes); // "Save Database?" at shutdown, then cancelled
        f.dialogs.files.enqueue(QString());
        f.close();
        QCOMPARE(f.dialogs.requestsOf(Kind::SaveFile).size(), 2);
        QCOMPARE(readFile(f.path("cut.dat")), cut);
    }

    // A FIFO would never finish reading: it is refused at once and the catalogue kept.
    void fifoChosenAsCatalogue()
    {
        WindowFixture f;
        const QString fifo = f.path("pipe.dat");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        frmMain &w = f.open();
        f.state.database.Add(named("Alpha"));
        w.RefillGameList();
        f.dialogs.answers.enqueue(Answer::No);
        f.dialogs.files.enqueue(fifo);
        w.mnuFile[1]->trigger();
        const Message shown = f.dialogs.messages().value(1);
        QCOMPARE(shown.title, QStringLiteral("Invalid Database"));
        QVERIFY(shown.text.startsWith("Unable to open the database file.\r\n" + fifo));
        QCOMPARE(w.gameListModel()->rowCount(), 1);
    }

    // A damaged file whose first slot is empty still lists its entries first, can be saved,
    // and is offered for saving at shutdown.
    void emptyFirstSlotLoadsEntriesFirst()
    {
        WindowFixture f;
        RomDatabase database;
        database.replaceSlots({RomRecord{}, named("Beta"), named("Gamma"), RomRecord{}});
        QByteArray bytes = serializeDatabase(database, 2);
        // As a damaged writer left it: an unnamed record before the named ones, count to match.
        const QByteArray unnamed =
            QByteArray(4, '\0') + QByteArray(4, '\0') + QByteArray(4 * 7, '\0');
        bytes.insert(12, unnamed);
        bytes[8] = 4;
        writeFile(f.path("hole.dat"), bytes);
        frmMain &w = f.open();
        f.dialogs.answers.enqueue(Answer::No);
        f.dialogs.files.enqueue(f.path("hole.dat"));
        w.mnuFile[1]->trigger();
        QCOMPARE(w.gameListModel()->rowCount(), 2);
        QCOMPARE(f.state.database.Get(0).RomName, QStringLiteral("Beta"));
        QVERIFY(w.mnuFile[2]->isEnabled());
        w.mnuFile[2]->trigger();
        QCOMPARE(namesIn(f.path("hole.dat")), (QStringList{"Beta", "Gamma"}));
        f.dialogs.answers.enqueue(Answer::No);
        f.close();
        QCOMPARE(f.dialogs.messages().last().text, QStringLiteral("Save Database?"));
    }

    // The count is part of the status bar, not a passing message a menu hover wipes out.
    void entryCountStaysInTheStatusBar()
    {
        QLocale::setDefault(QLocale::c());
        WindowFixture f;
        frmMain &w = f.open();
        QCOMPARE(w.lblEntries->text(), QStringLiteral("0 entries"));
        for (int i = 0; i < 1234; ++i)
            f.state.database.Add(named(QStringLiteral("G%1").arg(i)));
        w.RefillGameList();
        w.statBar->showMessage(QStringLiteral("a menu's tip"));
        w.statBar->clearMessage();
        QCOMPARE(w.lblEntries->text(), QStringLiteral("1,234 entries"));
        QVERIFY(w.lblEntries->isVisibleTo(&w));
        f.state.database.Reset();
        f.state.database.Add(named("One"));
        w.RefillGameList();
        QCOMPARE(w.lblEntries->text(), QStringLiteral("1 entry"));
    }

    // Shutdown closes the windows this main window opened, and no others.
    void shutdownClosesOnlyItsOwnWindows()
    {
        WindowFixture f;
        frmMain &w = f.open();
        w.show();
        auto *own = new QDialog(&w);
        own->show();
        QWidget stranger;
        stranger.show();
        f.close();
        QVERIFY(!own->isVisible());
        QVERIFY(stranger.isVisible());
    }

    // Each menu item opens its own dialog, modally over the main window.
    void menuItemsOpenTheirDialogs_data()
    {
        QTest::addColumn<int>("menu");
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("dialog");
        QTest::newRow("Misc > Import") << int(MenuArray::Misc) << 0 << "frmImpWiz";
        QTest::newRow("Misc > Paths") << int(MenuArray::Misc) << 3 << "frmPaths";
        QTest::newRow("Misc > Scan Folder") << int(MenuArray::Misc) << 7 << "frmScan";
        QTest::newRow("About") << int(MenuArray::Top) << 7 << "frmAbout";
        QTest::newRow("Roms > Add Rom") << int(MenuArray::Roms) << 0 << "frmProperties";
        QTest::newRow("context Add Rom") << int(MenuArray::Click) << 0 << "frmProperties";
    }
    void menuItemsOpenTheirDialogs()
    {
        QFETCH(int, menu);
        QFETCH(int, item);
        QFETCH(QString, dialog);
        WindowFixture f;
        frmMain &w = f.open();
        w.show();
        QString opened;
        QWidget *owner = nullptr;
        QTimer::singleShot(0, &w, [&] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                opened = modal->objectName();
                owner = modal->parentWidget();
                modal->close();
            }
        });
        w[MenuArray(menu)].at(item)->trigger();
        QCOMPARE(opened, dialog);
        QCOMPARE(owner, &w);
    }

    // Add Rom and Properties... from the Roms menu and the list's context menu: the dialog opens
    // over the window, and the list row and the details show the change at once.
    void propertiesFromBothMenus_data()
    {
        QTest::addColumn<int>("menu");
        QTest::addColumn<int>("add");
        QTest::addColumn<int>("properties");
        QTest::newRow("Roms menu") << int(MenuArray::Roms) << 0 << 4;
        QTest::newRow("context menu") << int(MenuArray::Click) << 0 << 8;
    }
    void propertiesFromBothMenus()
    {
        QFETCH(int, menu);
        QFETCH(int, add);
        QFETCH(int, properties);
        WindowFixture f;
        writeCatalogue(f.path("games.dat"), {"Alpha", "Beta"});
        writeSettings(f.path("kivo.ini"), f.path("games.dat"), 1);
        frmMain &w = f.open();
        f.state.layout.ViewMode = 1;
        w.show();
        QAbstractItemModel *model = w.gameListModel();
        const auto rowText = [&](int row, int column) {
            return model->index(row, column).data().toString();
        };

        // Nothing selected: Properties... opens nothing.
        bool opened = false;
        QTimer::singleShot(0, &w, [&] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                opened = true;
                modal->close();
            }
        });
        w[MenuArray(menu)].at(properties)->trigger();
        QApplication::processEvents(); // the check runs here when nothing was opened
        QVERIFY(!opened);

        w.lstGames->setCurrentIndex(model->index(1, 0));
        QCOMPARE(f.state.database.SelectedIndex, 1);
        QWidget *owner = nullptr;
        QTimer::singleShot(0, &w, [&] {
            auto *dialog = qobject_cast<frmProperties *>(QApplication::activeModalWidget());
            if (dialog == nullptr)
                return;
            owner = dialog->parentWidget();
            QCOMPARE(dialog->detailsTab->txtGameName->text(), QStringLiteral("Beta"));
            dialog->detailsTab->txtGameName->setText(QStringLiteral("Beta Edited"));
            dialog->detailsTab->txtPublisher->setText(QStringLiteral("Ultimate"));
            dialog->detailsTab->txtYear->setText(QStringLiteral("1984"));
            dialog->filesTab->txtRom->setText(QStringLiteral("beta.z80"));
            QTest::mouseClick(dialog->cmdOK, Qt::LeftButton);
        });
        w[MenuArray(menu)].at(properties)->trigger();
        QCOMPARE(owner, &w);
        QCOMPARE(rowText(1, 0), QStringLiteral("Beta Edited"));
        QCOMPARE(rowText(1, 1), QStringLiteral("Ultimate"));
        QCOMPARE(rowText(1, 2), QStringLiteral("1984"));
        // The icon follows the new rom file, as a full refill would draw it.
        const RomFileIndex romFiles;
        GameListModel fresh(f.state.database, romFiles);
        fresh.refill();
        const auto iconImage = [](const QModelIndex &index) {
            return index.data(Qt::DecorationRole).value<QIcon>().pixmap(16).toImage();
        };
        QCOMPARE(iconImage(model->index(1, 0)), iconImage(fresh.index(1, 0)));
        QVERIFY(iconImage(model->index(1, 0)) != iconImage(model->index(0, 0)));
        QVERIFY2(w.infoText().startsWith(QStringLiteral(
                     "Rom Name: Beta Edited\r\nPublisher: Ultimate\r\nYear: 1984\r\n")),
                 qPrintable(w.infoText()));

        QTimer::singleShot(0, &w, [&] {
            auto *dialog = qobject_cast<frmProperties *>(QApplication::activeModalWidget());
            if (dialog == nullptr)
                return;
            QVERIFY(dialog->boolAdding);
            QVERIFY(dialog->detailsTab->txtGameName->text().isEmpty());
            dialog->detailsTab->txtGameName->setText(QStringLiteral("Gamma"));
            QTest::mouseClick(dialog->cmdOK, Qt::LeftButton);
        });
        w[MenuArray(menu)].at(add)->trigger();
        QCOMPARE(model->rowCount(), 3);
        QCOMPARE(rowText(2, 0), QStringLiteral("Gamma"));
        QCOMPARE(f.state.database.SelectedIndex, 1);
        QCOMPARE(w.lblEntries->text(), QStringLiteral("3 entries"));
    }

    void loadLastDatabaseToggle()
    {
        WindowFixture f;
        frmMain &w = f.open();
        QCOMPARE(f.state.LoadLastDatabase, 0);
        w.mnuMisc[5]->trigger();
        QVERIFY(w.mnuMisc[5]->isChecked());
        QCOMPARE(f.state.LoadLastDatabase, 1);
        w.mnuMisc[5]->trigger();
        QCOMPARE(f.state.LoadLastDatabase, 0);
    }

    // Files dropped on the list name their entries; names Windows-1252 cannot hold would be
    // saved with "?" in them, and the status bar says how many entries that is.
    void droppedNamesOutsideTheCodePage()
    {
        WindowFixture f;
        for (const char *name : {"Café.tap", "Łódź.tap", "東京.tzx"})
            touch(f.path(QStringLiteral("drop/") + QString::fromUtf8(name)));
        frmMain &w = f.open();
        w.show();
        w.lstGames_OLEDragDrop({f.path("drop/Café.tap")});
        QCOMPARE(w.statBar->currentMessage(), QString());
        w.lstGames_OLEDragDrop(
            {f.path("drop/Café.tap"), f.path("drop/Łódź.tap"), f.path("drop/東京.tzx")});
        QCOMPARE(f.state.database.EntryCount(), 4);
        QCOMPARE(w.statBar->currentMessage(),
                 QStringLiteral("Entries named with characters the catalogue file cannot keep: 2. "
                                "Those characters will be saved as \"?\"."));
    }
};

QTEST_MAIN(TestFrmMain)
#include "tst_frmMain.moc"
