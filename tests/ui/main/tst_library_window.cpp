// The library beside the catalogue through the real window: favourites and tags on several
// entries, the Show views with the find text, the play columns sorting, the Run tab's choice
// reaching the emulator, plays counted by a real emulator that runs shorter or longer than a
// quick end, and a second window that records nothing.
#include "TestSupport.h"
#include "WindowFixture.h"

#include "ui/library/frmTags.h"
#include "ui/list/ColumnChooser.h"
#include "ui/list/GameListModel.h"
#include "ui/list/GameListView.h"
#include "ui/main/LibraryCommands.h"
#include "ui/properties/CommandPreview.h"
#include "ui/properties/RunTab.h"
#include "ui/properties/frmProperties.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTest>

using namespace testsupport;

namespace {

const QStringList kNames = {"Alpha", "Bravo", "Charlie", "Delta"};

// A window over four saved entries whose tapes exist, and an emulator (a script that records
// its arguments and then sleeps for `seconds`) as the default.
struct LibraryFixture : WindowFixture
{
    SystemProcessStarter system;
    QString emulator = path(QStringLiteral("bin/emu"));

    explicit LibraryFixture(bool realStarts = false, int seconds = 0)
    {
        writeRecordingEmulator(emulator, QStringLiteral("sleep %1\n").arg(seconds).toUtf8());
        for (const QString &name : kNames)
            touch(path(QStringLiteral("roms/") + name.toLower() + QStringLiteral(".tap")));
        if (realStarts)
            starterInUse = &system;
        open();
        QString roms = path(QStringLiteral("roms/"));
        state.paths.AddSearchPath(PathKind::Rom, roms);
        state.emulators.entries.append({QStringLiteral("Emu"), emulator});
        state.emulators.defaultIndex = 0;
        for (const QString &name : kNames) {
            RomRecord record;
            record.RomName = name;
            record.RomFile = name.toLower() + QStringLiteral(".tap");
            state.database.Add(record);
        }
        dialogs.files.enqueue(path(QStringLiteral("games.dat")));
        window->commands().saveAs();
        window->RefillGameList();
    }

    void select(const QList<int> &rows)
    {
        QItemSelectionModel *selection = window->lstGames->selectionModel();
        window->lstGames->setCurrentIndex(window->gameListModel()->index(rows.first(), 0));
        for (const int row : rows)
            selection->select(window->gameListModel()->index(row, 0),
                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    QStringList shownNames() const
    {
        QStringList names;
        const QAbstractItemModel *list = window->gameListModel();
        for (int row = 0; row < list->rowCount(); ++row)
            names.append(list->index(row, 0).data().toString());
        return names;
    }
    LibraryRow rowOf(const QString &name) const
    {
        return state.library.row(LibraryKey::romFile(name.toLower() + QStringLiteral(".tap")));
    }
    void show(const QString &choice)
    {
        QComboBox *box = window->finder().showChoice();
        box->setCurrentIndex(box->findText(choice));
        window->finder().cboShow_Change();
    }
    // Tags ticked (+), unticked (-) or left partly ticked for the selected entries.
    void tag(const QList<int> &rows, const QStringList &changes)
    {
        select(rows);
        QList<QStringList> tags;
        QList<int> slots;
        for (const int row : rows) {
            slots.append(window->gameListModel()->slotOfRow(row));
            tags.append(state.library.row(LibraryKey::of(state.database.Get(slots.last()))).tags);
        }
        frmTags dialog(state.library.allTags(), tags);
        for (const QString &change : changes) {
            const QString tag = change.mid(1);
            dialog.addTag(tag);
            if (change.startsWith(u'-'))
                dialog.lstTags->findItems(tag, Qt::MatchExactly)
                    .first()
                    ->setCheckState(Qt::Unchecked);
        }
        window->library().applyTags(slots, dialog);
    }
    QStringList received() const { return recordedArguments(emulator); }
};

} // namespace

class tst_LibraryWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void favouritesTagsAndShowViews();
    void playColumnsSort();
    void runTabChoiceReachesTheEmulator();
    void playsCounted_data();
    void playsCounted();
    void secondWindowRecordsNothing();
};

// Catches a favourite or tag landing on one entry of several, a partly ticked tag taken from the
// entries that had it, and Show views that ignore the find text or the library.
void tst_LibraryWindow::favouritesTagsAndShowViews()
{
    LibraryFixture f;
    f.select({0, 2});
    f.window->mnuRoms[Menu::RomsFavourite]->trigger();
    QVERIFY(f.rowOf("Alpha").favourite && f.rowOf("Charlie").favourite);
    QVERIFY(!f.rowOf("Bravo").favourite);
    QVERIFY(f.window->mnuRoms[Menu::RomsFavourite]->isChecked());

    f.tag({0, 1}, {"+arcade"});
    f.tag({1, 2}, {"+puzzle"});
    f.tag({0, 1, 2}, {"-puzzle"}); // arcade stays partly ticked: Alpha and Bravo keep it
    QCOMPARE(f.rowOf("Alpha").tags, QStringList{"arcade"});
    QCOMPARE(f.rowOf("Bravo").tags, QStringList{"arcade"});
    QCOMPARE(f.rowOf("Charlie").tags, QStringList{});

    f.show(QStringLiteral("Favourites"));
    QCOMPARE(f.shownNames(), (QStringList{"Alpha", "Charlie"}));
    f.window->txtFilter->setText(QStringLiteral("char"));
    QCOMPARE(f.shownNames(), QStringList{"Charlie"});
    QCOMPARE(f.window->lblEntries->text(), QStringLiteral("1 of 4 entries"));
    f.window->txtFilter->clear();
    f.show(QStringLiteral("Tag: arcade"));
    QCOMPARE(f.shownNames(), (QStringList{"Alpha", "Bravo"}));
    f.show(QStringLiteral("Never played"));
    QCOMPARE(f.shownNames(), kNames);

    QVERIFY(f.state.library.recordStart(LibraryKey::romFile("delta.tap"), 1000).ok);
    QVERIFY(
        f.state.library
            .recordStart(LibraryKey::romFile("bravo.tap"), QDateTime::currentSecsSinceEpoch() - 60)
            .ok);
    QVERIFY(f.state.library
                .recordStart(LibraryKey::romFile("alpha.tap"),
                             QDateTime::currentSecsSinceEpoch() - 3600)
                .ok);
    f.window->RefillGameList();
    QCOMPARE(f.shownNames(), QStringList{"Charlie"});
    f.show(QStringLiteral("Recently played")); // Delta's play is older than 30 days
    QCOMPARE(f.shownNames(), (QStringList{"Bravo", "Alpha"}));
}

// Catches play columns that show nothing, sort by another column, or keep an old order once
// the plays change.
void tst_LibraryWindow::playColumnsSort()
{
    LibraryFixture f;
    for (const auto &[name, plays] : {std::pair{"bravo.tap", 3}, {"delta.tap", 1}}) {
        for (int i = 0; i < plays; ++i)
            QVERIFY(f.state.library.recordStart(LibraryKey::romFile(name), 1000 + i).ok);
    }
    QMenu *menu = f.window->columns().menu();
    menu->findChild<QAction *>(QStringLiteral("mnuColumn_plays"))->trigger();
    menu->findChild<QAction *>(QStringLiteral("mnuColumn_favourite"))->trigger();
    f.window->RefillGameList();
    const QAbstractItemModel *list = f.window->gameListModel();
    QCOMPARE(list->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Favourite"));
    QCOMPARE(list->headerData(4, Qt::Horizontal).toString(), QStringLiteral("Times played"));
    QCOMPARE(list->index(1, 4).data().toString(), QStringLiteral("3"));

    QHeaderView *header = f.window->lstGames->header();
    header->sectionClicked(4);
    QCOMPARE(f.shownNames(), (QStringList{"Alpha", "Charlie", "Delta", "Bravo"}));
    header->sectionClicked(4);
    QCOMPARE(f.shownNames(), (QStringList{"Bravo", "Delta", "Alpha", "Charlie"}));
    f.select({3});
    f.window->mnuRoms[Menu::RomsFavourite]->trigger();
    header->sectionClicked(3);
    QCOMPARE(f.shownNames().first(), QStringLiteral("Charlie"));
    QCOMPARE(list->index(0, 3).data().toString(), QStringLiteral("\u2605"));
    header->sectionClicked(0);
    QCOMPARE(f.shownNames(), kNames);
}

// Catches a Run tab whose choice is not kept, not taken by Run, or shown otherwise than run.
void tst_LibraryWindow::runTabChoiceReachesTheEmulator()
{
    LibraryFixture f;
    f.state.emulators.entries.append({QStringLiteral("Other"), f.emulator});
    f.state.emulators.entries[1].profile.arguments = QStringLiteral("-x {machine} {file}");
    f.state.emulators.entries[1]
        .profile.machineArguments[machineIndex(SpectrumMachine::Spectrum128)] =
        QStringLiteral("-m128");
    f.select({1});
    {
        frmProperties properties(f.state, f.dialogs, *f.window, f.window->pictures(), false,
                                 f.window.get());
        RunTab *run = properties.runTab;
        run->cboEmulator->setCurrentIndex(run->cboEmulator->findText(QStringLiteral("Other")));
        run->cboMachine->setCurrentIndex(run->cboMachine->findText(QStringLiteral("128K")));
        run->txtArguments->setText(QStringLiteral("--fast \"two words\""));
        QVERIFY(run->preview->text().startsWith(f.emulator + QStringLiteral(" -x -m128 ")));
        properties.cmdOK_Click();
    }
    QCOMPARE(f.rowOf("Bravo").run, (EntryRunChoice{"Other", "128", "--fast \"two words\""}));
    f.window->lstGames_DblClick();
    QCOMPARE(f.starter.starts.size(), 1);
    QCOMPARE(f.starter.starts.first().arguments,
             (QStringList{"-x", "-m128", f.path("roms/bravo.tap"), "--fast", "two words"}));
    QCOMPARE(f.rowOf("Bravo").plays, 1);
}

// Catches a start not counted, a quick end adding time, and a long run adding none.
void tst_LibraryWindow::playsCounted_data()
{
    QTest::addColumn<int>("seconds");
    QTest::addColumn<bool>("timeAdded");
    QTest::newRow("ends two seconds before a quick end counts") << 3 << false;
    QTest::newRow("ends two seconds after") << 7 << true;
}

void tst_LibraryWindow::playsCounted()
{
    QFETCH(int, seconds);
    QFETCH(bool, timeAdded);
    LibraryFixture f(true, seconds);
    f.state.layout.ViewMode = 4; // the details pane shows
    f.window->ArrangePanes();
    bool ended = false;
    connect(&f.window->launcher(), &EntryLauncher::programEnded, this, [&] { ended = true; });
    f.select({0});
    f.window->lstGames_DblClick();
    QCOMPARE(f.received(), QStringList{f.path("roms/alpha.tap")});
    QCOMPARE(f.rowOf("Alpha").plays, 1); // counted at the start
    QTRY_VERIFY_WITH_TIMEOUT(ended, (seconds + 10) * 1000);
    QCOMPARE(f.rowOf("Alpha").secondsPlayed >= seconds, timeAdded);
    QCOMPARE(f.rowOf("Alpha").secondsPlayed == 0, !timeAdded);
    QCOMPARE(f.rowOf("Alpha").plays, 1);
    QVERIFY2(f.window->infoText().contains(QStringLiteral("\r\nPlayed once, last on ")),
             qPrintable(f.window->infoText()));
}

// Catches a second window that writes to the library, or does not say it records nothing.
void tst_LibraryWindow::secondWindowRecordsNothing()
{
    LibraryFixture f;
    f.select({0});
    f.window->mnuRoms[Menu::RomsFavourite]->trigger();
    const QString library = Library::pathFor(f.path("games.dat"));
    const QByteArray before = readFile(library);

    WindowFixture second;
    writeFile(second.path("kivo.ini"),
              "[kivo]\r\nloadlast=1\r\nlastdb=" + f.path("games.dat").toUtf8() + "\r\n");
    second.open();
    QVERIFY(second.state.library.isReadOnly());
    QVERIFY(second.window->lblLibrary->text().contains(QStringLiteral("not recorded")));
    QVERIFY(second.state.library.row(LibraryKey::romFile("alpha.tap")).favourite);
    second.window->lstGames->setCurrentIndex(second.window->gameListModel()->index(1, 0));
    second.window->mnuRoms[Menu::RomsFavourite]->trigger();
    second.window->lstGames_DblClick();
    QCOMPARE(readFile(library), before);
    QVERIFY(!second.state.library.row(LibraryKey::romFile("bravo.tap")).favourite);
}

QTEST_MAIN(tst_LibraryWindow)
#include "tst_library_window.moc"
