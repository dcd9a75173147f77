// The import wizard through its widgets over the real main window, with scripted dialogs and a
// temporary directory of hand-built files; and Misc > Export.
#include "../../interchange/InterchangeFiles.h"
#include "TestSupport.h"
#include "WindowFixture.h"

#include "core/DatFile.h"
#include "interchange/PocketDatabase.h"
#include "ui/common/DirectoryChooser.h"
#include "ui/import/frmImpWiz.h"
#include "ui/list/GameListModel.h"
#include "ui/list/GameListProxy.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTimer>
#include <QTreeView>

#include <memory>

using namespace testsupport;
using interchangefiles::entry;
using interchangefiles::names;
using interchangefiles::sgdRecord;
using Kind = ScriptedDialogs::Kind;

namespace {

constexpr int kSgd = 0;
constexpr int kOwn = 1;
constexpr int kPocket = 2;

const QString kDatabaseFilterText = QStringLiteral("Kivo data file (*.dat)|*.dat");
const QString kPocketFilterText = QStringLiteral("Kivo PPC data file (*.kvl)|*.kvl");

RomDatabase catalogueOf(const QStringList &entryNames)
{
    RomDatabase database;
    for (const QString &name : entryNames)
        database.Add(entry(name));
    return database;
}

// A file of `kind` holding the named entries: an SGD data file (the last record never becomes an
// entry), our own catalogue as core writes it, a pocket file as the export writes it.
void writeSource(int kind, const QString &path, const QStringList &entryNames)
{
    switch (kind) {
    case kSgd: {
        QByteArray bytes;
        for (const QString &name : entryNames)
            bytes += sgdRecord(name.toLatin1(), "1984 ", "Pub", name.toLatin1() + ".TAP", "arc");
        writeFile(path, bytes + sgdRecord("never an entry"));
        break;
    }
    case kOwn:
        QVERIFY(SaveDatabase(catalogueOf(entryNames), path).ok);
        break;
    case kPocket:
        QVERIFY(ExportPocketDatabase(catalogueOf(entryNames), path).ok);
        break;
    }
}

QString extensionOf(int kind)
{
    return kind == kPocket ? QStringLiteral(".kvl") : QStringLiteral(".dat");
}

QStringList rowTexts(const QListWidget *list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts.append(list->item(row)->text());
    return texts;
}

// Option buttons and check boxes react to clicks on their mark or text only, not across the
// width a layout gives them.
void clickOption(QAbstractButton *option)
{
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
}

// The real main window, a source directory beside it, and the wizard over both.
struct Fixture
{
    WindowFixture f;
    QTemporaryDir sources;
    frmMain *w = nullptr;
    std::unique_ptr<frmImpWiz> wizard;

    Fixture()
    {
        w = &f.open();
        w->show();
    }

    QString source(const QString &name) const { return sources.filePath(name); }

    void setCatalogue(const QStringList &entryNames)
    {
        f.state.database = catalogueOf(entryNames);
        w->RefillGameList();
    }

    frmImpWiz &open()
    {
        wizard = std::make_unique<frmImpWiz>(f.state, f.dialogs, *w, w);
        wizard->show();
        wizard->activateWindow();
        if (!QTest::qWaitForWindowActive(wizard.get()))
            qWarning("wizard not active");
        return *wizard;
    }

    // Page 0 to page 1 with `kind` picked, the chooser opened on `directory`.
    void toDirectoryPage(int kind, const QString &directory)
    {
        clickOption(wizard->optDatabaseType[kind]);
        QTest::mouseClick(wizard->cmdNext, Qt::LeftButton);
        QVERIFY(wizard->chooser->start(directory));
    }

    // On to the files page, then the listed files whose names are given are clicked.
    void toFilesPage(int kind, const QStringList &files)
    {
        toDirectoryPage(kind, sources.path());
        QVERIFY(wizard->cmdNext->isEnabled());
        QTest::mouseClick(wizard->cmdNext, Qt::LeftButton);
        QCOMPARE(wizard->Page(), 2);
        for (const QString &file : files)
            clickFile(file);
    }

    void clickFile(const QString &file)
    {
        QListWidget *list = wizard->lstFiles;
        for (int row = 0; row < list->count(); ++row) {
            if (!list->item(row)->text().startsWith(file + " ["))
                continue;
            const QRect rect = list->visualItemRect(list->item(row));
            QVERIFY(rect.isValid());
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
            return;
        }
        QFAIL(qPrintable("not listed: " + file));
    }

    // All the way to the last page with Merge (0) or Overwrite (1) chosen.
    void toFinalPage(int kind, const QStringList &files, int finalChoice)
    {
        toFilesPage(kind, files);
        QTest::mouseClick(wizard->cmdNext, Qt::LeftButton);
        QCOMPARE(wizard->Page(), 3);
        clickOption(wizard->optFinal[finalChoice]);
        QVERIFY(wizard->optFinal[finalChoice]->isChecked());
    }

    void done() { QTest::mouseClick(wizard->cmdNext, Qt::LeftButton); }
};

// Which frame is shown, as the page number; -1 when not exactly one is.
int shownFrame(const frmImpWiz &wizard)
{
    int shown = -1;
    for (int page = 0; page < wizard.fraMain.size(); ++page) {
        if (wizard.fraMain[page]->isVisible()) {
            if (shown >= 0)
                return -1;
            shown = page;
        }
    }
    return shown;
}

} // namespace

class TestFrmImpWiz : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Catches a wrong caption, a page showing another's frame and Back or Next in a wrong state.
    void pagesCaptionsAndButtons()
    {
        Fixture x;
        writeSource(kOwn, x.source("mine.dat"), {"A"});
        frmImpWiz &wiz = x.open();
        QCOMPARE(wiz.objectName(), QStringLiteral("frmImpWiz"));
        QCOMPARE(wiz.Page(), 0);
        QCOMPARE(shownFrame(wiz), 0);
        QCOMPARE(wiz.windowTitle(), QStringLiteral("Import"));
        QCOMPARE(wiz.fraMain[0]->title(), QStringLiteral("Select Database Type"));
        QCOMPARE(wiz.optDatabaseType[0]->text(), QStringLiteral("SGD (Spectrum Games Database)"));
        QCOMPARE(wiz.optDatabaseType[1]->text(), QStringLiteral("Kivo database"));
        QCOMPARE(wiz.optDatabaseType[2]->text(), QStringLiteral("Kivo ppc database"));
        QVERIFY(wiz.optDatabaseType[0]->isChecked());
        QVERIFY(!wiz.cmdBack->isVisible());
        QVERIFY(wiz.cmdNext->isEnabled());
        QCOMPARE(wiz.cmdNext->text(), QStringLiteral("&Next"));
        QCOMPARE(wiz.cmdCancel->text(), QStringLiteral("&Cancel"));

        x.toDirectoryPage(kOwn, x.sources.path());
        QCOMPARE(wiz.Page(), 1);
        QCOMPARE(shownFrame(wiz), 1);
        QVERIFY(wiz.Drive1->isVisible() && wiz.Dir1->isVisible());
        QVERIFY(wiz.cmdBack->isVisible());
        QCOMPARE(wiz.cmdBack->text(), QStringLiteral("&Back"));
        QCOMPARE(wiz.cmdNext->text(), QStringLiteral("&Next"));

        QTest::mouseClick(wiz.cmdNext, Qt::LeftButton);
        QCOMPARE(shownFrame(wiz), 2);
        QCOMPARE(wiz.SourceDirectory(), x.sources.path() + "/");
        QCOMPARE(wiz.fraMain[2]->title(), QStringLiteral("Select Files"));
        QCOMPARE(wiz.lblFiles->text(), QStringLiteral("Select the files to import"));
        QCOMPARE(wiz.lstFiles->selectionMode(), QAbstractItemView::MultiSelection);
        QVERIFY(!wiz.cmdNext->isEnabled());
        x.clickFile("mine.dat");

        QTest::mouseClick(wiz.cmdNext, Qt::LeftButton);
        QCOMPARE(shownFrame(wiz), 3);
        QCOMPARE(wiz.fraMain[3]->title(), QStringLiteral("Final Options"));
        QCOMPARE(wiz.optFinal[0]->text(), QStringLiteral("Merge with Current DB"));
        QCOMPARE(wiz.optFinal[1]->text(), QStringLiteral("Overwrite Current DB"));
        QCOMPARE(wiz.chkSaveDB->text(), QStringLiteral("Save current DB before overwriting"));
        QCOMPARE(wiz.cmdNext->text(), QStringLiteral("&Done"));
        QVERIFY(wiz.cmdNext->isEnabled());
        QVERIFY(wiz.cmdBack->isVisible());

        // Back walks down one page at a time and "Done" becomes "Next" again.
        for (int page = 2; page >= 0; --page) {
            QTest::mouseClick(wiz.cmdBack, Qt::LeftButton);
            QCOMPARE(wiz.Page(), page);
            QCOMPARE(shownFrame(wiz), page);
            QCOMPARE(wiz.cmdNext->text(), QStringLiteral("&Next"));
        }
        QCOMPARE(wiz.windowTitle(), QStringLiteral("Import"));
        QVERIFY(x.f.dialogs.requests.isEmpty());
    }

    void directoryPageCaptions_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("frame");
        QTest::newRow("SGD") << kSgd << "Import SGD database(s)"
                             << "Select SGD Directory";
        QTest::newRow("own") << kOwn << "Import Kivo database(s)"
                             << "Select Directory";
        QTest::newRow("pocket") << kPocket << "Import Kivo ppc database(s)"
                                << "Select Directory";
    }
    // Catches captions that do not follow the kind, also after going back and choosing again.
    void directoryPageCaptions()
    {
        QFETCH(int, kind);
        Fixture x;
        frmImpWiz &wiz = x.open();
        x.toDirectoryPage((kind + 1) % 3, x.sources.path());
        QTest::mouseClick(wiz.cmdBack, Qt::LeftButton);
        x.toDirectoryPage(kind, x.sources.path());
        QCOMPARE(int(wiz.SourceKind()), kind);
        QTEST(wiz.windowTitle(), "window");
        QTEST(wiz.fraMain[1]->title(), "frame");
    }

    void directoryTest_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("fits");
        // .dat files alone are no SGD installation.
        QTest::newRow("SGD with sgd.ini") << kSgd << QStringList{"sgd.ini", "GAMES.DAT"} << true;
        QTest::newRow("SGD without sgd.ini")
            << kSgd << QStringList{"GAMES.DAT", "MORE.dat"} << false;
        QTest::newRow("own") << kOwn << QStringList{"mine.DAT"} << true;
        QTest::newRow("own, only .kvl") << kOwn << QStringList{"mine.kvl"} << false;
        QTest::newRow("pocket") << kPocket << QStringList{"mine.kvl"} << true;
        QTest::newRow("pocket, only .dat") << kPocket << QStringList{"mine.dat"} << false;
    }
    // Catches Next enabled for a directory that holds nothing to import, and a test that is not
    // run again when another directory is opened.
    void directoryTest()
    {
        QFETCH(int, kind);
        QFETCH(QStringList, files);
        QFETCH(bool, fits);
        Fixture x;
        const QString full = x.source("full");
        const QString empty = x.source("empty");
        QDir().mkpath(empty);
        for (const QString &file : files)
            touch(full + "/" + file);
        frmImpWiz &wiz = x.open();
        x.toDirectoryPage(kind, full);
        QCOMPARE(wiz.cmdNext->isEnabled(), fits);
        QCOMPARE(wiz.lblDirectoryNote->text().isEmpty(), fits);
        QVERIFY(wiz.chooser->start(empty));
        QVERIFY(!wiz.cmdNext->isEnabled());
        QVERIFY(!wiz.lblDirectoryNote->text().isEmpty());
        QVERIFY(wiz.chooser->start(full));
        QCOMPARE(wiz.cmdNext->isEnabled(), fits);
    }

    // Catches the test not following a directory opened in the tree itself.
    void directoryOpenedInTheTree()
    {
        Fixture x;
        QVERIFY(QDir().mkpath(x.source("inner")));
        writeSource(kPocket, x.source("inner/games.kvl"), {"A"});
        frmImpWiz &wiz = x.open();
        x.toDirectoryPage(kPocket, x.sources.path());
        QVERIFY(!wiz.cmdNext->isEnabled());
        const auto *model = qobject_cast<const QFileSystemModel *>(wiz.Dir1->model());
        QVERIFY(model);
        const QModelIndex inner = model->index(x.source("inner"));
        QTRY_VERIFY(wiz.Dir1->visualRect(inner).isValid());
        QTest::mouseClick(wiz.Dir1->viewport(), Qt::LeftButton, {},
                          wiz.Dir1->visualRect(inner).center());
        QCOMPARE(wiz.chooser->path(), x.sources.path()); // highlighted is not opened
        QTest::mouseDClick(wiz.Dir1->viewport(), Qt::LeftButton, {},
                           wiz.Dir1->visualRect(inner).center());
        QCOMPARE(wiz.chooser->path(), x.source("inner"));
        QVERIFY(wiz.cmdNext->isEnabled());
        QTest::mouseClick(wiz.cmdNext, Qt::LeftButton);
        QCOMPARE(rowTexts(wiz.lstFiles), QStringList{"games.kvl [1]"});
    }

    // Catches a drive that cannot be read ending the wizard or leaving it on that drive.
    void unreadableDrive()
    {
        Fixture x;
        writeSource(kOwn, x.source("mine.dat"), {"A"});
        frmImpWiz &wiz = x.open();
        x.toDirectoryPage(kOwn, x.sources.path());
        wiz.chooser->setDrives({x.sources.path(), x.source("gone")});
        wiz.Drive1->setCurrentIndex(1);
        QCOMPARE(x.f.dialogs.messages().value(0).title, QStringLiteral("Drive Error"));
        QCOMPARE(x.f.dialogs.messages().value(0).icon, MessageIcon::Critical);
        QCOMPARE(wiz.chooser->path(), x.sources.path());
        QVERIFY(wiz.isVisible());
        QVERIFY(wiz.cmdNext->isEnabled());
    }

    // Catches a wrong count, a name with blanks not found again, and Next enabled without a
    // file or left enabled once the last one is dropped.
    void filesPage()
    {
        Fixture x;
        writeSource(kOwn, x.source("ten.dat"), {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"});
        writeSource(kOwn, x.source("My Old Games.dat"), {"Blank", "Names"});
        writeSource(kSgd, x.source("theirs.dat"), {"X"}); // not ours: not listed
        frmImpWiz &wiz = x.open();
        x.toFilesPage(kOwn, {});
        QStringList texts = rowTexts(wiz.lstFiles);
        texts.sort();
        QCOMPARE(texts, (QStringList{"My Old Games.dat [2]", "ten.dat [10]"}));
        QVERIFY(!wiz.cmdNext->isEnabled());
        x.clickFile("ten.dat");
        QVERIFY(wiz.cmdNext->isEnabled());
        x.clickFile("My Old Games.dat");
        x.clickFile("ten.dat");
        QVERIFY(wiz.cmdNext->isEnabled());
        x.clickFile("My Old Games.dat");
        QVERIFY(!wiz.cmdNext->isEnabled());

        x.clickFile("My Old Games.dat");
        QTest::mouseClick(wiz.cmdNext, Qt::LeftButton);
        x.done();
        QCOMPARE(names(x.f.state.database), (QStringList{"Blank", "Names"}));
        QVERIFY(x.f.dialogs.messages().isEmpty());
    }

    // Catches files chosen before going to the last page lost on the way back.
    void backFromTheLastPageKeepsTheFiles()
    {
        Fixture x;
        writeSource(kPocket, x.source("a.kvl"), {"A"});
        writeSource(kPocket, x.source("b.kvl"), {"B"});
        frmImpWiz &wiz = x.open();
        x.toFinalPage(kPocket, {"b.kvl"}, 0);
        QTest::mouseClick(wiz.cmdBack, Qt::LeftButton);
        QCOMPARE(wiz.lstFiles->selectedItems().size(), 1);
        QCOMPARE(wiz.lstFiles->selectedItems().first()->text(), QStringLiteral("b.kvl [1]"));
        QVERIFY(wiz.cmdNext->isEnabled());
    }

    void overwriteKeepsEveryFile_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("SGD") << kSgd;
        QTest::newRow("own") << kOwn;
        QTest::newRow("pocket") << kPocket;
    }
    // Catches every file of an overwrite replacing the one before, files read out of list
    // order, and an old selection or file binding surviving the replaced catalogue.
    void overwriteKeepsEveryFile()
    {
        QFETCH(int, kind);
        Fixture x;
        if (kind == kSgd)
            writeFile(x.source("sgd.ini"), "GameDir=C:\\GAMES\r\n");
        for (const QString &name : QStringList{"one", "two", "three"})
            writeSource(kind, x.source(name + extensionOf(kind)), {name + "-a", name + "-b"});
        x.f.state.layout.ViewMode = 1;
        x.setCatalogue({"Old"});
        x.w->ArrangePanes();
        x.f.state.database.LastDatabase = x.f.path("old.dat");
        x.f.state.boundDatabase.bind(x.f.path("old.dat"));
        x.f.state.database.SelectedIndex = 0;
        x.w->lstClick();
        QVERIFY(!x.w->infoText().isEmpty());
        frmImpWiz &wiz = x.open();
        x.toFilesPage(kind, {"one" + extensionOf(kind), "two" + extensionOf(kind),
                             "three" + extensionOf(kind)});
        QTest::mouseClick(wiz.cmdNext, Qt::LeftButton);
        clickOption(wiz.optFinal[1]);
        QVERIFY(wiz.chkSaveDB->isEnabled());
        clickOption(wiz.chkSaveDB);
        QVERIFY(!wiz.chkSaveDB->isChecked());
        x.done();

        QStringList expected;
        for (const QString &row : rowTexts(wiz.lstFiles)) {
            const QString file = row.left(row.indexOf('.'));
            expected << file + "-a" << file + "-b";
        }
        QCOMPARE(names(x.f.state.database), expected);
        QCOMPARE(x.f.state.database.SelectedIndex, -99);
        QCOMPARE(x.f.state.database.LastDatabase, x.f.path("old.dat"));
        QVERIFY(!x.f.state.boundDatabase.isBound());
        QVERIFY(x.w->infoText().isEmpty());
        QCOMPARE(x.w->gameListModel()->rowCount(), 6);
        QVERIFY(x.f.dialogs.requests.isEmpty());
        if (kind == kSgd)
            QVERIFY(x.f.state.paths.HasSearchPath(PathKind::Rom, "C:\\GAMES\\"));
    }

    // Catches the save-first box offered (or the catalogue emptied) by a merge.
    void mergeNeverEmpties()
    {
        Fixture x;
        writeSource(kPocket, x.source("new.kvl"), {"New"});
        x.setCatalogue({"Old"});
        frmImpWiz &wiz = x.open();
        x.toFinalPage(kPocket, {"new.kvl"}, 1);
        QVERIFY(wiz.chkSaveDB->isEnabled());
        QVERIFY(wiz.chkSaveDB->isChecked());
        clickOption(wiz.optFinal[0]);
        QVERIFY(!wiz.chkSaveDB->isEnabled());
        x.done();
        QCOMPARE(names(x.f.state.database), (QStringList{"Old", "New"}));
        QVERIFY(x.f.dialogs.requests.isEmpty());
    }

    void saveFirstEnabled_data()
    {
        QTest::addColumn<QStringList>("catalogue");
        QTest::addColumn<int>("choice");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("merge") << QStringList{"Old"} << 0 << false;
        QTest::newRow("overwrite") << QStringList{"Old"} << 1 << true;
        QTest::newRow("overwrite, nothing to lose") << QStringList{} << 1 << false;
    }
    // Catches chkSaveDB offered where there is nothing to save or nothing replaced.
    void saveFirstEnabled()
    {
        QFETCH(QStringList, catalogue);
        QFETCH(int, choice);
        Fixture x;
        writeSource(kPocket, x.source("new.kvl"), {"New"});
        x.setCatalogue(catalogue);
        frmImpWiz &wiz = x.open();
        x.toFinalPage(kPocket, {"new.kvl"}, 1 - choice);
        clickOption(wiz.optFinal[choice]);
        QTEST(wiz.chkSaveDB->isEnabled(), "enabled");
    }

    // Catches a second Done over a catalogue that now has entries not offering to save them.
    void secondOverwriteOffersToSave()
    {
        Fixture x;
        writeSource(kPocket, x.source("new.kvl"), {"New"});
        frmImpWiz &wiz = x.open();
        x.toFinalPage(kPocket, {"new.kvl"}, 1);
        QVERIFY(!wiz.chkSaveDB->isEnabled());
        x.done();
        QVERIFY(wiz.chkSaveDB->isEnabled());
        x.f.dialogs.files.enqueue(x.source("kept.dat"));
        x.done();
        QCOMPARE(names(x.f.state.database), QStringList{"New"});
        QCOMPARE(interchangefiles::names([&] {
                     RomDatabase saved;
                     SearchPaths paths;
                     LoadDatabase(saved, paths, x.source("kept.dat"));
                     return saved;
                 }()),
                 QStringList{"New"});
    }

    void saveFirst_data()
    {
        QTest::addColumn<QString>("chosen"); // relative to the sources; "" for cancelled
        QTest::addColumn<bool>("imported");
        QTest::addColumn<bool>("saved");
        QTest::newRow("saved") << "kept.dat" << true << true;
        // A cancelled dialog saves nothing and the import goes on.
        QTest::newRow("cancelled") << "" << true << false;
        // A save that fails must not cost the catalogue: nothing is replaced.
        QTest::newRow("failing save") << "missing/dir/kept.dat" << false << false;
    }
    void saveFirst()
    {
        QFETCH(QString, chosen);
        QFETCH(bool, imported);
        QFETCH(bool, saved);
        Fixture x;
        writeSource(kPocket, x.source("new.kvl"), {"New"});
        x.setCatalogue({"Old", "Older"});
        const QString last = x.f.path("old.dat");
        x.f.state.database.LastDatabase = last;
        x.f.state.boundDatabase.bind(last);
        frmImpWiz &wiz = x.open();
        x.toFinalPage(kPocket, {"new.kvl"}, 1);
        QSignalSpy resets(x.w->gameListModel(), &QAbstractItemModel::modelReset);
        const QString path = chosen.isEmpty() ? QString() : x.source(chosen);
        x.f.dialogs.files.enqueue(path);
        x.done();

        const auto saves = x.f.dialogs.requestsOf(Kind::SaveFile);
        QCOMPARE(saves.size(), 1);
        QCOMPARE(saves.first().file.filter, kDatabaseFilterText);
        QCOMPARE(saves.first().file.proposedName, last);
        QCOMPARE(wiz.Page(), 3);
        QCOMPARE(names(x.f.state.database),
                 imported ? QStringList{"New"} : (QStringList{"Old", "Older"}));
        QCOMPARE(resets.size(), imported ? 1 : 0);
        QCOMPARE(QFileInfo::exists(path), saved);
        if (saved) {
            QCOMPARE(x.f.state.database.LastDatabase, QString());
            RomDatabase kept;
            SearchPaths paths;
            QVERIFY(LoadDatabase(kept, paths, path).ok);
            QCOMPARE(names(kept), (QStringList{"Old", "Older"}));
        } else {
            QCOMPARE(x.f.state.database.LastDatabase, last);
        }
        // Whatever replaced the catalogue unbinds it from its file; a failed save changed nothing.
        QCOMPARE(x.f.state.boundDatabase.path(), imported ? QString() : last);
        const QList<Message> shown = x.f.dialogs.messages();
        if (imported) {
            QVERIFY(shown.isEmpty());
        } else {
            QCOMPARE(shown.size(), 1);
            QCOMPARE(shown.first().icon, MessageIcon::Critical);
            QVERIFY(shown.first().text.contains(path));
        }
    }

    // Catches Save writing the opened file without asking after an overwrite replaced its
    // catalogue, and asking after a merge into it.
    void saveAfterImport_data()
    {
        QTest::addColumn<int>("choice");
        QTest::addColumn<bool>("asks");
        QTest::newRow("merge") << 0 << false;
        QTest::newRow("overwrite") << 1 << true;
    }
    void saveAfterImport()
    {
        QFETCH(int, choice);
        QFETCH(bool, asks);
        Fixture x;
        writeSource(kPocket, x.source("new.kvl"), {"New"});
        const QString opened = x.f.path("opened.dat");
        QVERIFY(SaveDatabase(catalogueOf({"Mine"}), opened).ok);
        x.f.dialogs.files.enqueue(opened);
        x.w->mnuFile[1]->trigger(); // File > Load
        QCOMPARE(x.f.state.boundDatabase.path(), opened);
        frmImpWiz &wiz = x.open();
        x.toFinalPage(kPocket, {"new.kvl"}, choice);
        if (wiz.chkSaveDB->isChecked())
            clickOption(wiz.chkSaveDB);
        x.done();
        wiz.close();

        x.f.dialogs.requests.clear();
        x.f.dialogs.files.enqueue(x.f.path("other.dat"));
        x.w->mnuFile[2]->trigger(); // File > Save
        const auto saves = x.f.dialogs.requestsOf(Kind::SaveFile);
        QCOMPARE(saves.size(), asks ? 1 : 0);
        if (asks) {
            QCOMPARE(saves.first().file.proposedName, opened);
            QCOMPARE(interchangefiles::names([&] {
                         RomDatabase onDisk;
                         SearchPaths paths;
                         LoadDatabase(onDisk, paths, opened);
                         return onDisk;
                     }()),
                     QStringList{"Mine"});
        } else {
            RomDatabase onDisk;
            SearchPaths paths;
            QVERIFY(LoadDatabase(onDisk, paths, opened).ok);
            QCOMPARE(names(onDisk), (QStringList{"Mine", "New"}));
        }
    }

    // Catches Next left disabled on page 0 by the directory page.
    void backToPageZeroKeepsNextEnabled()
    {
        Fixture x;
        frmImpWiz &wiz = x.open();
        x.toDirectoryPage(kSgd, x.sources.path());
        QVERIFY(!wiz.cmdNext->isEnabled());
        QTest::mouseClick(wiz.cmdBack, Qt::LeftButton);
        QCOMPARE(wiz.Page(), 0);
        QVERIFY(wiz.cmdNext->isEnabled());
        QVERIFY(!wiz.cmdBack->isVisible());
    }

    // Catches Done closing the wizard or not importing again, a refill per record or none, and a
    // status bar that does not say what was added.
    void doneTwiceWithMergeImportsTwice()
    {
        Fixture x;
        writeFile(x.source("sgd.ini"), "");
        writeSource(kSgd, x.source("GAMES.DAT"), {"Alpha", "Beta"});
        x.setCatalogue({"Old"});
        frmImpWiz &wiz = x.open();
        x.toFinalPage(kSgd, {"GAMES.DAT"}, 0);
        QSignalSpy resets(x.w->gameListModel(), &QAbstractItemModel::modelReset);
        x.done();
        QCOMPARE(resets.size(), 1);
        QCOMPARE(x.w->statBar->currentMessage(), QStringLiteral("2 entries added, 0 skipped"));
        QCOMPARE(wiz.lblResult->text(), QStringLiteral("2 entries added, 0 skipped"));
        QVERIFY(wiz.isVisible());
        QCOMPARE(wiz.Page(), 3);
        x.done();
        QCOMPARE(resets.size(), 2);
        QCOMPARE(names(x.f.state.database), (QStringList{"Old", "Alpha", "Beta", "Alpha", "Beta"}));
        QCOMPARE(x.w->gameListModel()->rowCount(), 5);
        QCOMPARE(x.w->lblEntries->text(), QStringLiteral("5 entries"));
    }

    // Catches the selected entry's details not redrawn after a merge kept it selected.
    void mergeKeepsTheSelection()
    {
        Fixture x;
        writeSource(kPocket, x.source("new.kvl"), {"New"});
        x.f.state.layout.ViewMode = 1;
        x.setCatalogue({"Old"});
        x.w->ArrangePanes();
        x.f.state.database.SelectedIndex = 0;
        x.w->lstClick();
        QVERIFY(x.w->infoText().startsWith("Rom Name: Old\r\n"));
        x.open();
        x.toFinalPage(kPocket, {"new.kvl"}, 0);
        x.done();
        QCOMPARE(x.f.state.database.SelectedIndex, 0);
        QVERIFY(x.w->infoText().startsWith("Rom Name: Old\r\n"));
    }

    // Catches messages of a rejected file swallowed, and a vanished file reported.
    void importMessages()
    {
        Fixture x;
        writeFile(x.source("future.dat"),
                  QByteArray("KIVO\x03\0\0\0\x02\0\0\0", 12) + QByteArray(64, '\0'));
        writeSource(kOwn, x.source("gone.dat"), {"Gone"});
        writeSource(kOwn, x.source("fine.dat"), {"Fine"});
        frmImpWiz &wiz = x.open();
        x.toFinalPage(kOwn, {"future.dat", "gone.dat", "fine.dat"}, 0);
        QVERIFY(QFile::remove(x.source("gone.dat")));
        x.done();
        const QList<Message> shown = x.f.dialogs.messages();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().title, QStringLiteral("Invalid Database"));
        QCOMPARE(shown.first().icon, MessageIcon::Critical);
        QVERIFY(shown.first().text.startsWith("Unsupported file version"));
        QCOMPARE(names(x.f.state.database), QStringList{"Fine"});
        QCOMPARE(wiz.lblResult->text(), QStringLiteral("1 entry added, 0 skipped"));
    }

    // Catches an import without the busy pointer, a pointer left busy afterwards, and a bar that
    // never reaches its end.
    void busyPointerAndProgress()
    {
        Fixture x;
        writeSource(kPocket, x.source("a.kvl"), {"A"});
        writeSource(kPocket, x.source("b.kvl"), {"B"});
        frmImpWiz &wiz = x.open();
        x.toFinalPage(kPocket, {"a.kvl", "b.kvl"}, 0);
        QList<int> values;
        int busy = 0;
        connect(wiz.barProgress, &QProgressBar::valueChanged, &wiz, [&](int value) {
            values.append(value);
            const QCursor *cursor = QApplication::overrideCursor();
            busy += cursor && cursor->shape() == Qt::WaitCursor ? 1 : 0;
        });
        x.done();
        QVERIFY(!values.isEmpty());
        QCOMPARE(busy, values.size());
        QCOMPARE(values.last(), wiz.barProgress->maximum());
        QVERIFY(std::is_sorted(values.begin(), values.end()));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    // Catches Enter not pressing Next (or Done), Enter pressing a disabled Next, and Escape not
    // cancelling.
    void keyboard()
    {
        Fixture x;
        writeSource(kPocket, x.source("a.kvl"), {"A"});
        frmImpWiz &wiz = x.open();
        QCOMPARE(QApplication::focusWidget(), wiz.optDatabaseType[kSgd]);
        QTest::keyClick(wiz.optDatabaseType[kSgd], Qt::Key_Down);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QVERIFY(wiz.optDatabaseType[kPocket]->isChecked());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(wiz.Page(), 1);
        QCOMPARE(int(wiz.SourceKind()), kPocket);
        QVERIFY(wiz.chooser->start(x.sources.path()));
        QTest::mouseClick(wiz.cmdNext, Qt::LeftButton);
        QCOMPARE(wiz.Page(), 2);
        QCOMPARE(QApplication::focusWidget(), wiz.lstFiles);
        QTest::keyClick(wiz.lstFiles, Qt::Key_Return); // no file chosen: Next is disabled
        QCOMPARE(wiz.Page(), 2);
        QTest::keyClick(wiz.lstFiles, Qt::Key_Space); // picks the current row
        QVERIFY(wiz.cmdNext->isEnabled());
        QTest::keyClick(wiz.lstFiles, Qt::Key_Return);
        QCOMPARE(wiz.Page(), 3);
        QCOMPARE(QApplication::focusWidget(), wiz.optFinal[0]);
        QTest::keyClick(wiz.optFinal[0], Qt::Key_Enter);
        QCOMPARE(names(x.f.state.database), QStringList{"A"});
        QCOMPARE(wiz.Page(), 3);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!wiz.isVisible());
        QCOMPARE(wiz.result(), int(QDialog::Rejected));
        QCOMPARE(names(x.f.state.database), QStringList{"A"});
    }

    // Catches Misc > Import not reaching the wizard over the main window.
    void importThroughTheMenu()
    {
        Fixture x;
        writeSource(kPocket, x.source("a.kvl"), {"A"});
        bool driven = false;
        QTimer::singleShot(0, x.w, [&] {
            auto *wiz = qobject_cast<frmImpWiz *>(QApplication::activeModalWidget());
            if (!wiz)
                return;
            wiz->optDatabaseType[kPocket]->click();
            wiz->cmdNext->click();
            wiz->chooser->start(x.sources.path());
            wiz->cmdNext->click();
            wiz->lstFiles->item(0)->setSelected(true);
            wiz->cmdNext->click();
            wiz->cmdNext->click();
            driven = true;
            wiz->cmdCancel->click();
        });
        x.w->mnuMisc[0]->trigger();
        QVERIFY(driven);
        QCOMPARE(names(x.f.state.database), QStringList{"A"});
        QCOMPARE(x.w->gameListModel()->rowCount(), 1);
        QVERIFY(x.w->mnuMisc[1]->isEnabled());
    }

    // Catches Export acting on an empty catalogue.
    void exportNeedsEntries()
    {
        Fixture x;
        QVERIFY(!x.w->mnuMisc[1]->isEnabled());
        x.w->mnuMisc[1]->trigger();
        x.f.window->commands().exportPocketDatabase();
        QVERIFY(x.f.dialogs.requests.isEmpty());
    }

    void exportThroughTheMenu_data()
    {
        QTest::addColumn<QString>("chosen"); // "" for cancelled
        QTest::addColumn<bool>("written");
        QTest::addColumn<bool>("failed");
        QTest::newRow("written") << "games.kvl" << true << false;
        QTest::newRow("cancelled") << "" << false << false;
        // The write fails: said so, critical, with the path and the reason.
        QTest::newRow("failed") << "missing/games.kvl" << false << true;
    }
    // Catches a wrong dialog, a file not written as the export makes it, and a failure that is
    // not reported (or a cancel that is).
    void exportThroughTheMenu()
    {
        QFETCH(QString, chosen);
        QFETCH(bool, written);
        QFETCH(bool, failed);
        Fixture x;
        x.setCatalogue({"Alpha", "Beta"});
        x.f.state.database.LastDatabase = x.f.path("games.dat");
        QVERIFY(x.w->mnuMisc[1]->isEnabled());
        const QString path = chosen.isEmpty() ? QString() : x.source(chosen);
        x.f.dialogs.files.enqueue(path);
        x.w->mnuMisc[1]->trigger();
        const auto saves = x.f.dialogs.requestsOf(Kind::SaveFile);
        QCOMPARE(saves.size(), 1);
        QCOMPARE(saves.first().file.title, QStringLiteral("Export Database"));
        QCOMPARE(saves.first().file.filter, kPocketFilterText);
        QCOMPARE(saves.first().file.proposedName, x.f.path("games.kvl"));
        QCOMPARE(QFileInfo::exists(path), written);
        if (written)
            QCOMPARE(readFile(path), pocketExportBytes(x.f.state.database));
        const QList<Message> shown = x.f.dialogs.messages();
        if (failed) {
            QCOMPARE(shown.size(), 1);
            QCOMPARE(shown.first().title, QStringLiteral("Can't Export"));
            QCOMPARE(shown.first().icon, MessageIcon::Critical);
            QVERIFY(shown.first().text.startsWith("Unable to write the file.\r\n" + path + "\r\n"));
            QVERIFY(shown.first().text.size() >
                    QString("Unable to write the file.\r\n" + path + "\r\n").size());
        } else {
            QVERIFY(shown.isEmpty());
        }
        QCOMPARE(names(x.f.state.database), (QStringList{"Alpha", "Beta"}));
    }
};

QTEST_MAIN(TestFrmImpWiz)
#include "tst_frmImpWiz.moc"
